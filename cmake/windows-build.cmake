# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program, its installer and its cross-compiled tests, built as the
# windows preset builds them, into build/windows.
include(ExternalProject)
set(GRIMSPIRE_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
ExternalProject_Add(grimspire-windows
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${GRIMSPIRE_WINDOWS_DIR}
  CMAKE_ARGS --toolchain ${PROJECT_SOURCE_DIR}/cmake/mingw-w64.cmake -DCMAKE_BUILD_TYPE=MinSizeRel
    -DGRIMSPIRE_TESTS=${GRIMSPIRE_TESTS}
  BUILD_COMMAND ${CMAKE_COMMAND} --build . --target all package
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)
