# SPDX-License-Identifier: GPL-3.0-or-later
# Writes SITE/sw.js from TEMPLATE: every file of the site by name, and a version
# that changes whenever any of their contents does.
#   cmake -DSITE=... -DTEMPLATE=... -P offline.cmake
file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(hashes "")
set(names "")
foreach(name IN LISTS files)
  file(SHA256 ${SITE}/${name} hash)
  string(APPEND hashes "${name} ${hash}\n")
  list(APPEND names "'${name}'")
endforeach()
string(SHA256 version "${hashes}")
string(SUBSTRING ${version} 0 16 VERSION)
list(JOIN names ", " FILES)
configure_file(${TEMPLATE} ${SITE}/sw.js @ONLY)
