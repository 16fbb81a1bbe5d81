# Bash completion: one script for the drivers and the wrappers, installed
# under each program's name, as bash-completion looks it up by the name of
# the command being completed.
install(FILES ${PROJECT_SOURCE_DIR}/completion/vrk.bash
        DESTINATION share/bash-completion/completions RENAME vrk)
foreach(name vrk++ vrk-ar vrk-nm vrk-ranlib)
  install(CODE "file(CREATE_LINK vrk
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/share/bash-completion/completions/${name}\" SYMBOLIC)")
endforeach()
