# orv_add_test(NAME name SOURCES ... LIBS ...): one GoogleTest program whose cases ctest lists one by
# one. Windows test programs run through the Wine loader (CMAKE_CROSSCOMPILING_EMULATOR), which
# scripts/test.sh points at the project's own prefix.
function(orv_add_test)
  cmake_parse_arguments(T "" "NAME" "SOURCES;LIBS" ${ARGN})
  add_executable(${T_NAME} ${T_SOURCES})
  target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(WIN32)
    set_target_properties(${T_NAME} PROPERTIES WIN32_EXECUTABLE OFF)
  endif()
  gtest_discover_tests(${T_NAME}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES TIMEOUT 120 SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endfunction()
