# trotix_add_test(NAME name SOURCES a.cpp b.cpp LIBS lib1 lib2)
# One GoogleTest executable registered with CTest; the test runs in its own build folder.
# Test code builds at -O1: it checks behaviour, the benches check speed, and the test sources,
# heavy with templates, build twice as fast. The code under test keeps its own flags.
function(trotix_test_flags TARGET)
  target_compile_options(${TARGET} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-O1>)
endfunction()

function(trotix_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  trotix_test_flags(${T_NAME})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_compile_definitions(${T_NAME} PRIVATE
    TROTIX_TEST_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
  add_test(NAME ${T_NAME} COMMAND ${T_NAME})
  set_tests_properties(${T_NAME} PROPERTIES TIMEOUT 300)
endfunction()

# The long tests start first: a fresh build folder has no timings for ctest to order by, and the
# longest, listed late, would run on alone at the end.
function(trotix_start_first)
  set_tests_properties(${ARGN} PROPERTIES COST 1000)
endfunction()
