# CMake toolchain file for vrk, the compiler driver for
# aarch64-portbld-freebsd15.0:
#
#   cmake -DCMAKE_TOOLCHAIN_FILE=<installation>/share/vrk/vrk-toolchain.cmake ...
#
# The drivers and archive tools are taken from the installation this file
# belongs to (found relative to the file, so a moved tree works).  The
# target has no C library in the toolchain, so CMake's checks build static
# libraries instead of programs; point VRK_SYSROOT (or CMAKE_SYSROOT) at a
# system root for hosted programs.

set(CMAKE_SYSTEM_NAME FreeBSD)
set(CMAKE_SYSTEM_PROCESSOR aarch64)

get_filename_component(_vrk_root "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)
set(CMAKE_C_COMPILER "${_vrk_root}/bin/vrk")
set(CMAKE_CXX_COMPILER "${_vrk_root}/bin/vrk++")
set(CMAKE_ASM_COMPILER "${_vrk_root}/bin/vrk")
set(CMAKE_AR "${_vrk_root}/bin/vrk-ar" CACHE FILEPATH "vrk-ar")
set(CMAKE_RANLIB "${_vrk_root}/bin/vrk-ranlib" CACHE FILEPATH "vrk-ranlib")
set(CMAKE_NM "${_vrk_root}/bin/vrk-nm" CACHE FILEPATH "vrk-nm")

set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)
if(DEFINED VRK_SYSROOT AND NOT CMAKE_SYSROOT)
  set(CMAKE_SYSROOT "${VRK_SYSROOT}")
endif()

# Look for programs on the build machine, for libraries and headers only in
# the target's root.
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
