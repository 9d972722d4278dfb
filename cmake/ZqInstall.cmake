# `cmake --install build --prefix P`: programs in P/bin, libraries in P/lib,
# plug-in modules in P/lib/zq/plugins, the reader's headers in P/include and a
# CMake package so that other projects can use RadiantLoad::RadiantLoad.
include(CMakePackageConfigHelpers)

set(ZQ_INSTALL_PLUGIN_DIR lib/zq/plugins)
set(ZQ_INSTALL_PACKAGE_DIR lib/cmake/RadiantLoad)

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
  DESTINATION include)

install(EXPORT RadiantLoadTargets NAMESPACE RadiantLoad:: DESTINATION ${ZQ_INSTALL_PACKAGE_DIR})
file(WRITE ${CMAKE_BINARY_DIR}/RadiantLoadConfig.cmake
     "include(\"\${CMAKE_CURRENT_LIST_DIR}/RadiantLoadTargets.cmake\")\n")
write_basic_package_version_file(${CMAKE_BINARY_DIR}/RadiantLoadConfigVersion.cmake
                                 VERSION ${PROJECT_VERSION} COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/RadiantLoadConfig.cmake
              ${CMAKE_BINARY_DIR}/RadiantLoadConfigVersion.cmake
        DESTINATION ${ZQ_INSTALL_PACKAGE_DIR})

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
endif()
