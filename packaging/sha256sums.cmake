# SHA256SUMS beside the release files, in the form `sha256sum -c` reads, so that a download
# can be checked against it and a rebuild compared with it (docs/install.md).
#
# CPack runs this file after making the .deb (CPACK_POST_BUILD_SCRIPTS), and
# make-windows-zip.cmake and make-web-zip.cmake include it after writing their ZIP. Each
# time it lists every release file of the version in that folder, so they may come in any
# order.

# pelmora_write_sha256sums(DIR VERSION [FILE...]): the release files of VERSION in DIR, with
# the names CPack gives the .deb (pelmora_<version>-<release>_<arch>.deb) and
# WindowsZip.cmake and WebZip.cmake the ZIPs, and each FILE, which is on its way into DIR.
function(pelmora_write_sha256sums dir version)
  file(GLOB paths "${dir}/pelmora_${version}-*_*.deb" "${dir}/Pelmora-${version}-win32.zip"
                  "${dir}/Pelmora-${version}-web.zip")
  list(APPEND paths ${ARGN})
  set(names "")
  foreach(path IN LISTS paths)
    get_filename_component(name "${path}" NAME)
    list(APPEND names "${name}")
    set(path_of_${name} "${path}") # an incoming FILE replaces the older one of its name
  endforeach()
  list(REMOVE_DUPLICATES names)
  list(SORT names)
  set(text "")
  foreach(name IN LISTS names)
    file(SHA256 "${path_of_${name}}" hash)
    string(APPEND text "${hash}  ${name}\n")
  endforeach()
  if(text)
    file(WRITE "${dir}/SHA256SUMS" "${text}")
  else()
    file(REMOVE "${dir}/SHA256SUMS")
  endif()
endfunction()

# CPack makes the package in a folder of its own and copies it into CPACK_PACKAGE_DIRECTORY
# after this script has run.
if(CPACK_PACKAGE_FILES)
  pelmora_write_sha256sums("${CPACK_PACKAGE_DIRECTORY}" "${CPACK_PACKAGE_VERSION}"
                           ${CPACK_PACKAGE_FILES})
  message(STATUS "Wrote ${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS")
endif()
