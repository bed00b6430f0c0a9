# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-compiling for 64-bit Windows with Debian's mingw-w64. The -posix
# compilers, because the -win32 ones lack std::thread and std::mutex, which
# GoogleTest needs.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(GRIMSPIRE_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${GRIMSPIRE_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${GRIMSPIRE_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${GRIMSPIRE_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${GRIMSPIRE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Everything linked in, so the program needs only the system's own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
find_program(GRIMSPIRE_WINE wine)
if(GRIMSPIRE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${GRIMSPIRE_WINE})
endif()
