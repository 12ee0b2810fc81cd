# Shared compile settings and small helpers for the programs' CMakeLists.

add_library(suite_options INTERFACE)
target_compile_options(suite_options INTERFACE -Wall -Wextra)
if(SUITE_WERROR)
  target_compile_options(suite_options INTERFACE -Werror)
endif()
if(SUITE_SANITIZE)
  target_compile_options(suite_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                 -fno-sanitize-recover=undefined)
  target_link_options(suite_options INTERFACE -fsanitize=address,undefined)
endif()
if(SUITE_FUZZ)
  # Everything is instrumented for coverage; only the fuzz targets link libFuzzer's main.
  target_compile_options(suite_options INTERFACE -fsanitize=fuzzer-no-link,address,undefined -g)
  target_link_options(suite_options INTERFACE -fsanitize=address,undefined)
endif()

# suite_add_test(NAME SOURCES src... [LIBS lib...] [GUI])
# One GoogleTest executable registered with CTest as one test. GUI tests run on Qt's offscreen
# platform with one QApplication made by their shared main(); every test runs with SDL's dummy audio driver, knows where the shared data is and
# links the shared test helpers (testsupport/).
function(suite_add_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE suite_options suite_testsupport GTest::gtest ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE SUITE_TESTDATA_DIR="${SUITE_TESTDATA_DIR}")
  if(ARG_GUI)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_link_libraries(${name} PRIVATE suite_qt_test_main)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy;SUITE_TESTDATA_DIR=${SUITE_TESTDATA_DIR}"
    TIMEOUT 600)
endfunction()

# suite_add_benchmark(NAME SOURCES src... [LIBS lib...]): a Google Benchmark program in build/bin.
function(suite_add_benchmark name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT SUITE_BENCHMARKS)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE suite_options benchmark::benchmark ${ARG_LIBS})
  target_compile_definitions(${name} PRIVATE SUITE_TESTDATA_DIR="${SUITE_TESTDATA_DIR}")
endfunction()

# suite_add_fuzzer(NAME SOURCES src... [LIBS lib...]): a libFuzzer target, built only with
# -DSUITE_FUZZ=ON and clang. The libraries it links must be built with clang too.
function(suite_add_fuzzer name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT SUITE_FUZZ)
    return()
  endif()
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE suite_options ${ARG_LIBS})
endfunction()
