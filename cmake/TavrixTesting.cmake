# Test programs: GoogleTest from Debian's package natively, from Debian's sources when
# cross-building for Windows, and from find_package when building on Windows itself.
# Windows test programs run under Wine through CMAKE_CROSSCOMPILING_EMULATOR.
if(NOT TAVRIX_TESTS)
  return()
endif()

if(CMAKE_CROSSCOMPILING)
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(TAVRIX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
  # GoogleTest is built without link-time optimisation, as its own policies would have it anyway:
  # asked for it, they only warn that they ignore the request.
  set(ipo ${CMAKE_INTERPROCEDURAL_OPTIMIZATION})
  set(CMAKE_INTERPROCEDURAL_OPTIMIZATION OFF)
  add_subdirectory(${TAVRIX_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(CMAKE_INTERPROCEDURAL_OPTIMIZATION ${ipo})
  if(NOT TARGET GTest::gtest)  # newer GoogleTest sources define these themselves
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
endif()

# tavrix_test(NAME SOURCES ... [LIBS ...] [TIMEOUT s] [ENVIRONMENT ...] [MAIN])
# One test program, one CTest test. MAIN links GoogleTest's own main.
function(tavrix_test name)
  cmake_parse_arguments(T "MAIN" "TIMEOUT" "SOURCES;LIBS;ENVIRONMENT;ARGS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest)
  if(T_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  # GCC 12's link-time optimisation fails on the test programs (an internal compiler error): they
  # link the objects' plain machine code instead.
  set_property(TARGET ${name} PROPERTY INTERPROCEDURAL_OPTIMIZATION OFF)
  if(MINGW)
    target_link_options(${name} PRIVATE -fno-lto)
  endif()
  add_test(NAME ${name} COMMAND ${name} ${T_ARGS})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
  if(T_ENVIRONMENT)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
endfunction()
