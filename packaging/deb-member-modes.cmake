# Run by cpack after it has made the .deb and before SHA256SUMS (CPACK_POST_BUILD_SCRIPTS).
# CPack writes the .deb's own members (debian-binary, control.tar.gz, data.tar.gz) to disk
# first and copies their modes into the ar headers, so they carry the builder's umask:
# 100664 under umask 002, 100600 under 077. dpkg-deb gives them 100644 whatever the umask;
# so does this script, overwriting each header's mode field in place. Everything else in
# the archive, the members' contents included, is left as it is.

set(member_mode "100644  ") # the ar header's 8-byte mode field, octal and blank-padded
set(mode_file "${CPACK_TOPLEVEL_DIRECTORY}/pelmora-member-mode")
file(WRITE "${mode_file}" "${member_mode}")

foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  file(READ "${deb}" magic LIMIT 8)
  if(NOT magic STREQUAL "!<arch>\n")
    message(FATAL_ERROR "${deb} is not an ar archive")
  endif()
  file(SIZE "${deb}" size)
  # Each member: a 60-byte header (name 16, time 12, owner 6, group 6, mode 8, size 10,
  # end 2), then its data, padded to an even length.
  set(at 8)
  while(at LESS size)
    file(READ "${deb}" header OFFSET ${at} LIMIT 60)
    string(SUBSTRING "${header}" 40 8 mode)
    string(SUBSTRING "${header}" 48 10 length)
    string(STRIP "${length}" length)
    if(NOT mode MATCHES "^100[0-7][0-7][0-7]  $" OR NOT length MATCHES "^[0-9]+$")
      message(FATAL_ERROR "${deb}: no ar member header at byte ${at}")
    endif()
    if(NOT mode STREQUAL member_mode)
      math(EXPR field "${at} + 40")
      execute_process(COMMAND dd "of=${deb}" bs=1 seek=${field} count=8 conv=notrunc status=none
                      INPUT_FILE "${mode_file}" COMMAND_ERROR_IS_FATAL ANY)
    endif()
    math(EXPR at "${at} + 60 + ${length} + ${length} % 2")
  endwhile()
endforeach()
file(REMOVE "${mode_file}")
