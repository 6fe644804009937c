# `cmake --install build --prefix <p>`: the program folder <p>/lib/orvella as the build tree
# lays it out (the program finds everything beside its binary), a launcher in <p>/bin and
# the desktop's files under <p>/share.
set(ORVELLA_PROGRAM_DIR lib/orvella)
set(program "\${CMAKE_INSTALL_PREFIX}/${ORVELLA_PROGRAM_DIR}")

install(TARGETS orvella RUNTIME DESTINATION ${ORVELLA_PROGRAM_DIR})
foreach(folder skin skin_classic icon help)
  install(CODE "set(SRC \"${CMAKE_BINARY_DIR}/${folder}\")
                set(DST \"${program}/${folder}\")
                include(\"${CMAKE_SOURCE_DIR}/cmake/InstallResolved.cmake\")")
endforeach()
# The engine: a link to the mplayer found at configure time, as in the build tree, so the
# program runs the same engine from both (a packager sets MPLAYER_PROGRAM to change it).
# The launcher is a relative link: the program finds its folder through /proc/self/exe,
# which names the binary itself, not the link it was started by.
install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}${program}/gnu\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
              file(CREATE_LINK \"${MPLAYER_PROGRAM}\" \"\$ENV{DESTDIR}${program}/gnu/mplayer\" SYMBOLIC)
              file(CREATE_LINK \"../${ORVELLA_PROGRAM_DIR}/orvella\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/orvella\" SYMBOLIC)
              message(STATUS \"Linking: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/orvella\")")

# Written by the file association build; absent before it.
install(FILES ${CMAKE_BINARY_DIR}/orvella.desktop DESTINATION share/applications OPTIONAL)
configure_file(data/desktop/org.orvella.Orvella.metainfo.xml
               ${CMAKE_BINARY_DIR}/org.orvella.Orvella.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/org.orvella.Orvella.metainfo.xml DESTINATION share/metainfo)
configure_file(data/desktop/orvella.1 ${CMAKE_BINARY_DIR}/orvella.1 @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/orvella.1 DESTINATION share/man/man1)
install(DIRECTORY data/desktop/hicolor DESTINATION share/icons)
