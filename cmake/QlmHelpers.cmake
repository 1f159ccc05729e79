# qlm_test(NAME SOURCES ... LIBS ...): one GoogleTest program = one ctest test.
# In the Windows build ctest runs it through Wine (CMAKE_CROSSCOMPILING_EMULATOR).
function(qlm_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src ${CMAKE_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    ENVIRONMENT "QLM_SOURCE_DIR=${CMAKE_SOURCE_DIR};QLM_BINARY_DIR=${CMAKE_BINARY_DIR}")
endfunction()

# qlm_fuzzer(NAME SOURCES ... LIBS ...): a libFuzzer target of the native clang build.
# Its seed corpus is tests/fuzz/corpus/NAME; scripts/test.sh runs it for a bounded time.
function(qlm_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(QLM_WINDOWS OR NOT QLM_FUZZ OR NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzzers)
endfunction()

# qlm_windows_program(NAME [CONSOLE] SOURCES ... LIBS ...): a Windows program with a wide entry point.
function(qlm_windows_program name)
  cmake_parse_arguments(P "CONSOLE" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${P_SOURCES})
  target_link_libraries(${name} PRIVATE ${P_LIBS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/src)
  if(P_CONSOLE)
    target_link_options(${name} PRIVATE -municode)
  else()
    target_link_options(${name} PRIVATE -municode -mwindows)
  endif()
endfunction()
