# SPDX-License-Identifier: GPL-3.0-or-later
# A cross build still runs the room compiler and the icon maker on the build
# machine: they are built natively in a sub-build of their own and imported.
include(ExternalProject)
set(GRIMSPIRE_NATIVE_DIR ${CMAKE_BINARY_DIR}/native)
set(native_roomc ${GRIMSPIRE_NATIVE_DIR}/tools/grimspire-roomc)
set(native_winico ${GRIMSPIRE_NATIVE_DIR}/tools/winico/grimspire-winico)
ExternalProject_Add(grimspire-native-tools
  SOURCE_DIR ${PROJECT_SOURCE_DIR}
  BINARY_DIR ${GRIMSPIRE_NATIVE_DIR}
  CMAKE_ARGS -DGRIMSPIRE_TOOLS_ONLY=ON -DCMAKE_BUILD_TYPE=Release
  BUILD_COMMAND ${CMAKE_COMMAND} --build . --target grimspire-roomc grimspire-winico
  BUILD_BYPRODUCTS ${native_roomc} ${native_winico}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON)
foreach(tool roomc winico)
  add_executable(grimspire-${tool} IMPORTED GLOBAL)
  set_target_properties(grimspire-${tool} PROPERTIES IMPORTED_LOCATION ${native_${tool}})
endforeach()
