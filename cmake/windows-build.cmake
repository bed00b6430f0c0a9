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
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)
ExternalProject_Add_Step(grimspire-windows package
  COMMAND ${CMAKE_COMMAND} --build ${GRIMSPIRE_WINDOWS_DIR} --target package
  DEPENDEES build
  DEPENDERS install
  ALWAYS ON
  LOG ON)
