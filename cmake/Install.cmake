# Where an installed Торавель lies:
#   bin/toravel, bin/toravel-cli,          launchers (shell scripts)
#     bin/toravel-pdf
#   libexec/toravel/                       the programs themselves
#   share/toravel/db/atlas.ini, bd.mdb     the data files
#   share/applications, metainfo, icons    desktop integration
# The programs look for db/ in their working directory, so the launcher of
# the desktop application starts it in share/toravel and those of the
# command-line programs (toravel-cli, toravel-pdf) pass --db. Each piece is
# installed once its target exists in the build.
include(GNUInstallDirs)

set(TORAVEL_INSTALL_PROGRAMDIR ${CMAKE_INSTALL_LIBEXECDIR}/toravel)
set(TORAVEL_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/toravel)
set(TORAVEL_APP_ID ru.toravel.Toravel)
set(_packaging_src ${PROJECT_SOURCE_DIR}/packaging)
set(_packaging_bin ${PROJECT_BINARY_DIR}/packaging)

# The launchers find the programs and the data from their own place, so the
# same script serves /usr, /usr/local and a package unpacked anywhere.
file(RELATIVE_PATH TORAVEL_BIN_TO_PROGRAMS
     ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${TORAVEL_INSTALL_PROGRAMDIR})
file(RELATIVE_PATH TORAVEL_BIN_TO_DATA
     ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_PREFIX}/${TORAVEL_INSTALL_DATADIR})

function(toravel_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${TORAVEL_INSTALL_PROGRAMDIR})
  configure_file(${_packaging_src}/${target}.in ${_packaging_bin}/${target} @ONLY)
  install(PROGRAMS ${_packaging_bin}/${target} DESTINATION ${CMAKE_INSTALL_BINDIR})
endfunction()

if(TARGET toravel-cli)
  toravel_install_program(toravel-cli)
endif()
if(TARGET toravel-pdf)
  toravel_install_program(toravel-pdf)
endif()

# The data files as the build writes them into its db/.
if(TARGET toravel-data)
  install(FILES ${PROJECT_BINARY_DIR}/db/atlas.ini ${PROJECT_BINARY_DIR}/db/bd.mdb
          DESTINATION ${TORAVEL_INSTALL_DATADIR}/db)
endif()

if(TARGET toravel)
  toravel_install_program(toravel)

  # The menu entry names absolute paths, which are known only when
  # installing: a package is staged with its own prefix (/usr).
  install(CODE "
    set(TORAVEL_DESKTOP_BIN_DIR \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
    set(TORAVEL_DESKTOP_DATA_DIR \"\${CMAKE_INSTALL_PREFIX}/${TORAVEL_INSTALL_DATADIR}\")
    set(_entry \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_DATADIR}/applications/${TORAVEL_APP_ID}.desktop\")
    message(STATUS \"Installing: \${_entry}\")
    configure_file(\"${_packaging_src}/${TORAVEL_APP_ID}.desktop.in\" \"\${_entry}\" @ONLY)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${_entry}\")")
  install(FILES ${_packaging_src}/${TORAVEL_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

  # The icon: the hand-drawn SVG, and PNG renders of it for the sizes
  # menus ask for, made by rsvg-convert when it is there.
  install(FILES ${_packaging_src}/${TORAVEL_APP_ID}.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  find_program(TORAVEL_RSVG_CONVERT rsvg-convert)
  if(TORAVEL_RSVG_CONVERT)
    set(_icons)
    foreach(size 48 128 256)
      set(_png ${_packaging_bin}/icons/${size}x${size}/${TORAVEL_APP_ID}.png)
      add_custom_command(
        OUTPUT ${_png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_packaging_bin}/icons/${size}x${size}
        COMMAND ${TORAVEL_RSVG_CONVERT} --width ${size} --height ${size}
                --output ${_png} ${_packaging_src}/${TORAVEL_APP_ID}.svg
        DEPENDS ${_packaging_src}/${TORAVEL_APP_ID}.svg
        COMMENT "Rendering the ${size} px icon"
        VERBATIM)
      install(FILES ${_png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
      list(APPEND _icons ${_png})
    endforeach()
    add_custom_target(toravel-icons ALL DEPENDS ${_icons})
  else()
    message(STATUS "rsvg-convert not found: only the scalable icon is installed")
  endif()
endif()

install(FILES ${_packaging_src}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

include(${CMAKE_CURRENT_LIST_DIR}/Packaging.cmake)
