# Shared build helpers.

set(KASOVKA_WARNINGS -Wall -Wextra -Wpedantic -Wno-missing-field-initializers)

# kasovka_library(NAME SOURCES ... [DEPS ...])
# A static library of one subsystem; its include root is src/, so headers are
# included as "core/Currency.h", "host/TBFTable.h", ...
function(kasovka_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE ${KASOVKA_WARNINGS})
  target_compile_definitions(${name} PUBLIC QT_NO_KEYWORDS)
  if(ARG_DEPS)
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  endif()
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
endfunction()

# kasovka_executable(NAME SOURCES ... [DEPS ...])
function(kasovka_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${KASOVKA_WARNINGS})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS})
  set_target_properties(${name} PROPERTIES AUTOMOC ON AUTORCC ON)
endfunction()

# kasovka_test(NAME SOURCES ... [DEPS ...] [LABELS ...])
# A GoogleTest executable; each test case becomes one CTest test. The tests
# run from the build tree with the shared test data of the repository's
# sibling folder reachable through KASOVKA_SHARED_TESTDATA.
function(kasovka_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${KASOVKA_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    KASOVKA_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KASOVKA_BINARY_DIR="${PROJECT_BINARY_DIR}"
    KASOVKA_SHARED_TESTDATA="${KASOVKA_SHARED_TESTDATA}")
  set_target_properties(${name} PROPERTIES AUTOMOC ON
    RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/tests)
  set(props ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
  if(ARG_LABELS)
    list(APPEND props LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    TEST_PREFIX "${name}."
    PROPERTIES ${props})
endfunction()

# kasovka_benchmark(NAME SOURCES ... [DEPS ...])
function(kasovka_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${KASOVKA_WARNINGS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/bench)
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} benchmark::benchmark)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
endfunction()

# Real files written by other programs, kept beside the repository.
if(NOT DEFINED KASOVKA_SHARED_TESTDATA)
  get_filename_component(_shared "${PROJECT_SOURCE_DIR}/../shared/testdata" ABSOLUTE)
  set(KASOVKA_SHARED_TESTDATA "${_shared}" CACHE PATH "Folder of shared test files")
endif()
