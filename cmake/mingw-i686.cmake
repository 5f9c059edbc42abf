# The shipped build: 32-bit Windows.
set(TAVRIX_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
