# Helpers shared by every folder's CMakeLists.txt.

# Our own code compiles without a single warning.
function(kel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()

# Native test configuration: AddressSanitizer and UBSan, every finding fatal.
function(kel_sanitize target)
  if(NOT KEL_WINDOWS)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all
                                             -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# A library of our own code. In the native build it exists twice: <name> with sanitizers, for
# tests, tools and fuzz targets, and <name>_opt optimised without them, for the benchmarks.
# Dependencies given with LINKS follow the same split.
function(kel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LINKS;PUBLIC_LINKS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  # Headers are included by their path from the source root, which the installed package
  # reproduces under include/kelskin.
  target_include_directories(${name} PUBLIC $<BUILD_INTERFACE:${KEL_ROOT}>
                                            $<INSTALL_INTERFACE:include/kelskin>)
  target_compile_features(${name} PUBLIC cxx_std_17)
  kel_warnings(${name})
  target_link_libraries(${name} PUBLIC ${ARG_LINKS} ${ARG_PUBLIC_LINKS})
  if(NOT KEL_WINDOWS)
    kel_sanitize(${name})
    add_library(${name}_opt STATIC ${ARG_SOURCES})
    target_include_directories(${name}_opt PUBLIC ${KEL_ROOT})
    kel_warnings(${name}_opt)
    target_compile_options(${name}_opt PRIVATE -O2)
    set(opt_links)
    foreach(l ${ARG_LINKS})
      list(APPEND opt_links ${l}_opt)
    endforeach()
    target_link_libraries(${name}_opt PUBLIC ${opt_links} ${ARG_PUBLIC_LINKS})
  endif()
endfunction()

# A program of our own. Windows programs link the C++ runtime statically so each .exe is one file.
function(kel_executable name)
  cmake_parse_arguments(ARG "GUI;OPTIMISED" "" "SOURCES;LINKS" ${ARGN})
  if(ARG_GUI AND KEL_WINDOWS)
    add_executable(${name} WIN32 ${ARG_SOURCES})
  else()
    add_executable(${name} ${ARG_SOURCES})
  endif()
  kel_warnings(${name})
  target_include_directories(${name} PRIVATE ${KEL_ROOT})
  if(KEL_WINDOWS)
    target_link_options(${name} PRIVATE -static)
    target_link_libraries(${name} PRIVATE ${ARG_LINKS})
  elseif(ARG_OPTIMISED)
    target_compile_options(${name} PRIVATE -O2)
    set(opt_links)
    foreach(l ${ARG_LINKS})
      if(TARGET ${l}_opt)
        list(APPEND opt_links ${l}_opt)
      else()
        list(APPEND opt_links ${l})
      endif()
    endforeach()
    target_link_libraries(${name} PRIVATE ${opt_links})
  else()
    kel_sanitize(${name})
    target_link_libraries(${name} PRIVATE ${ARG_LINKS})
  endif()
endfunction()

# A program users run (skintool and any tool to come). It is always an optimised release build;
# in the native build it also gets a twin <name>_sanitized with AddressSanitizer and UBSan, which
# tests run instead, and is listed in KEL_USER_PROGRAMS, whose members a test checks for any
# sanitizer runtime.
function(kel_user_program name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LINKS" ${ARGN})
  set(gui)
  if(ARG_GUI)
    set(gui GUI)
  endif()
  kel_executable(${name} ${gui} OPTIMISED SOURCES ${ARG_SOURCES} LINKS ${ARG_LINKS})
  if(NOT KEL_WINDOWS)
    kel_executable(${name}_sanitized ${gui} SOURCES ${ARG_SOURCES} LINKS ${ARG_LINKS})
    set_property(GLOBAL APPEND PROPERTY KEL_USER_PROGRAMS ${name})
  endif()
endfunction()

# A GoogleTest program registered as one CTest test (run under Wine in the Windows build).
# Without OWN_MAIN it links GoogleTest's main.
function(kel_test name)
  cmake_parse_arguments(ARG "OWN_MAIN" "" "SOURCES;LINKS" ${ARGN})
  set(main gtest_main)
  if(ARG_OWN_MAIN)
    set(main)
  endif()
  kel_executable(${name} SOURCES ${ARG_SOURCES} LINKS ${ARG_LINKS} ${main} gtest gmock)
  if(KEL_WINDOWS)
    add_test(NAME win.${name} COMMAND ${name})
    # The Windows tests share one screen, keyboard focus and pointer: one at a time; the native
    # tests run beside them.
    set_tests_properties(win.${name} PROPERTIES TIMEOUT 300 RESOURCE_LOCK desktop)
  else()
    add_test(NAME native.${name} COMMAND ${name})
    set_tests_properties(native.${name} PROPERTIES TIMEOUT 300)
  endif()
endfunction()

# Adds the program's Windows resources (.rc files) to a Windows target; the artwork folder, the
# resources folder and the source root (for headers of resource numbers) are on the resource
# compiler's include path.
function(kel_resources target)
  if(KEL_WINDOWS)
    target_sources(${target} PRIVATE ${ARGN})
    set_property(SOURCE ${ARGN} APPEND PROPERTY INCLUDE_DIRECTORIES ${KEL_ARTWORK_DIR}
                 ${KEL_ROOT}/resources ${KEL_ROOT})
  endif()
endfunction()
