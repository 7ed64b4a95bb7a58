# wxWidgets as imported targets wx::base, wx::core, wx::gl, from wx-config.
find_program(WX_CONFIG wx-config REQUIRED)
execute_process(COMMAND ${WX_CONFIG} --cxxflags OUTPUT_VARIABLE _wx_cxxflags
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(_wx_cxxflags UNIX_COMMAND "${_wx_cxxflags}")
foreach(_wx_part base core gl)
  execute_process(COMMAND ${WX_CONFIG} --libs ${_wx_part} OUTPUT_VARIABLE _wx_libs
                  OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  separate_arguments(_wx_libs UNIX_COMMAND "${_wx_libs}")
  add_library(wx::${_wx_part} INTERFACE IMPORTED)
  set_target_properties(wx::${_wx_part} PROPERTIES
    INTERFACE_COMPILE_OPTIONS "${_wx_cxxflags}"
    INTERFACE_LINK_LIBRARIES "${_wx_libs}")
endforeach()

# Helpers shared by the subsystem folders.

# tessaron_add_tests(NAME SOURCES... LIBS ...): one GoogleTest executable registered with CTest,
# linked with the test kit (testkit/). Tests run with their own settings folder so that no user
# profile is touched.
function(tessaron_add_tests name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} testkit GTest::gtest GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    TESSARON_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    TESSARON_BINARY_DIR="${PROJECT_BINARY_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "XDG_CONFIG_HOME=${PROJECT_BINARY_DIR}/test-config"
    DISCOVERY_TIMEOUT 60)
endfunction()

# tessaron_add_batch_test(NAME SCRIPT [EXPECT file] [ARGS ...]): runs tessaron-host --batch on a
# script; the script's output is compared with EXPECT when given.
function(tessaron_add_batch_test name script)
  cmake_parse_arguments(T "" "EXPECT" "ARGS" ${ARGN})
  add_test(NAME ${name}
    COMMAND ${CMAKE_COMMAND}
      -DHOST=$<TARGET_FILE:tessaron-host>
      -DSCRIPT=${script}
      -DEXPECT=${T_EXPECT}
      -DARGS=${T_ARGS}
      -DWORKDIR=${PROJECT_BINARY_DIR}/batch/${name}
      -DPLUGINDIR=${PROJECT_BINARY_DIR}/bin
      -DSOURCEDIR=${PROJECT_SOURCE_DIR}
      -P ${PROJECT_SOURCE_DIR}/cmake/RunBatchTest.cmake)
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "XDG_CONFIG_HOME=${PROJECT_BINARY_DIR}/batch/${name}/config")
endfunction()
