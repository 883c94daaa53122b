# Zips Pelmora.exe with LICENSE and README for Windows users:
#
#   cmake -DEXE=Pelmora.exe -DLICENSE=LICENSE -DREADME=README.md -DVERSION=1.0.0
#         -DSOURCE_DATE_EPOCH=<seconds> -DOUT=Pelmora-1.0.0-win32.zip -P make-windows-zip.cmake
#
# The archive holds one folder, Pelmora-<VERSION>-win32, so unpacking it never scatters
# files. Text files get Windows line ends and a .txt name that Notepad opens on a double
# click. Every member's time is SOURCE_DATE_EPOCH. A missing exe is not an error (the
# cross build is optional): the script says so and writes nothing. A missing README is left
# out with a warning.

cmake_policy(VERSION 3.25)
foreach(var EXE LICENSE VERSION SOURCE_DATE_EPOCH OUT)
  if(NOT DEFINED ${var} OR "${${var}}" STREQUAL "")
    message(FATAL_ERROR "make-windows-zip: -D${var}=... is required")
  endif()
endforeach()

if(NOT EXISTS "${EXE}")
  message(STATUS "make-windows-zip: ${EXE} has not been built; no ZIP made")
  return()
endif()

# tar runs inside the staging folder, so a relative OUT must be pinned down first.
get_filename_component(OUT "${OUT}" ABSOLUTE)
get_filename_component(out_dir "${OUT}" DIRECTORY)
set(top "Pelmora-${VERSION}-win32")
set(stage "${OUT}.stage")
file(REMOVE_RECURSE "${stage}")
file(MAKE_DIRECTORY "${stage}/${top}" "${out_dir}")

file(COPY_FILE "${EXE}" "${stage}/${top}/Pelmora.exe")

function(copy_text from to)
  file(READ "${from}" text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE "${to}" "${text}")
endfunction()

copy_text("${LICENSE}" "${stage}/${top}/LICENSE.txt")
if(DEFINED README AND EXISTS "${README}")
  copy_text("${README}" "${stage}/${top}/README.txt")
else()
  message(WARNING "make-windows-zip: no README at '${README}'; the ZIP goes without one")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/zip-stage.cmake)
pelmora_zip_stage("${stage}" "${top}" "${OUT}" "${SOURCE_DATE_EPOCH}")
message(STATUS "make-windows-zip: wrote ${OUT}")
