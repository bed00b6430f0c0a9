# SPDX-License-Identifier: GPL-3.0-or-later
# A native build makes the page too when emscripten is here: a web build of its
# own in web/ (the page in web/site), using this build's room compiler.
option(GRIMSPIRE_WEB "Also build the page when emscripten is here" ON)
if(NOT GRIMSPIRE_WEB)
  return()
endif()
find_program(GRIMSPIRE_EMXX em++)
if(NOT GRIMSPIRE_EMXX)
  message(STATUS "No emscripten: the page is not built")
  return()
endif()
include(ExternalProject)
ExternalProject_Add(web-page
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/web
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake
    -DCMAKE_BUILD_TYPE=MinSizeRel -DGRIMSPIRE_TESTS=${GRIMSPIRE_TESTS} -DGRIMSPIRE_ROOMC=$<TARGET_FILE:grimspire-roomc>
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  DEPENDS grimspire-roomc)
