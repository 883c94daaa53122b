# Run by cpack between staging the files and packing them (CPACK_PRE_BUILD_SCRIPTS). CMake
# makes the staged folders with mkdir, which the builder's umask trims (0700 under umask
# 077); the package's folders must be 0755 whatever the umask.
file(GLOB_RECURSE paths LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
set(dirs "${CPACK_TEMPORARY_DIRECTORY}")
foreach(path IN LISTS paths)
  if(IS_DIRECTORY "${path}" AND NOT IS_SYMLINK "${path}")
    list(APPEND dirs "${path}")
  endif()
endforeach()
file(CHMOD ${dirs} PERMISSIONS ${CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS})
