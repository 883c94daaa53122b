# Zips the page's site (build-web/site) with LICENSE for anyone to open or serve:
#
#   cmake -DSITE=build-web/site -DLICENSE=LICENSE -DVERSION=1.0.0
#         -DSOURCE_DATE_EPOCH=<seconds> -DOUT=Pelmora-1.0.0-web.zip -P make-web-zip.cmake
#
# The archive holds one folder, Pelmora-<VERSION>-web; opening its index.html runs the page.
# A site not built (the web preset is optional) is not an error: the script says so and
# writes nothing.

cmake_policy(VERSION 3.25)
foreach(var SITE LICENSE VERSION SOURCE_DATE_EPOCH OUT)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "make-web-zip: -D${var}=... is required")
  endif()
endforeach()
if(NOT EXISTS "${SITE}/index.html" OR NOT EXISTS "${SITE}/pelmora.js")
  message(STATUS "make-web-zip: ${SITE} has not been built; no ZIP made")
  return()
endif()

get_filename_component(OUT "${OUT}" ABSOLUTE)
get_filename_component(out_dir "${OUT}" DIRECTORY)
set(top "Pelmora-${VERSION}-web")
set(stage "${OUT}.stage")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}/${top}" "${out_dir}")
foreach(name index.html pelmora.js pelmora.svg FONT-LICENSES.txt)
  file(COPY_FILE "${SITE}/${name}" "${stage}/${top}/${name}")
endforeach()
file(COPY_FILE "${LICENSE}" "${stage}/${top}/LICENSE.txt")

include(${CMAKE_CURRENT_LIST_DIR}/zip-stage.cmake)
pelmora_zip_stage("${stage}" "${top}" "${OUT}" "${SOURCE_DATE_EPOCH}")
message(STATUS "make-web-zip: wrote ${OUT}")
