include(GoogleTest)

# orvale_add_test(<name> SOURCES ... LIBS ... [LABELS ...])
# One GoogleTest executable per area; every test runs headless. The label "engine"
# marks the suites that test.sh also runs under the sanitizers.
function(orvale_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE ORVALE_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data")
  # An empty LABELS value would swallow the next property name, so pass it only when set.
  set(label_properties)
  if(ARG_LABELS)
    set(label_properties LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    PROPERTIES ${label_properties} ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
