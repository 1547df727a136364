# Installing the game and packaging it for Debian. `cmake --install` puts the game in bin/, its
# data in share/vorl/ (the game looks for it at ../share/vorl from its own folder, so the two stay
# side by side), a desktop entry, icons in the hicolor theme, AppStream metadata, a manual page and
# the Debian copyright and changelog; `cpack` in the build folder makes the .deb of all that, with
# the game in /usr/games as Debian wants.
include(GNUInstallDirs)

# The identifier of the desktop entry, the icons and the AppStream metadata: reverse DNS of the
# project's home. Both are placeholders until the project is published.
set(VORL_APP_ID io.github.vorlgame.vorl)
set(VORL_HOMEPAGE "https://github.com/vorlgame/vorl" CACHE STRING "The game's home page")
set(VORL_SCREENSHOTS_URL "https://raw.githubusercontent.com/vorlgame/vorl/main/docs/screenshots"
    CACHE STRING "Where the AppStream screenshots (docs/screenshots) are published")

set(packaging ${PROJECT_SOURCE_DIR}/packaging)
set(generated ${PROJECT_BINARY_DIR}/packaging)
configure_file(${packaging}/vorl.desktop.in ${generated}/${VORL_APP_ID}.desktop @ONLY)
configure_file(${packaging}/vorl.metainfo.xml.in ${generated}/${VORL_APP_ID}.metainfo.xml @ONLY)
configure_file(${packaging}/vorl.6 ${generated}/vorl.6 @ONLY)
configure_file(${packaging}/changelog ${generated}/changelog @ONLY)

# Debian wants manual pages and changelogs compressed with gzip -9n (no name, no time stamp).
set(compressed)
foreach(file vorl.6 changelog)
  add_custom_command(OUTPUT ${generated}/${file}.gz
                     COMMAND sh -c "gzip -9n -c '${generated}/${file}' > '${generated}/${file}.gz'"
                     DEPENDS ${generated}/${file}
                     VERBATIM)
  list(APPEND compressed ${generated}/${file}.gz)
endforeach()
add_custom_target(vorl_package_files ALL DEPENDS ${compressed})

install(TARGETS vorl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# Only the game's own data, by the list: never what else a working copy's assets/ holds.
file(STRINGS ${packaging}/data_files VORL_DATA_FILES REGEX "^[^#]")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${packaging}/data_files)
foreach(file IN LISTS VORL_DATA_FILES)
  get_filename_component(folder ${file} DIRECTORY)
  install(FILES ${PROJECT_SOURCE_DIR}/assets/${file} DESTINATION ${CMAKE_INSTALL_DATADIR}/vorl/${folder})
endforeach()
install(FILES ${generated}/${VORL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${generated}/${VORL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${packaging}/icons/${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME ${VORL_APP_ID}.png)
endforeach()
install(FILES ${packaging}/icons/vorl.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VORL_APP_ID}.svg)
install(FILES ${generated}/vorl.6.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${packaging}/copyright ${generated}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/vorl)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vorl)
set(CPACK_PACKAGE_VENDOR "The Vorl developers")
set(CPACK_PACKAGE_CONTACT "The Vorl developers <maintainers@users.noreply.c-seed-d325421b.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "physics puzzle-platformer with a heavy and a light form")
set(CPACK_PACKAGE_DESCRIPTION "\
Roll, jump and switch between a heavy full form and a light half form
to reach the goal of 21 levels of fans, cannons, crates, breakable
blocks, one-way platforms, teleporters and stars. Keyboard or gamepad,
with rumble; an in-game level and archetype editor saves your own
levels beside the game's.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# Debian keeps games in /usr/games; the game still finds its data at ../share/vorl from there.
set(CPACK_PRE_BUILD_SCRIPTS ${packaging}/debian_games_folder.cmake)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${VORL_HOMEPAGE})
# Libraries from dpkg-shlibdeps; the font and the OpenGL library are opened at run time.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2, libgl1")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libgl1-mesa-dri")
include(CPack)
