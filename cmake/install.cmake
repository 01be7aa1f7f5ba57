# Installing the game: the programs in bin/, the data in share/tumbo/ (the game
# finds it from its own place, so any prefix works), and the desktop entry,
# icons, AppStream metadata and manual page where desktops look for them.
#
#   cmake --install build [--prefix /usr]
#
# TUMBO_SYSTEM_FONT: install the font as a link to Debian's copy instead of
# a copy of it (the Debian package, which then depends on fonts-dejavu-core).
if(EMSCRIPTEN)
  return()
endif()
if(WIN32)
  # The Windows zip stays portable; tumbo.exe carries the icon and the version.
  enable_language(RC)
  configure_file("${CMAKE_SOURCE_DIR}/packaging/tumbo.rc.in" "${CMAKE_BINARY_DIR}/packaging/tumbo.rc" @ONLY)
  target_sources(tumbo PRIVATE "${CMAKE_BINARY_DIR}/packaging/tumbo.rc")
  return()
endif()

include(GNUInstallDirs)
option(TUMBO_SYSTEM_FONT "Link the installed font to the system's copy" OFF)
# bin by default; the Debian package puts the game in games, as Debian does.
set(TUMBO_BINDIR "${CMAKE_INSTALL_BINDIR}" CACHE STRING "Where the programs are installed, under the prefix")

set(TUMBO_DATADIR "${CMAKE_INSTALL_DATADIR}/tumbo")
set(TUMBO_PACKAGING "${CMAKE_SOURCE_DIR}/packaging")
set(TUMBO_GENERATED "${CMAKE_BINARY_DIR}/packaging")

install(TARGETS tumbo RUNTIME DESTINATION ${TUMBO_BINDIR})
if(TARGET tumbo-edit)
  install(TARGETS tumbo-edit RUNTIME DESTINATION ${TUMBO_BINDIR})
endif()

install(DIRECTORY "${CMAKE_SOURCE_DIR}/campaigns/" DESTINATION "${TUMBO_DATADIR}/campaigns" PATTERN "README.md" EXCLUDE)
install(DIRECTORY "${CMAKE_SOURCE_DIR}/media/" DESTINATION "${TUMBO_DATADIR}/media"
  PATTERN "README.md" EXCLUDE PATTERN "*.LICENSE.txt" EXCLUDE PATTERN "zekton__.ttf" EXCLUDE)
if(TUMBO_SYSTEM_FONT)
  install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TUMBO_DATADIR}/media\")
    file(RELATIVE_PATH font \"\${CMAKE_INSTALL_PREFIX}/${TUMBO_DATADIR}/media\" \"${TUMBO_FONT_SOURCE}\")
    file(CREATE_LINK \"\${font}\"
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TUMBO_DATADIR}/media/zekton__.ttf\" SYMBOLIC)")
else()
  install(FILES "${CMAKE_SOURCE_DIR}/media/zekton__.ttf" "${CMAKE_SOURCE_DIR}/media/zekton__.LICENSE.txt"
    DESTINATION "${TUMBO_DATADIR}/media")
endif()

install(FILES "${TUMBO_PACKAGING}/tumbo.desktop" DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
configure_file("${TUMBO_PACKAGING}/tumbo.metainfo.xml.in" "${TUMBO_GENERATED}/tumbo.metainfo.xml" @ONLY)
install(FILES "${TUMBO_GENERATED}/tumbo.metainfo.xml" DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")
configure_file("${TUMBO_PACKAGING}/tumbo.6.in" "${TUMBO_GENERATED}/tumbo.6" @ONLY)
install(FILES "${TUMBO_GENERATED}/tumbo.6" DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
if(TARGET tumbo-edit)
  configure_file("${TUMBO_PACKAGING}/tumbo-edit.6.in" "${TUMBO_GENERATED}/tumbo-edit.6" @ONLY)
  install(FILES "${TUMBO_GENERATED}/tumbo-edit.6" DESTINATION "${CMAKE_INSTALL_MANDIR}/man6")
endif()

# The icons are drawn by the media tool from the player's ball.
if(NOT TARGET tumbo-media)
  add_executable(tumbo-media EXCLUDE_FROM_ALL "${CMAKE_SOURCE_DIR}/tools/tumbo-media.cpp")
  target_link_libraries(tumbo-media PRIVATE tumbo_game)
endif()
set(TUMBO_ICON_SIZES 16 24 32 48 64 128 256)
set(icon_files "")
foreach(size ${TUMBO_ICON_SIZES})
  list(APPEND icon_files "${TUMBO_GENERATED}/icons/tumbo-${size}.png")
endforeach()
add_custom_command(OUTPUT ${icon_files} "${TUMBO_GENERATED}/icons/tumbo.ico"
  COMMAND ${CMAKE_COMMAND} -E make_directory "${TUMBO_GENERATED}/icons"
  COMMAND tumbo-media --icons "${TUMBO_GENERATED}/icons" > /dev/null
  DEPENDS tumbo-media "${CMAKE_SOURCE_DIR}/tools/tumbo-media.cpp"
  COMMENT "Drawing the icons")
add_custom_target(tumbo-icons ALL DEPENDS ${icon_files})
foreach(size ${TUMBO_ICON_SIZES})
  install(FILES "${TUMBO_GENERATED}/icons/tumbo-${size}.png"
    DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps" RENAME tumbo.png)
endforeach()
