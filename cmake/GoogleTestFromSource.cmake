# Answers find_package(GTest) by building GoogleTest from Debian's source
# package (googletest, in /usr/src/googletest) with this build's own compiler
# and flags. Debian's prebuilt GoogleTest libraries are 64-bit only, so the
# 32-bit build uses this.
#
# Loaded before the project starts, as a dependency provider:
#   -DCMAKE_PROJECT_TOP_LEVEL_INCLUDES=<this file>
# The first find_package(GTest) adds the GoogleTest project to the build; it
# defines the same GTest::gtest, GTest::gtest_main, GTest::gmock and
# GTest::gmock_main targets as the installed package.
set(KELZU_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's source tree, built in place of the installed libraries")

macro(kelzu_gtest_from_source method package)
  if("${package}" STREQUAL "GTest")
    if(NOT TARGET GTest::gtest)
      if(NOT EXISTS "${KELZU_GTEST_SOURCE_DIR}/CMakeLists.txt")
        message(FATAL_ERROR "No GoogleTest sources in ${KELZU_GTEST_SOURCE_DIR} (Debian package googletest)")
      endif()
      set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
      set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
      add_subdirectory("${KELZU_GTEST_SOURCE_DIR}" "${CMAKE_BINARY_DIR}/_deps/googletest" EXCLUDE_FROM_ALL SYSTEM)
    endif()
    set(GTest_FOUND TRUE)
  endif()
endmacro()

cmake_language(SET_DEPENDENCY_PROVIDER kelzu_gtest_from_source SUPPORTED_METHODS FIND_PACKAGE)
