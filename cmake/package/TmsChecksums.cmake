# CPack runs this once both builds are installed into its staging folder (the
# release's top folder) and before it packs that folder: SHA256SUMS there
# lists every other file with its SHA-256, in the form that
# `sha256sum -c SHA256SUMS` checks from the unpacked top folder.
set(root "${CPACK_TEMPORARY_DIRECTORY}")
if(NOT IS_DIRECTORY "${root}")
  message(FATAL_ERROR "checksums: no staging folder '${root}'")
endif()
file(REMOVE "${root}/SHA256SUMS")
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE "${root}" "${root}/*")
if(NOT files)
  message(FATAL_ERROR "checksums: the staging folder '${root}' is empty")
endif()
# Byte order, as `LC_ALL=C sort` gives, so that the list does not depend on
# the order the file system returns.
list(SORT files COMPARE STRING)
set(sums "")
foreach(file IN LISTS files)
  file(SHA256 "${root}/${file}" hash)
  string(APPEND sums "${hash}  ${file}\n")
endforeach()
file(WRITE "${root}/SHA256SUMS" "${sums}")
list(LENGTH files count)
message(STATUS "checksums: SHA256SUMS lists ${count} files")
