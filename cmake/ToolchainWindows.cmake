# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with Debian's mingw-w64 (posix threads, which Qt needs).
# PARMEX_WINDOWS_KORENY lists the install folders of the cross-built libraries; they are searched
# like the compiler's own folder, and nothing of the build machine's libraries is.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(_trojice x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${_trojice}-gcc-posix)
set(CMAKE_CXX_COMPILER ${_trojice}-g++-posix)
set(CMAKE_RC_COMPILER ${_trojice}-windres)
set(CMAKE_AR ${_trojice}-gcc-ar-posix CACHE FILEPATH "")
set(CMAKE_RANLIB ${_trojice}-gcc-ranlib-posix CACHE FILEPATH "")

set(PARMEX_WINDOWS_KORENY "" CACHE STRING "Install folders of the cross-built libraries")
set(CMAKE_TRY_COMPILE_PLATFORM_VARIABLES PARMEX_WINDOWS_KORENY)
set(CMAKE_FIND_ROOT_PATH /usr/${_trojice} ${PARMEX_WINDOWS_KORENY})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Static libraries before import libraries: the programs carry everything in one file.
set(CMAKE_FIND_LIBRARY_SUFFIXES .a .dll.a)
set(PKG_CONFIG_EXECUTABLE ${_trojice}-pkg-config CACHE FILEPATH "")

# ctest runs every test program through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/bin/wine)
