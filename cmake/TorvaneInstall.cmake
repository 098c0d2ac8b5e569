# What `cmake --install` puts where (GNU layout under the prefix), and the Debian package made of
# it by CPack. Nothing installed refers back to the source or build folders: the programs carry
# their starter production and core effects inside, and the player finds the showcase from its
# own path (app/installed_showcase.cpp).
set(TORVANE_MAINTAINER "Torvane developers <torvane@example.org>")

install(TARGETS torvane torvane-tool RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TORVANE_SHOWCASE)
  install(FILES ${PROJECT_BINARY_DIR}/production/torvane.pak ${PROJECT_BINARY_DIR}/production/music.ogg
    DESTINATION ${TORVANE_SHOWCASE_INSTALL_DIR})
endif()
install(FILES ${TORVANE_MAN_DIR}/torvane.1.gz ${TORVANE_MAN_DIR}/torvane-tool.1.gz
  DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES packaging/torvane.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES packaging/torvane-tool.bash DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions
  RENAME torvane-tool)

# The desktop entry names the showcase by its installed path, which only the install knows (a
# package installs under another prefix than the build was configured with).
install(CODE "
  set(SHOWCASE_FOLDER \"\${CMAKE_INSTALL_PREFIX}/${TORVANE_SHOWCASE_INSTALL_DIR}\")
  configure_file(\"${PROJECT_SOURCE_DIR}/packaging/torvane.desktop.in\"
    \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/torvane.desktop\" @ONLY)
  message(STATUS \"Installing: \$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/torvane.desktop\")
")

# The documentation, with the changelog compressed as Debian wants it.
set(changelog ${PROJECT_BINARY_DIR}/packaging/changelog)
configure_file(packaging/changelog.in ${changelog} @ONLY)
add_custom_command(
  OUTPUT ${changelog}.gz
  COMMAND ${GZIP} -9 -n -f -k ${changelog}
  DEPENDS ${changelog}
  VERBATIM)
add_custom_target(changelog ALL DEPENDS ${changelog}.gz)
install(FILES README.md packaging/copyright ${changelog}.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME torvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_CONTACT "${TORVANE_MAINTAINER}")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "real-time demo player and its production toolchain
Torvane plays audiovisual demo productions: animated 3D scenes rendered
through chains of post-effects with OpenGL, in step with their Ogg Vorbis
music. The showcase production is included and plays from the menu.
.
torvane-tool gathers what an author needs to make a production: a starter
production, a checker naming every mistake with its file and line, the pack
builder, music synthesis, headless rendering and frame-exact video capture.")
include(CPack)
