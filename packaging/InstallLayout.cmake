# Where an installation puts things, for the install rules, the CLI and the launcher alike.
# Both programs find the shipped program folder relative to their own folder, so a prefix that is
# moved after installing keeps working.
include(GNUInstallDirs)

# Directories that installing creates: 0755 whatever the umask, as Debian packages want them.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# The shipped program folder (data/): nfo.ini, the list files, note.txt, lang/.
set(VELMORA_SHIPPED_DIR ${CMAKE_INSTALL_DATADIR}/velmora)
file(RELATIVE_PATH VELMORA_SHIPPED_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/velmora)

# The application's id: the metainfo file and the icons are named after it.
set(VELMORA_APP_ID org.example.velmora)

# The decoding module (libvelmora-audio.so), private to the programs, found from their folder.
set(VELMORA_MODULE_DIR ${CMAKE_INSTALL_LIBDIR}/velmora)
file(RELATIVE_PATH VELMORA_MODULE_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_LIBDIR}/velmora)
