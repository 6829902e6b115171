# The one version number is project(... VERSION) in the top CMakeLists.txt; this makes it a
# header, <trellisor/Version.h>, for every program's --version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/Version.h.in ${CMAKE_BINARY_DIR}/generated/trellisor/Version.h @ONLY)
add_library(trellisor_version INTERFACE)
target_include_directories(trellisor_version INTERFACE ${CMAKE_BINARY_DIR}/generated)
