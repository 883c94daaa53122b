# pelmora_zip_stage(STAGE TOP OUT SOURCE_DATE_EPOCH): zips the folder STAGE/TOP as OUT, then
# removes STAGE. Same inputs, same bytes: the source's time on every member, a sorted file
# list, fixed modes, and zip -X, which leaves out owners and the access and change times.
# `cmake -E tar cf x.zip --format=zip --mtime=...` cannot do this: libarchive gives every
# member extra fields with the file's access and change times and its owner's uid and gid,
# so two builds never agree.
function(pelmora_zip_stage stage top out epoch)
  find_program(ZIP_PROGRAM zip)
  find_program(TOUCH_PROGRAM touch)
  if(NOT ZIP_PROGRAM OR NOT TOUCH_PROGRAM)
    message(FATAL_ERROR "pelmora_zip_stage: needs zip and touch")
  endif()
  file(GLOB_RECURSE members RELATIVE "${stage}" "${stage}/${top}/*")
  list(SORT members)
  list(TRANSFORM members PREPEND "${stage}/" OUTPUT_VARIABLE member_paths)
  file(CHMOD ${member_paths} PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
  execute_process(COMMAND "${TOUCH_PROGRAM}" -d "@${epoch}" ${members}
                  WORKING_DIRECTORY "${stage}")
  file(REMOVE "${out}")
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env TZ=UTC "${ZIP_PROGRAM}" -q -X -9 "${out}" ${members}
    WORKING_DIRECTORY "${stage}"
    RESULT_VARIABLE rc)
  file(REMOVE_RECURSE "${stage}")
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "pelmora_zip_stage: zipping ${out} failed (${rc})")
  endif()
endfunction()
