# The same sources for 64-bit Windows, where a machine cannot run the 32-bit build under Wine.
set(TAVRIX_MINGW_ARCH x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
