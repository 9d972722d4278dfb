# 32-bit Windows: compiled only (this machine cannot run 32-bit programs).
set(ZQ_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
