# Helpers that every subsystem folder uses to declare its libraries and tests.
#
# Every target names its source files: no source globs. A file reaches a
# library only when someone wrote it into that library's list, so test
# equipment or a stray file cannot slip into what is installed, and the list
# shows a reader what the target holds. (torvan_add_subdirs finds a layer's
# unit folders, and ui/ lays out whatever data files it holds; neither
# compiles anything.)

# torvan_library(NAME SOURCES ... [DEPS ...] [TEST_EQUIPMENT] [STATIC])
# A shared library whose headers are included from the project root
# ("platform/system/clock.h"). TEST_EQUIPMENT libraries (the virtual drive, the
# toolkit's test driver) are never installed with the program. STATIC makes a
# static library instead, for test equipment that carries GoogleTest: a shared
# library would hold a second copy of GoogleTest beside the executable's, and
# the two would destroy the same flags at exit.
function(torvan_library name)
  cmake_parse_arguments(ARG "TEST_EQUIPMENT;STATIC" "" "SOURCES;DEPS;PRIVATE_DEPS" ${ARGN})
  if(ARG_STATIC)
    add_library(${name} STATIC ${ARG_SOURCES})
  else()
    add_library(${name} ${ARG_SOURCES})
  endif()
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  torvan_use_library_pch(${name})
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
  if(ARG_PRIVATE_DEPS)
    target_link_libraries(${name} PRIVATE ${ARG_PRIVATE_DEPS})
  endif()
  # Libraries sit beside the program in bin/ of the run-time tree.
  if(ARG_TEST_EQUIPMENT)
    set_property(GLOBAL APPEND PROPERTY TORVAN_TEST_EQUIPMENT ${name})
  else()
    install(TARGETS ${name} LIBRARY DESTINATION bin)
  endif()
endfunction()

# The standard headers that most sources include. Parsing them costs about
# 2 s of every compile (more than most files' own code), so each build
# precompiles them once for the libraries and once for the tests.
set(TORVAN_STD_PCH_HEADERS
  <algorithm> <array> <cmath> <cstdint> <cstdlib> <cstring> <filesystem> <functional>
  <map> <memory> <optional> <string> <string_view> <vector>)

# The folders whose code works on the toolkit's widgets, the parameter base
# and the main object. Their sources nearly all include those three headers
# (and their tests the virtual drive and the test driver), whose parsing
# costs more than the standard headers; their targets precompile them too.
set(TORVAN_WINDOW_LAYERS app devicewin families paratools motor/ident motor/tuning)
set(TORVAN_WINDOW_PCH_HEADERS
  ${PROJECT_SOURCE_DIR}/toolkit/core/gw_core.h
  ${PROJECT_SOURCE_DIR}/parameters/parabase/para_base.h
  ${PROJECT_SOURCE_DIR}/app/main/main_object.h)
set(TORVAN_WINDOW_TEST_PCH_HEADERS
  ${PROJECT_SOURCE_DIR}/sim/virtual_drive.h
  ${PROJECT_SOURCE_DIR}/toolkit/testdriver/gw_test_driver.h)

# Sets OUT to "window" when the folder being read lies in a window layer, else
# to "".
function(torvan_pch_flavour out)
  file(RELATIVE_PATH folder ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  foreach(layer ${TORVAN_WINDOW_LAYERS})
    if(folder STREQUAL layer OR folder MATCHES "^${layer}/")
      set(${out} window PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${out} "" PARENT_SCOPE)
endfunction()

# torvan_use_library_pch(TARGET)
# Libraries (shared, and the static fixture libraries) are compiled
# position-independent with the same flags, so one precompiled header made in
# an object library of its own serves all libraries of a flavour. The host is
# an object library because a shared one would define its own NAME_EXPORTS
# macro, which every user of the header would then differ in.
function(torvan_use_library_pch target)
  torvan_pch_flavour(flavour)
  set(host torvan_library_pch${flavour})
  if(NOT TARGET ${host})
    set(source ${PROJECT_BINARY_DIR}/${host}.cpp)
    file(CONFIGURE OUTPUT ${source}
         CONTENT "// Holds the headers that the libraries precompile.\n")
    add_library(${host} OBJECT ${source})
    set_target_properties(${host} PROPERTIES POSITION_INDEPENDENT_CODE ON)
    target_include_directories(${host} PRIVATE ${PROJECT_SOURCE_DIR})
    set(headers ${TORVAN_STD_PCH_HEADERS})
    if(flavour STREQUAL window)
      list(APPEND headers ${TORVAN_WINDOW_PCH_HEADERS})
    endif()
    target_precompile_headers(${host} PRIVATE ${headers})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${host})
endfunction()

# torvan_use_test_pch(TARGET)
# GoogleTest's header and the standard headers most tests include cost about
# 3 s per test file; they are precompiled once, in an executable of their own
# (tests are position-independent executables, and a precompiled header only
# serves code compiled with the same flags), and every test and fuzz replay
# executable of a flavour reuses that header.
function(torvan_use_test_pch target)
  torvan_pch_flavour(flavour)
  set(host torvan_test_pch${flavour})
  if(NOT TARGET ${host})
    add_executable(${host} ${PROJECT_SOURCE_DIR}/testsupport/test_pch.cpp)
    target_include_directories(${host} PRIVATE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${host} PRIVATE GTest::gtest)
    set(headers <gtest/gtest.h> ${TORVAN_STD_PCH_HEADERS})
    if(flavour STREQUAL window)
      list(APPEND headers ${TORVAN_WINDOW_PCH_HEADERS} ${TORVAN_WINDOW_TEST_PCH_HEADERS})
    endif()
    target_precompile_headers(${host} PRIVATE ${headers})
  endif()
  target_precompile_headers(${target} REUSE_FROM ${host})
endfunction()

# torvan_collect_test(TARGET)
# Every test executable is a dependency of the target torvan_tests. Without
# TORVAN_TESTS_IN_ALL (the release preset) only that target builds them, so
# building the program and installing it costs no test compile.
function(torvan_collect_test target)
  if(NOT TARGET torvan_tests)
    add_custom_target(torvan_tests)
  endif()
  add_dependencies(torvan_tests ${target})
  if(NOT TORVAN_TESTS_IN_ALL)
    set_target_properties(${target} PROPERTIES EXCLUDE_FROM_ALL ON)
  endif()
endfunction()

# torvan_test_fixture(NAME SOURCES ... [DEPS ...])
# Test code that several test executables share (fixtures and their helpers),
# compiled once into a static library that only tests link. GoogleTest reaches
# it through the shared test main, which every test lists before its fixture
# libraries; the fixture library adds no copy of its own. Nothing builds it
# unless a test that links it is built.
function(torvan_test_fixture name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT TORVAN_TESTS)
    return()
  endif()
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  torvan_use_library_pch(${name})
  target_link_libraries(${name} PUBLIC torvan_testmain ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
endfunction()

# torvan_test(NAME SOURCES ... [DEPS ...] [THREADED])
# One GoogleTest executable, run by CTest as one entry. It links the shared
# test main, which gives the process its own run-time tree, resets the shared
# state between tests and fails a test that runs longer than a minute.
# THREADED marks tests that also run in the ThreadSanitizer preset.
function(torvan_test name)
  cmake_parse_arguments(ARG "THREADED" "" "SOURCES;DEPS" ${ARGN})
  if(NOT TORVAN_TESTS)
    return()
  endif()
  if(TORVAN_THREADED_ONLY AND NOT ARG_THREADED)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE torvan_testmain ${ARG_DEPS} GTest::gtest GTest::gmock)
  torvan_use_test_pch(${name})
  torvan_collect_test(${name})
  add_test(NAME ${name}
           COMMAND ${name} --gtest_output=xml:${PROJECT_BINARY_DIR}/test-results/${name}.xml)
  set_tests_properties(${name} PROPERTIES TIMEOUT 600)
  if(ARG_THREADED)
    set_tests_properties(${name} PROPERTIES LABELS threaded)
  endif()
endfunction()

# torvan_fuzz(NAME SOURCE file.cpp CORPUS dir [DEPS ...])
# A fuzz target (a file defining LLVMFuzzerTestOneInput). In the normal builds
# it is linked into a replay test that feeds it every file of its seed corpus;
# with TORVAN_FUZZ (clang) it also becomes a libFuzzer executable.
function(torvan_fuzz name)
  cmake_parse_arguments(ARG "" "SOURCE;CORPUS" "DEPS" ${ARGN})
  if(TORVAN_FUZZ)
    add_executable(${name}_fuzzer ${ARG_SOURCE})
    target_compile_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_options(${name}_fuzzer PRIVATE -fsanitize=fuzzer)
    target_link_libraries(${name}_fuzzer PRIVATE ${ARG_DEPS})
    set_property(GLOBAL APPEND PROPERTY TORVAN_FUZZERS
                 "${name}_fuzzer=${CMAKE_CURRENT_SOURCE_DIR}/${ARG_CORPUS}")
  endif()
  if(NOT TORVAN_TESTS OR TORVAN_THREADED_ONLY)
    return()
  endif()
  # The replay test is compiled once for every replay; each replay names its
  # corpus in a one-line source of its own.
  if(NOT TARGET torvan_fuzz_replay)
    add_library(torvan_fuzz_replay OBJECT ${PROJECT_SOURCE_DIR}/testsupport/fuzz_replay.cpp)
    target_link_libraries(torvan_fuzz_replay PUBLIC torvan_testmain GTest::gtest)
    if(NOT TORVAN_TESTS_IN_ALL)
      set_target_properties(torvan_fuzz_replay PROPERTIES EXCLUDE_FROM_ALL ON)
    endif()
  endif()
  set(corpus_source ${CMAKE_CURRENT_BINARY_DIR}/${name}_corpus.cpp)
  file(CONFIGURE OUTPUT ${corpus_source}
       CONTENT "extern const char kFuzzCorpus[] = \"${CMAKE_CURRENT_SOURCE_DIR}/${ARG_CORPUS}\";\n")
  add_executable(${name}_replay ${ARG_SOURCE} ${corpus_source} $<TARGET_OBJECTS:torvan_fuzz_replay>)
  target_link_libraries(${name}_replay PRIVATE torvan_testmain ${ARG_DEPS} GTest::gtest)
  torvan_use_test_pch(${name}_replay)
  set_source_files_properties(${corpus_source} PROPERTIES SKIP_PRECOMPILE_HEADERS ON)
  torvan_collect_test(${name}_replay)
  add_test(NAME ${name}_replay
           COMMAND ${name}_replay --gtest_output=xml:${PROJECT_BINARY_DIR}/test-results/${name}_replay.xml)
  set_tests_properties(${name}_replay PROPERTIES TIMEOUT 600)
endfunction()

# torvan_bench(NAME SOURCES ... [DEPS ...])
function(torvan_bench name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  if(NOT TORVAN_BENCH)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
  set_property(GLOBAL APPEND PROPERTY TORVAN_BENCHMARKS ${name})
endfunction()

# Adds every immediate subfolder that has a CMakeLists.txt, in name order, so
# units of one layer can grow side by side without editing a shared list.
macro(torvan_add_subdirs)
  file(GLOB _torvan_children RELATIVE ${CMAKE_CURRENT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR}/*)
  list(SORT _torvan_children)
  foreach(_child ${_torvan_children})
    if(IS_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/${_child}
       AND EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${_child}/CMakeLists.txt)
      add_subdirectory(${_child})
    endif()
  endforeach()
endmacro()
