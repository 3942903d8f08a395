# Installation: the two programs, their manual pages, the desktop entry, the icon, the AppStream
# metainfo and the package's documentation; and the Debian package made from them.
include(GNUInstallDirs)
set(KANSU_APP_ID jp.kansu.kansu)
install(TARGETS kansu kansu-script RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/${KANSU_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
# The project's home on the web and its screenshot there, where the publisher has one: set
# KANSU_HOMEPAGE (e.g. -DKANSU_HOMEPAGE=https://example.org/kansu) and put screenshot.png there.
set(KANSU_HOMEPAGE "" CACHE STRING "The project's homepage, for the AppStream metadata")
set(KANSU_APPSTREAM_LINKS "")
if(KANSU_HOMEPAGE)
    string(CONCAT KANSU_APPSTREAM_LINKS
        "  <url type=\"homepage\">${KANSU_HOMEPAGE}</url>\n"
        "  <screenshots>\n"
        "    <screenshot type=\"default\">\n"
        "      <caption>The lesson at 4.5 s with the grid, the shaded area, the graph and the table</caption>\n"
        "      <caption xml:lang=\"ja\">4.5 秒後の授業画面（方眼、面積、グラフ、表）</caption>\n"
        "      <image>${KANSU_HOMEPAGE}/screenshot.png</image>\n"
        "    </screenshot>\n"
        "  </screenshots>")
endif()
configure_file(data/${KANSU_APP_ID}.metainfo.xml.in ${CMAKE_CURRENT_BINARY_DIR}/${KANSU_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${KANSU_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${KANSU_ICON_DIR}/ DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# Manual pages and documentation, compressed the way Debian wants them (no name, no time stamp,
# so the package builds the same every time).
find_program(GZIP_EXECUTABLE gzip REQUIRED)
set(compressed_dir ${PROJECT_BINARY_DIR}/compressed)
function(kansu_compressed source target)
    set(output ${compressed_dir}/${target}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${compressed_dir}/${target}/..
        COMMAND ${GZIP_EXECUTABLE} -9n -c ${PROJECT_SOURCE_DIR}/${source} > ${output}
        DEPENDS ${PROJECT_SOURCE_DIR}/${source}
        VERBATIM)
    set_property(GLOBAL APPEND PROPERTY KANSU_COMPRESSED ${output})
endfunction()
kansu_compressed(docs/man/kansu.1 man/kansu.1)
kansu_compressed(docs/man/kansu-script.1 man/kansu-script.1)
kansu_compressed(docs/man/ja/kansu.1 man-ja/kansu.1)
kansu_compressed(docs/man/ja/kansu-script.1 man-ja/kansu-script.1)
kansu_compressed(data/debian/changelog doc/changelog)
kansu_compressed(README.md doc/README.md)
get_property(compressed GLOBAL PROPERTY KANSU_COMPRESSED)
add_custom_target(compressed_docs ALL DEPENDS ${compressed})

install(FILES ${compressed_dir}/man/kansu.1.gz ${compressed_dir}/man/kansu-script.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${compressed_dir}/man-ja/kansu.1.gz ${compressed_dir}/man-ja/kansu-script.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/ja/man1)
install(FILES data/debian/copyright ${compressed_dir}/doc/changelog.gz
              ${compressed_dir}/doc/README.md.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kansu)
set(CPACK_PACKAGE_VENDOR "The kansu developers")
set(CPACK_PACKAGE_CONTACT "The kansu developers <kansu@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "moving-point lesson: a triangle's area as figure, graph, table")
set(CPACK_PACKAGE_DESCRIPTION "A maths lesson for junior-high classrooms: on a square ABCD
with 8 cm sides, P runs B-A-D at 2 cm/s and Q runs B-C at 1 cm/s, and the
area of triangle BPQ is shown at once as a figure, a graph and a table of
values. The lesson steps by 0.1 s or plays by itself. kansu-script runs the
same lesson headless from a script and writes its state and pictures.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION education)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The font the lesson is drawn in, and Qt's dialogs in the user's language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
include(CPack)
