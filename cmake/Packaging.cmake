# cpack -G DEB in the build folder: trellisor_<version>_<arch>.deb holding what the install
# rules install under /usr, with the library dependencies that dpkg-shlibdeps finds.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME trellisor)
set(CPACK_PACKAGE_VENDOR "Trellisor")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the path objects of an isometric park game")
# The long description, wrapped as Debian control files want it.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Visual Trellisor edits the path objects of an isometric park game: footpaths\n"
       "and queue lines with their railings and the supports under raised paths, kept\n"
       "in .DAT object files. It replaces a page's sprites by stored sprite sets, builds\n"
       "new objects, repaints, recolours and previews sprites, and saves valid object\n"
       "files again.\n"
       "\n"
       "trellisor-cli does the same work headless, for scripts; trellisor-workspace\n"
       "writes a starter workspace with sample objects into any folder.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Trellisor maintainers <maintainers@trellisor.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its window-system plugins at run time, where dpkg-shlibdeps cannot see them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
