# Helpers shared by every folder's CMakeLists.

# Where the installed headers go, under the install prefix: a folder of the
# project's own, so that generic names (ZqFile.h, ZqPlatform.h) do not land
# in PREFIX/include itself. Every installed target's include directory.
set(ZQ_INSTALL_INCLUDE_DIR include/zq)

# zq_add_plugin_module(NAME SOURCES ... LIBRARIES ...)
# A plug-in module: its own sources, which declare it (ZQ_DECLARE_MODULE),
# and the frame's load-time entry, built as plugins/NAME.so (no "lib"
# prefix), as the host expects. The sources are compiled once, into the
# object library NAME_objects, which the module's tests link as well.
function(zq_add_plugin_module name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_library(${name}_objects OBJECT ${ARG_SOURCES})
  target_include_directories(${name}_objects PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name}_objects PUBLIC ZqFrame ${ARG_LIBRARIES})
  add_library(${name} MODULE)
  target_link_libraries(${name} PRIVATE ${name}_objects ZqModuleEntry)
  if(NOT WIN32)
    # The entry points only: template code the module instantiates from the
    # standard library would otherwise be exported beside them.
    set(exports ${PROJECT_SOURCE_DIR}/frame/PluginModuleExports.map)
    target_link_options(${name} PRIVATE "LINKER:--version-script=${exports}")
    set_property(TARGET ${name} APPEND PROPERTY LINK_DEPENDS ${exports})
  endif()
  set_target_properties(${name} PROPERTIES
    PREFIX ""
    INSTALL_RPATH "\$ORIGIN/../.." # installed in lib/zq/plugins, beside lib/
    LIBRARY_OUTPUT_DIRECTORY ${ZQ_PLUGIN_OUTPUT_DIRECTORY}
    RUNTIME_OUTPUT_DIRECTORY ${ZQ_PLUGIN_OUTPUT_DIRECTORY})
endfunction()

# zq_add_module_test(NAME MODULE module SOURCES ... LIBRARIES ...)
# A test program for a plug-in module: the module's objects and the frame's
# entry are linked in, as in the module, so their load-time setup runs when
# the test program starts and the module's headers are on the include path.
function(zq_add_module_test name)
  cmake_parse_arguments(ARG "" "MODULE" "SOURCES;LIBRARIES" ${ARGN})
  zq_add_test(${name}
    SOURCES ${ARG_SOURCES}
    LIBRARIES ${ARG_MODULE}_objects ZqModuleEntry ${ARG_LIBRARIES})
endfunction()

# zq_add_test(NAME SOURCES ... LIBRARIES ...)
# One GoogleTest program with the shared test support, registered with CTest
# as one test.
function(zq_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBRARIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE GTest::gtest GTest::gtest_main ZqTestSupport
                                        ${ARG_LIBRARIES})
  target_compile_definitions(${name} PRIVATE ZQ_BUILD_DIR="${CMAKE_BINARY_DIR}"
                                             ZQ_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  zq_test_environment(${name})
endfunction()

# The settings qemu-i386 needs for 32-bit programs, NAME=value lines.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  file(STRINGS ${CMAKE_SOURCE_DIR}/cmake/qemu-i386.env ZQ_EMULATOR_ENVIRONMENT
       REGEX "^[A-Z_]+=")
endif()

# zq_test_environment(TEST)
# The one place the tests' run-time settings are kept, for every test: in a
# 32-bit build, qemu's; with the sanitizers, report leaks and stop at the
# first finding with a stack trace.
function(zq_test_environment test)
  set(environment ${ZQ_EMULATOR_ENVIRONMENT})
  if(ZQ_SANITIZE OR ZQ_FUZZ)
    list(APPEND environment ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
                            UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1)
  endif()
  if(environment)
    set_tests_properties(${test} PROPERTIES ENVIRONMENT "${environment}")
  endif()
endfunction()
