# `cmake --install build --prefix P`: programs in P/bin, libraries in P/lib,
# plug-in modules in P/lib/zq/plugins, the reader's headers in P/include/zq, a
# CMake package so that other projects can use RadiantLoad::RadiantLoad, and a
# pkg-config file, radiantload.pc, for builds without CMake.
include(CMakePackageConfigHelpers)

set(ZQ_INSTALL_PLUGIN_DIR lib/zq/plugins)
set(ZQ_INSTALL_PACKAGE_DIR lib/cmake/RadiantLoad)
set(ZQ_INSTALL_PKGCONFIG_DIR lib/pkgconfig)

# The shared libraries installed in lib/. On Linux each is versioned after the
# project: libRadiantLoad.so.1.0, SONAME libRadiantLoad.so.1 (the major
# version, as the CMake package's SameMajorVersion rule), and the
# libRadiantLoad.so link to build against. The Windows DLLs keep the engine's
# names (RadiantLoad.dll); the plug-in modules are loaded by path and have none.
set(ZQ_INSTALLED_LIBRARIES RadiantLoad ZqMain ZqSystem ZqPlatform ZqPluginToolkit
                           ZqStandardSharedData ZqAnimation ZqOptimization)
if(NOT WIN32)
  set_target_properties(${ZQ_INSTALLED_LIBRARIES} PROPERTIES
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
endif()

# The reader and the stand-ins it needs, as one exported set.
install(TARGETS RadiantLoad ZqMain ZqSystem ZqPlatform EXPORT RadiantLoadTargets
        RUNTIME DESTINATION bin LIBRARY DESTINATION lib ARCHIVE DESTINATION lib)
install(TARGETS ZqPluginToolkit ZqStandardSharedData ZqAnimation ZqOptimization
        RUNTIME DESTINATION bin LIBRARY DESTINATION lib ARCHIVE DESTINATION lib)
install(TARGETS CullSweep ImageTally MotionLens RetiredStubs ZqExporters
        LIBRARY DESTINATION ${ZQ_INSTALL_PLUGIN_DIR})
install(TARGETS zqhost RUNTIME DESTINATION bin)
if(TARGET zqhdr)
  install(TARGETS zqhdr RUNTIME DESTINATION bin)
endif()

# What `#include "ZqHDRReader.h"` reaches, and nothing more.
install(FILES
  radiantload/ZqHDRReader.h radiantload/RadiantLoadApi.h
  interfaces/ZqApi.h interfaces/platform/ZqPlatform.h
  interfaces/ZqSystem/ZqFile.h interfaces/ZqSystem/ZqBinaryStream.h
  interfaces/ZqMain/ZqImageReader.h interfaces/ZqMain/ZqPixelData.h
  interfaces/ZqMain/ZqPixelFormat.h interfaces/ZqMain/ZqPalette.h
  interfaces/ZqMain/ZqObject.h interfaces/ZqMain/ZqRTTI.h interfaces/ZqMain/ZqRefObject.h
  interfaces/ZqMain/ZqPointer.h
  DESTINATION ${ZQ_INSTALL_INCLUDE_DIR})

install(EXPORT RadiantLoadTargets NAMESPACE RadiantLoad:: DESTINATION ${ZQ_INSTALL_PACKAGE_DIR})
file(WRITE ${CMAKE_BINARY_DIR}/RadiantLoadConfig.cmake
     "include(\"\${CMAKE_CURRENT_LIST_DIR}/RadiantLoadTargets.cmake\")\n")
write_basic_package_version_file(${CMAKE_BINARY_DIR}/RadiantLoadConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/RadiantLoadConfig.cmake
              ${CMAKE_BINARY_DIR}/RadiantLoadConfigVersion.cmake
        DESTINATION ${ZQ_INSTALL_PACKAGE_DIR})

# The pkg-config file, for Linux builds (its Libs carry an ELF rpath).
# Relocatable: its paths are taken from where it lies (${pcfiledir}).
if(NOT WIN32)
  configure_file(${CMAKE_SOURCE_DIR}/cmake/radiantload.pc.in ${CMAKE_BINARY_DIR}/radiantload.pc
                 @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/radiantload.pc DESTINATION ${ZQ_INSTALL_PKGCONFIG_DIR})
endif()

if(ZQ_BUILD_TESTS AND NOT WIN32)
  # The consumer is built with the same sanitizer and architecture flags as
  # the libraries.
  set(consumer_flags "${CMAKE_CXX_FLAGS}")
  if(ZQ_SANITIZE)
    string(APPEND consumer_flags " -fsanitize=address,undefined")
  endif()
  add_test(NAME install_package
           COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/tests/install-test.sh ${CMAKE_BINARY_DIR}
                   ${CMAKE_SOURCE_DIR} "${consumer_flags}")
  zq_test_environment(install_package)
  # The README's example is the file the install test builds.
  add_test(NAME readme_verbatim
           COMMAND bash ${CMAKE_SOURCE_DIR}/cmake/tests/readme-verbatim.sh ${CMAKE_SOURCE_DIR})
endif()
