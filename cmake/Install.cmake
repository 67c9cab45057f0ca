# Install rules. On Linux the programs go to a normal prefix layout:
#   bin/pavisor-key-manager                        the application
#   bin/pavisor-cli                                the command-line tool (once it is part of the build)
#   libexec/pavisor-key-manager/Help_Viewer        the help viewer, where the application looks for it
#   share/applications, share/metainfo, share/icons/hicolor   menu entry, software centre data, icons
#   share/man/man1/pavisor-key-manager.1.gz, pavisor-cli.1.gz
#   lib/udev/rules.d/70-pavisor.rules              device access for the logged-in user, 1 ms latency timer
# The help pages and the translations are compiled into the programs as Qt resources, so they are
# installed with them. The build folder keeps its bundle shape; the application tells the two
# layouts apart by its own folder (Configuration::isBundled). On macOS the bundle is what is
# installed (cmake/Packaging.cmake).
include(GNUInstallDirs)

set(PAVISOR_APPLICATION_ID "com.pavisor.KeyManager")
set(PAVISOR_UDEV_RULE_NAME "70-pavisor.rules")
set(PAVISOR_INSTALL_HELPER_DIR "${CMAKE_INSTALL_LIBEXECDIR}/pavisor-key-manager")
# The application finds its helper folder from its own: "../libexec/pavisor-key-manager" for the
# default directories.
file(RELATIVE_PATH PAVISOR_HELPER_DIR_FROM_BIN "/prefix/${CMAKE_INSTALL_BINDIR}" "/prefix/${PAVISOR_INSTALL_HELPER_DIR}")
target_compile_definitions(Pavisor PRIVATE
  PAVISOR_INSTALLED_RESOURCES_DIR="${PAVISOR_HELPER_DIR_FROM_BIN}"
  PAVISOR_UDEV_RULE_NAME="${PAVISOR_UDEV_RULE_NAME}")
target_compile_definitions(PavisorKeyManager PRIVATE PAVISOR_APPLICATION_ID="${PAVISOR_APPLICATION_ID}")
# The start-up test runs a copy of itself from an installed-shaped folder.
if(TARGET tst_startup)
  target_compile_definitions(tst_startup PRIVATE PAVISOR_HELPER_DIR_FROM_BIN="${PAVISOR_HELPER_DIR_FROM_BIN}")
endif()

# Renders the application icon to PNG files at the given sizes (for the Linux icon theme and the
# macOS .icns), with Qt's own SVG renderer, so that no other tool is needed.
add_executable(pavisor_icon_render packaging/IconRender.cpp)
target_link_libraries(pavisor_icon_render PRIVATE Qt6::Gui Qt6::Svg)
set_target_properties(pavisor_icon_render PROPERTIES
  AUTOMOC OFF AUTOUIC OFF AUTORCC OFF RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}/packaging")
# Run at build time: a sanitized build must not fail on what Qt keeps allocated until exit.
set(PAVISOR_ICON_RENDER "${CMAKE_COMMAND}" -E env ASAN_OPTIONS=detect_leaks=0 "$<TARGET_FILE:pavisor_icon_render>")

if(APPLE OR NOT UNIX)
  return()
endif()

# The application's build name holds spaces (the bundle's); installed, it gets a command's name.
# install(TARGETS) cannot rename, so the file is installed as a program and stripped like targets are.
install(PROGRAMS "$<TARGET_FILE:PavisorKeyManager>" DESTINATION "${CMAKE_INSTALL_BINDIR}"
        RENAME pavisor-key-manager)
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_STRIP}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/pavisor-key-manager\")
  endif()")
install(TARGETS Help_Viewer RUNTIME DESTINATION "${PAVISOR_INSTALL_HELPER_DIR}")
install(FILES "packaging/linux/${PAVISOR_UDEV_RULE_NAME}" DESTINATION "lib/udev/rules.d")
install(FILES "packaging/linux/${PAVISOR_APPLICATION_ID}.desktop"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
# The release of PROJECT_VERSION, as software centres show it; changed with the version.
set(PAVISOR_RELEASE_DATE "2026-12-06")
configure_file("packaging/linux/${PAVISOR_APPLICATION_ID}.metainfo.xml.in"
               "packaging/${PAVISOR_APPLICATION_ID}.metainfo.xml" @ONLY)
install(FILES "${CMAKE_BINARY_DIR}/packaging/${PAVISOR_APPLICATION_ID}.metainfo.xml"
        DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo")

# The theme's scalable icon, and PNG sizes for menus that want bitmaps.
install(FILES resources/Icon.svg DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps"
        RENAME "${PAVISOR_APPLICATION_ID}.svg")
set(icon_outputs)
set(icon_arguments)
foreach(size 16 24 32 48 64 128 256)
  set(icon "${CMAKE_BINARY_DIR}/packaging/icons/${size}/${PAVISOR_APPLICATION_ID}.png")
  list(APPEND icon_outputs "${icon}")
  list(APPEND icon_arguments "${size}" "${icon}")
  install(FILES "${icon}" DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps")
endforeach()
add_custom_command(OUTPUT ${icon_outputs}
  COMMAND ${PAVISOR_ICON_RENDER} "${CMAKE_SOURCE_DIR}/resources/Icon.svg" ${icon_arguments}
  DEPENDS pavisor_icon_render resources/Icon.svg
  COMMENT "Rendering the application icon")
add_custom_target(pavisor_icons ALL DEPENDS ${icon_outputs})

# Debian's layout wants manual pages compressed; -n keeps the archive free of a time stamp.
set(man_pages pavisor-key-manager.1)
if(TARGET pavisor-cli)
  install(TARGETS pavisor-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}")
  list(APPEND man_pages pavisor-cli.1)
endif()
set(man_outputs)
foreach(man_page IN LISTS man_pages)
  set(man_output "${CMAKE_BINARY_DIR}/packaging/${man_page}.gz")
  add_custom_command(OUTPUT "${man_output}"
    COMMAND gzip -9nc "${CMAKE_SOURCE_DIR}/packaging/linux/${man_page}" > "${man_output}"
    DEPENDS "packaging/linux/${man_page}"
    COMMENT "Compressing the manual page ${man_page}")
  list(APPEND man_outputs "${man_output}")
  install(FILES "${man_output}" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1")
endforeach()
add_custom_target(pavisor_man_pages ALL DEPENDS ${man_outputs})
