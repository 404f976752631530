# Where `cmake --install` (and `make install`) puts the program; the desktop file, icons
# and translations are installed by src/resources. Prefix: CMAKE_INSTALL_PREFIX or
# `cmake --install --prefix`; DESTDIR is honoured for staging.
include(GNUInstallDirs)
install(TARGETS cuewright RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

include(${CMAKE_CURRENT_LIST_DIR}/Packaging.cmake)
