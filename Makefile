# Entry points: `make run`, `make test`, `make dist`, `make fuzz`, `make bench`.
# Every target first installs what is missing on a fresh Debian machine.
SHELL := /bin/bash
JOBS ?= $(shell nproc)
NATIVE := build/native
WIN := build/win
ARTWORK := build/artwork

.PHONY: all deps native artwork win dist run test fuzz bench clean format

all: dist

deps:
	@scripts/install-deps.sh

native: deps
	@cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

artwork: deps
	@/usr/bin/python3 tools/artwork/generate.py $(ARTWORK)

win: native artwork
	@cmake -S . -B $(WIN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

dist: win
	@scripts/layout-dist.sh

run: dist
	@scripts/run-launcher.sh

test: dist
	@scripts/run-tests.sh

fuzz: deps
	@scripts/run-fuzz.sh $(FUZZ_SECONDS)

bench: dist
	@scripts/run-benchmarks.sh

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build dist
