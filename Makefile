# Entry points: `make run`, `make test`, `make dist`, `make fuzz`, `make bench`, `make screenshots`.
# Every target first installs what is missing on a fresh Debian machine. A build with nothing
# changed is quick: Ninja builds the trees, CMake configures a tree only when it has none yet or
# this file changed (later the build re-runs it when a CMakeLists.txt changes), and the artwork is
# generated only when its generator changed.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
WIN := build/win
ARTWORK := build/artwork
ARTWORK_STAMP := $(ARTWORK)/.generated
PACKAGE := build/package
EXAMPLE := build/hello-skin
MAKEFLAGS += --no-print-directory

# configure TREE, CMAKE FLAGS: configures TREE and marks it with TREE/.configured. A tree that the
# Makefile generator made earlier is redone for Ninja.
define configure
	@if [ -f $(1)/Makefile ]; then rm -rf $(1)/CMakeCache.txt $(1)/CMakeFiles $(1)/Makefile; fi
	@cmake -S . -B $(1) -G Ninja $(2) >/dev/null
	@touch $(1)/.configured
endef

.PHONY: all deps native artwork win dist package example docs run test fuzz bench screenshots \
	clean format

all: dist

deps:
	@scripts/install-deps.sh

$(NATIVE)/.configured: Makefile | deps
	$(call configure,$(NATIVE),-DCMAKE_BUILD_TYPE=RelWithDebInfo)

native: $(NATIVE)/.configured
	@cmake --build $(NATIVE) -j $(JOBS)

$(ARTWORK_STAMP): $(wildcard tools/artwork/*.py) | deps
	@/usr/bin/python3 tools/artwork/generate.py $(ARTWORK)
	@touch $@

artwork: $(ARTWORK_STAMP)

$(WIN)/.configured: Makefile | deps
	$(call configure,$(WIN),-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release)

win: native artwork $(WIN)/.configured
	@cmake --build $(WIN) -j $(JOBS)

dist: win
	@scripts/layout-dist.sh

# The library installed as a CMake package, and the example program built against it from outside
# the tree (installing copies only what changed, so the example rebuilds only when the library did).
package: win
	@cmake --install $(WIN) --prefix $(PACKAGE) >/dev/null

$(EXAMPLE)/.configured: Makefile | package
	@cmake -S examples/hello-skin -B $(EXAMPLE) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64.cmake \
	  -DCMAKE_PREFIX_PATH=$(CURDIR)/$(PACKAGE) >/dev/null
	@touch $@

example: package $(EXAMPLE)/.configured
	@cmake --build $(EXAMPLE) -j $(JOBS)

# Writes docs/components.md again from the published-property registry.
docs: win
	@scripts/write-component-reference.sh

run: dist
	@scripts/run-launcher.sh

test: dist example
	@scripts/run-tests.sh

fuzz: deps
	@scripts/run-fuzz.sh $(FUZZ_SECONDS)

bench: dist
	@scripts/run-benchmarks.sh

screenshots: dist
	@scripts/gallery-screenshots.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist
