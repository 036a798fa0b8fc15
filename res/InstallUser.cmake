# The per-user part of the installation, run by cmake --install after the
# files are in place: launchers, the desktop entry and the per-user
# settings. A staged install (DESTDIR) leaves the user's settings alone.
if(IS_ABSOLUTE "${JUKEBAR_INSTALL_DIR}")
  set(dir "${JUKEBAR_INSTALL_DIR}")
else()
  set(dir "${CMAKE_INSTALL_PREFIX}/${JUKEBAR_INSTALL_DIR}")
endif()
set(stage "$ENV{DESTDIR}")

file(MAKE_DIRECTORY "${stage}${CMAKE_INSTALL_PREFIX}/bin")
foreach(program jukebar jukebar-cli)
  set(link "${stage}${CMAKE_INSTALL_PREFIX}/bin/${program}")
  message(STATUS "Installing: ${link} -> ${dir}/${program}")
  file(REMOVE "${link}")
  file(CREATE_LINK "${dir}/${program}" "${link}" SYMBOLIC)
endforeach()

# Exec is a quoted argument inside a desktop-entry string: a backslash is
# escaped for both, and so are the characters quoting gives meaning to.
set(bs "\\")
string(REPLACE "${bs}" "${bs}${bs}${bs}${bs}" exec "${dir}/jukebar")
foreach(c "\"" "`" "$")
  string(REPLACE "${c}" "${bs}${bs}${c}" exec "${exec}")
endforeach()
string(REPLACE "%" "%%" exec "${exec}")
set(entry "${stage}${CMAKE_INSTALL_PREFIX}/share/applications/jukebar.desktop")
message(STATUS "Installing: ${entry}")
file(WRITE "${entry}" "[Desktop Entry]
Type=Application
Name=Jukebar
GenericName=Music collection browser
Comment=Browse your music collection as a tree and hand songs to your player
Exec=\"${exec}\"
Icon=jukebar
Terminal=false
Categories=AudioVideo;Audio;Player;
")

if(stage STREQUAL "")
  message(STATUS "Recording the installation folder in the per-user settings")
  execute_process(COMMAND "${dir}/jukebar-cli" config --install-dir "${dir}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "jukebar-cli could not record the installation folder")
  endif()
endif()
