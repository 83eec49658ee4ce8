# What an installation carries beside the programs, for desktops and package managers:
# each program's manual page, the desktop entry, the software-centre metadata and the icon
# at the usual sizes.
# scripts/package-deb.sh builds the Debian package from these rules.

# The project has no published home yet: its links and identity use example.org, a name
# reserved for examples that never leads to anyone else's site. Change both here once it
# has one.
set(QUORVEL_WEB_BASE "https://example.org/quorvel" CACHE STRING
  "Where the project's pages and pictures are published; the metainfo's links point there")
set(QUORVEL_APP_ID "org.example.quorvel" CACHE STRING
  "The software-centre identity of the desktop program (reverse domain name)")

# A program's manual page is installed with the program, whenever its target exists.
foreach(program vaskinterface quorvel-sim quorvel)
  install(FILES "$<$<TARGET_EXISTS:${program}>:${PROJECT_SOURCE_DIR}/packaging/man/${program}.1>"
          DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

# The desktop entry is named after the software-centre identity, by which desktops match
# the running window (its desktop file name, which the program sets) to its entry.
if(NOT WIN32)
  install(FILES packaging/quorvel.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          RENAME ${QUORVEL_APP_ID}.desktop)
endif()
target_compile_definitions(vask_app PRIVATE QUORVEL_APP_ID="${QUORVEL_APP_ID}")

configure_file(packaging/quorvel.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/packaging/${QUORVEL_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${QUORVEL_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# PNG icons for desktops and icon caches that do not draw SVG, made from the one drawing.
find_program(RSVG_CONVERT rsvg-convert)
if(QUORVEL_PNG_ICONS AND NOT RSVG_CONVERT)
  message(FATAL_ERROR "QUORVEL_PNG_ICONS needs rsvg-convert (Debian package librsvg2-bin)")
endif()
if(RSVG_CONVERT)
  set(svg ${PROJECT_SOURCE_DIR}/packaging/quorvel.svg)
  set(pngs)
  foreach(size 16 22 24 32 48 64 128 256)
    set(dir ${PROJECT_BINARY_DIR}/packaging/icons/${size}x${size})
    add_custom_command(OUTPUT ${dir}/quorvel.png
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND ${RSVG_CONVERT} --width ${size} --height ${size} --output ${dir}/quorvel.png ${svg}
      DEPENDS ${svg} VERBATIM)
    list(APPEND pngs ${dir}/quorvel.png)
    install(FILES ${dir}/quorvel.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(quorvel_png_icons ALL DEPENDS ${pngs})
  # They are the program's icons: whatever builds the program has them to install.
  add_dependencies(vaskinterface quorvel_png_icons)
endif()
