# The Debian package: `cpack -G DEB` in the build folder (or the target `package`) writes
# zifferon_<version>-<release>_<architecture>.deb there, with the install layout under /usr.

set(zifferon_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/zifferon)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/debian/copyright DESTINATION ${zifferon_doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zifferon)
set(CPACK_PACKAGE_VENDOR Morvantis)
set(CPACK_PACKAGE_CONTACT "Morvantis <post@morvantis.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tape calculator with a German user interface")
set(CPACK_PACKAGE_DESCRIPTION [[
Zifferon evaluates each formula you type and writes the formula, its result
and a running total side by side onto a number tape, like an adding machine.
A tape line can be corrected and every total is recomputed; the tape can be
saved, printed and handed to a word processor (.docx) or a spreadsheet
(.xlsx). The program and its manual are in German.

Zifferon rechnet jede Formel und schreibt Formel, Ergebnis und laufende
Summe nebeneinander auf den Zahlenstreifen, wie eine Addiermaschine. Eine
Zeile lässt sich korrigieren, alle Summen werden neu berechnet; der Streifen
lässt sich speichern, drucken und an Textverarbeitung (.docx) oder
Tabellenkalkulation (.xlsx) übergeben.]])
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
# Every install rule is in the default component; naming it keeps packaging from overwriting
# install_manifest.txt, the uninstall list of the last `cmake --install`.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES TRUE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The fonts are loaded by name at run time, so no library dependency brings them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, fonts-dejavu-core")
# Opens the exported documents.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS xdg-utils)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)

set(CPACK_ZIFFERON_RELEASE_DATE ${ZIFFERON_RELEASE_DATE})
set(CPACK_ZIFFERON_CHANGELOG ${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in)
set(CPACK_ZIFFERON_DOC_DIR ${zifferon_doc_dir})
set(CPACK_ZIFFERON_MANUAL_PAGE ${CMAKE_INSTALL_MANDIR}/man1/zifferon.1)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/debian/finish_staging.cmake)
include(CPack)
