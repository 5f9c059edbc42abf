# A second compiler for the shipped build, as a check on the sources: Clang for 32-bit Windows,
# with the same MinGW-w64 headers and libraries, GCC's C++ library and windres as the GCC build.
# Not shipped: the release is GCC's (cmake/mingw-i686.cmake).
set(TAVRIX_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${TAVRIX_MINGW_ARCH}-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET ${TAVRIX_MINGW_ARCH}-w64-mingw32)

# Clang finds the MinGW-w64 C headers and libraries itself, but not GCC's own folder (its name,
# "12-posix" on Debian 12, is not a version to Clang), which holds the C++ library's headers,
# libstdc++.a and libgcc. GCC says where it is. Given the folder, Clang's own link line takes
# libstdc++, libgcc and libgcc_eh from it, through the MinGW linker that GCC uses. No threads
# library: win/runtime.cpp serves the runtime's few thread calls, as in the GCC build.
execute_process(COMMAND ${TAVRIX_MINGW_ARCH}-w64-mingw32-g++-posix -print-libgcc-file-name
  OUTPUT_VARIABLE libgcc OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
get_filename_component(gcc_dir ${libgcc} DIRECTORY)
set(CMAKE_CXX_STANDARD_INCLUDE_DIRECTORIES
  ${gcc_dir}/include/c++ ${gcc_dir}/include/c++/${TAVRIX_MINGW_ARCH}-w64-mingw32)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-L${gcc_dir}")
unset(libgcc)
unset(gcc_dir)
