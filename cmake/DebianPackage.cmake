# The Debian package of what `cmake --install` puts in place (`make package`): stripped
# binaries, the copyright file and the changelog in the package's doc folder, dependencies
# worked out by dpkg-shlibdeps. The libraries are private (see TIRVENDAL_INSTALL_LIBDIR), so the
# package declares no shared libraries of its own and needs no ldconfig trigger.
set(_deb_name tirvendal-designhost)
set(_deb_release 1)
set(TIRVENDAL_DEB_VERSION ${PROJECT_VERSION}-${_deb_release})
set(_doc ${CMAKE_INSTALL_DATADIR}/doc/${_deb_name})

configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog.Debian @ONLY)
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
  COMMAND gzip -9 -n -c ${CMAKE_BINARY_DIR}/debian/changelog.Debian > ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
  DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.Debian
  VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.Debian.gz
        DESTINATION ${_doc})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME ${_deb_name})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${_deb_name})
set(CPACK_PACKAGE_VENDOR "Tirvendal")
set(CPACK_PACKAGE_CONTACT "Tirvendal developers <developers@tirvendal.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "palette and Object Inspector of design packages, as commands")
set(CPACK_PACKAGE_DESCRIPTION "designhost loads a design package, as a form designer does, and offers
what its designer offers on the command line: the palette of components,
the properties of a form's components with their drop-down lists, setting a
property, and the property editors' dialogs, driven by a script or on the
screen. It checks forms for broken links between tables and links forms to a
database's foreign keys.
.
The design window (designhost gui) shows the palette, the form's components,
the Object Inspector and the data of the selected table.
.
The package holds the program, its private libraries and the design package,
the man page and the bash completion.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${_deb_release})
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# dpkg-shlibdeps finds the private libraries in the build tree.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/lib)
include(CPack)
