# Pelmora-<version>-web.zip: the page from the web preset's build-web/site, zipped beside the
# other release files and listed in their SHA256SUMS (make-web-zip.cmake).
set(PELMORA_WEB_SITE "${PROJECT_SOURCE_DIR}/build-web/site"
    CACHE PATH "The page's site from the web build, for the ZIP")
add_custom_target(package_web_zip
  COMMAND ${CMAKE_COMMAND}
          -DSITE=${PELMORA_WEB_SITE}
          -DLICENSE=${PROJECT_SOURCE_DIR}/LICENSE
          -DVERSION=${PROJECT_VERSION}
          -DSOURCE_DATE_EPOCH=${PELMORA_SOURCE_DATE_EPOCH}
          -DOUT=${CMAKE_BINARY_DIR}/Pelmora-${PROJECT_VERSION}-web.zip
          -P ${CMAKE_CURRENT_SOURCE_DIR}/make-web-zip.cmake
  COMMENT "Zipping the page"
  VERBATIM)
