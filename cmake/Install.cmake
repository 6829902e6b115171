# cmake --install BUILD --prefix P: the three programs in P/bin and the desktop data of data/
# under P/share. Sanitizer builds only run tests: they skip data/, whose icons and man pages
# are made by running the programs.
include(GNUInstallDirs)
set(TRELLISOR_APP_ID org.trellisor.Trellisor)
set(TRELLISOR_MIME_TYPE application/x-trellisor-path-object)
install(TARGETS trellisor trellisor-cli trellisor-workspace RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(NOT TRELLISOR_SANITIZE)
  add_subdirectory(data)
endif()
