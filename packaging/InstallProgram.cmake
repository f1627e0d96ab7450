# Runs at install time for each program: its command in bin (a link, so the program still runs
# from the folder it shares with the other program, its Translations and its Help) and its
# desktop entry, which names the command by its installed path.
set(root "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}")
file(MAKE_DIRECTORY "${root}/bin" "${root}/share/applications")
file(CREATE_LINK "../${KV_PROGRAM_DIR}/${KV_TARGET_FILE}" "${root}/bin/${KV_COMMAND}" SYMBOLIC)
message(STATUS "Installing: ${root}/bin/${KV_COMMAND}")
file(READ "${KV_TEMPLATE}" entry)
string(REPLACE "@PROGRAM@" "${CMAKE_INSTALL_PREFIX}/bin/${KV_COMMAND}" entry "${entry}")
string(REPLACE "@MIME_TYPES@" "${KV_MIME}" entry "${entry}")
file(WRITE "${root}/share/applications/${KV_ID}.desktop" "${entry}")
message(STATUS "Installing: ${root}/share/applications/${KV_ID}.desktop")
