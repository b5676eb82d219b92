# Shared compile settings for our own code: standard, warnings as errors, strict Qt defines.
add_library(qev_settings INTERFACE)
target_compile_features(qev_settings INTERFACE cxx_std_20)
target_compile_options(qev_settings INTERFACE
  -Wall -Wextra -Wpedantic -Werror -Wno-error=deprecated-declarations)
target_compile_definitions(qev_settings INTERFACE
  QT_NO_CAST_FROM_ASCII
  QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
  QT_NO_URL_CAST_FROM_STRING
  QT_USE_QSTRINGBUILDER
  QEV_VERSION="${PROJECT_VERSION}"
  QEV_SOURCE_DIR="${PROJECT_SOURCE_DIR}")

if(QEV_SANITIZE)
  set(_qev_san -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${_qev_san})
  add_link_options(${_qev_san})
endif()

if(QEV_FUZZ)
  # Libraries carry libFuzzer's coverage hooks; only the fuzz targets link its main.
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

# qev_add_library(name SOURCES ... LIBS ...): one library target per folder.
function(qev_add_library name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;PRIVATE_LIBS" ${ARGN})
  add_library(${name} STATIC ${A_SOURCES})
  target_link_libraries(${name} PUBLIC qev_settings ${A_LIBS} PRIVATE ${A_PRIVATE_LIBS})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
endfunction()

# qev_add_test(name SOURCES ... LIBS ... [TIMEOUT s]): one QtTest program, registered with CTest.
function(qev_add_test name)
  cmake_parse_arguments(A "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE qev_settings Qt6::Test ${A_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT A_TIMEOUT)
    set(A_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${A_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;QEV_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endfunction()

# qev_add_fuzz(name SOURCE file LIBS ...): a libFuzzer target under clang with QEV_FUZZ, else a
# replay program that feeds every file of fuzz/corpus/<name> to the same entry point (run by CTest).
function(qev_add_fuzz name)
  cmake_parse_arguments(A "" "SOURCE" "LIBS" ${ARGN})
  if(QEV_FUZZ)
    add_executable(${name} ${A_SOURCE})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
    target_link_libraries(${name} PRIVATE qev_settings ${A_LIBS})
  elseif(QEV_TESTS)
    add_executable(${name}_replay ${A_SOURCE} ${PROJECT_SOURCE_DIR}/fuzz/replay_main.cpp)
    target_link_libraries(${name}_replay PRIVATE qev_settings Qt6::Core ${A_LIBS})
    add_test(NAME ${name}_replay COMMAND ${name}_replay ${PROJECT_SOURCE_DIR}/fuzz/corpus/${name})
    set_tests_properties(${name}_replay PROPERTIES TIMEOUT 300
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp")
  endif()
endfunction()

# qev_add_bench(name SOURCES ... LIBS ...): a Google Benchmark program (not run by CTest).
function(qev_add_bench name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  find_package(benchmark REQUIRED)
  add_executable(${name} ${A_SOURCES})
  target_link_libraries(${name} PRIVATE qev_settings benchmark::benchmark ${A_LIBS})
endfunction()
