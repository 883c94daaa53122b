# Installs `pelmora-term` beside `pelmora`, with its manual page, in the install component
# "pelmora" that the Debian package is made from. Included by the terminal front end's
# CMakeLists.txt, so it exists exactly where the program is built.
include(GNUInstallDirs)

install(TARGETS pelmora-term RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT pelmora)
# As for `pelmora`: the compiler's .comment section tells a user nothing (lintian asks).
string(CONFIGURE [[
  execute_process(COMMAND "@CMAKE_OBJCOPY@" --remove-section=.comment
    "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/@CMAKE_INSTALL_BINDIR@/pelmora-term"
    COMMAND_ERROR_IS_FATAL ANY)
]] strip_term_comment @ONLY)
install(CODE "${strip_term_comment}" COMPONENT pelmora)

# The manual page, compressed without name or time stamp so two builds give the same bytes.
set(term_man ${CMAKE_CURRENT_BINARY_DIR}/pelmora-term.1)
configure_file(${PROJECT_SOURCE_DIR}/packaging/pelmora-term.1 ${term_man} @ONLY)
find_program(PELMORA_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${term_man}.gz COMMAND ${PELMORA_GZIP} -9 -n -k -f ${term_man}
                   DEPENDS ${term_man} VERBATIM)
add_custom_target(pelmora_term_man ALL DEPENDS ${term_man}.gz)
install(FILES ${term_man}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT pelmora)
