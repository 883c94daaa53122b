# The Windows download: Pelmora.exe from the cross build with the licence and the README,
# zipped by `cmake --build <native tree> --target package_windows_zip`. The exe lives in
# another build tree (the windows preset), so its path is a cache entry; when it has not
# been built the target says so and makes nothing.

set(PELMORA_WINDOWS_EXE "${PROJECT_SOURCE_DIR}/build-windows/src/frontends/win32/Pelmora.exe"
    CACHE FILEPATH "Pelmora.exe from the Windows cross build, for the ZIP")
set(PELMORA_WINDOWS_ZIP "${CMAKE_BINARY_DIR}/Pelmora-${PROJECT_VERSION}-win32.zip")

add_custom_target(package_windows_zip
  COMMAND ${CMAKE_COMMAND}
          -DEXE=${PELMORA_WINDOWS_EXE}
          -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE
          -DREADME=${PROJECT_SOURCE_DIR}/README.md
          -DVERSION=${PROJECT_VERSION}
          -DSOURCE_DATE_EPOCH=${PELMORA_SOURCE_DATE_EPOCH}
          -DOUT=${PELMORA_WINDOWS_ZIP}
          -P ${CMAKE_CURRENT_SOURCE_DIR}/make-windows-zip.cmake
  COMMENT "Zipping Pelmora.exe for Windows"
  VERBATIM)
