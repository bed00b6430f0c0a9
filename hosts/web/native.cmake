# SPDX-License-Identifier: GPL-3.0-or-later
# The room compiler for a web build: the one a native build made
# (-DGRIMSPIRE_ROOMC=path), or else one built natively here on the side.
if(NOT GRIMSPIRE_ROOMC)
  include(ExternalProject)
  set(native ${CMAKE_BINARY_DIR}/native)
  ExternalProject_Add(grimspire-native-tools
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${native}
    CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DGRIMSPIRE_HOST=OFF -DGRIMSPIRE_TESTS=OFF -DGRIMSPIRE_WEB=OFF
    BUILD_COMMAND ${CMAKE_COMMAND} --build ${native} --target grimspire-roomc
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${native}/tools/grimspire-roomc)
  set(GRIMSPIRE_ROOMC ${native}/tools/grimspire-roomc)
endif()
add_executable(grimspire-roomc IMPORTED GLOBAL)
set_target_properties(grimspire-roomc PROPERTIES IMPORTED_LOCATION ${GRIMSPIRE_ROOMC})
if(TARGET grimspire-native-tools)
  add_dependencies(grimspire-roomc grimspire-native-tools)
endif()
