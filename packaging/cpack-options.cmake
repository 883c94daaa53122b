# Read by cpack before it packs (CPACK_PROJECT_CONFIG_FILE). Every time stamp in the .deb
# (file times, archive members) is then SOURCE_DATE_EPOCH, whatever the clock says.
set(ENV{SOURCE_DATE_EPOCH} "${CPACK_PELMORA_SOURCE_DATE_EPOCH}")
