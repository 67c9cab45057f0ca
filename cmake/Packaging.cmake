# Packages made with CPack (scripts/package.sh): a Debian package on Linux, a disk image holding
# the application bundle on macOS, from the install rules.
include("${CMAKE_CURRENT_LIST_DIR}/Install.cmake")

set(CPACK_PACKAGE_NAME "pavisor-key-manager")
set(CPACK_PACKAGE_VENDOR "Pavisor")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "Pavisor <support@pavisor.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Manage the passwords kept on a Pavisor USB device")
# One string: the Debian generator indents each of its lines under the summary.
set(CPACK_PACKAGE_DESCRIPTION "The desktop companion of the Pavisor, a small USB hardware password vault: \
it reads the device's encrypted memories, opens them with the master password, and lets the records \
be edited, searched, imported, exported and saved back with verification.
It comes with its help pages, a command-line tool for encrypted backups, and a udev rule that gives \
the logged-in user access to the device and sets its USB adapter's latency timer to 1 ms.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.pavisor.com")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Pavisor Key Manager")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY "${CMAKE_BINARY_DIR}/packages")

if(APPLE)
  # The build output is already bundle-shaped; CMake now makes it a real bundle with an Info.plist
  # and its icon, and the help viewer a bundle of its own inside it, so that both can be signed.
  # The oldest macOS that the bundle's Info.plist admits: the build's deployment target, or that of
  # the Qt 6 releases Homebrew ships. A cache entry, so the help viewer's folder sees it too.
  if(CMAKE_OSX_DEPLOYMENT_TARGET)
    set(minimum_version "${CMAKE_OSX_DEPLOYMENT_TARGET}")
  else()
    set(minimum_version "12.0")
  endif()
  set(PAVISOR_MACOS_MINIMUM_VERSION "${minimum_version}" CACHE INTERNAL "")
  set(icon_set "${CMAKE_BINARY_DIR}/packaging/Pavisor.iconset")
  set(icon_file "${CMAKE_BINARY_DIR}/packaging/Pavisor.icns")
  set(icon_arguments)
  foreach(size 16 32 128 256 512)
    math(EXPR double_size "${size} * 2")
    list(APPEND icon_arguments
      "${size}" "${icon_set}/icon_${size}x${size}.png"
      "${double_size}" "${icon_set}/icon_${size}x${size}@2x.png")
  endforeach()
  add_custom_command(OUTPUT "${icon_file}"
    COMMAND ${PAVISOR_ICON_RENDER} "${CMAKE_SOURCE_DIR}/resources/Icon.svg" ${icon_arguments}
    COMMAND iconutil -c icns -o "${icon_file}" "${icon_set}"
    DEPENDS pavisor_icon_render resources/Icon.svg
    COMMENT "Making the application icon")
  target_sources(PavisorKeyManager PRIVATE "${icon_file}")
  set_source_files_properties("${icon_file}" PROPERTIES MACOSX_PACKAGE_LOCATION Resources)
  set_target_properties(PavisorKeyManager PROPERTIES
    MACOSX_BUNDLE TRUE
    MACOSX_BUNDLE_INFO_PLIST "${CMAKE_SOURCE_DIR}/packaging/macos/Info.plist.in"
    MACOSX_BUNDLE_GUI_IDENTIFIER "${PAVISOR_APPLICATION_ID}"
    RUNTIME_OUTPUT_DIRECTORY "${CMAKE_BINARY_DIR}")
  set_target_properties(Help_Viewer PROPERTIES
    MACOSX_BUNDLE TRUE
    MACOSX_BUNDLE_INFO_PLIST "${CMAKE_SOURCE_DIR}/packaging/macos/Info.plist.in"
    MACOSX_BUNDLE_GUI_IDENTIFIER "${PAVISOR_APPLICATION_ID}.HelpViewer"
    RUNTIME_OUTPUT_DIRECTORY "${PAVISOR_BUNDLE_RESOURCES_DIR}")

  set(bundle "Pavisor Key Manager.app")
  install(TARGETS PavisorKeyManager BUNDLE DESTINATION .)
  if(TARGET pavisor-cli)
    install(TARGETS pavisor-cli RUNTIME DESTINATION "${bundle}/Contents/MacOS")
  endif()
  # macdeployqt copies the Qt frameworks and plugins into the installed bundle and points every
  # program of it at them; with PAVISOR_CODESIGN_IDENTITY it also signs them (hardened runtime,
  # secure time stamp), ready for notarisation.
  find_program(PAVISOR_MACDEPLOYQT macdeployqt HINTS "${QT6_INSTALL_PREFIX}/${QT6_INSTALL_BINS}")
  set(PAVISOR_CODESIGN_IDENTITY "" CACHE STRING "Signing identity for the macOS bundle (empty: not signed)")
  set(deploy_options "-executable=\${bundle_path}/Contents/Resources/Help_Viewer.app/Contents/MacOS/Help_Viewer")
  if(TARGET pavisor-cli)
    list(APPEND deploy_options "-executable=\${bundle_path}/Contents/MacOS/pavisor-cli")
  endif()
  if(PAVISOR_CODESIGN_IDENTITY)
    list(APPEND deploy_options "-codesign=${PAVISOR_CODESIGN_IDENTITY}" -hardened-runtime -timestamp)
  endif()
  # Each option quoted in the install script: a signing identity holds spaces and parentheses.
  set(deploy_arguments "")
  foreach(option IN LISTS deploy_options)
    string(APPEND deploy_arguments " \"${option}\"")
  endforeach()
  install(CODE "
    set(bundle_path \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${bundle}\")
    if(NOT EXISTS \"${PAVISOR_MACDEPLOYQT}\")
      message(FATAL_ERROR \"macdeployqt was not found next to Qt (PAVISOR_MACDEPLOYQT)\")
    endif()
    execute_process(COMMAND \"${PAVISOR_MACDEPLOYQT}\" \"\${bundle_path}\" -always-overwrite ${deploy_arguments}
                    RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
      message(FATAL_ERROR \"macdeployqt failed on \${bundle_path}\")
    endif()")

  set(CPACK_GENERATOR "DragNDrop")
  set(CPACK_DMG_VOLUME_NAME "Pavisor Key Manager")
  set(CPACK_DMG_FORMAT "UDZO")
  set(CPACK_PACKAGE_FILE_NAME "Pavisor-Key-Manager-${PROJECT_VERSION}")
elseif(UNIX)
  set(CPACK_GENERATOR "DEB")
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION "utils")
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # Added to what dpkg-shlibdeps finds: Qt's platform plugins are loaded at run time, not linked.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")
  # The script applies the rule to a device that is already plugged in. There is no removal script
  # (udev notices a removed rule file by itself), so removing the package leaves nothing behind.
  set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA "${CMAKE_SOURCE_DIR}/packaging/linux/postinst")
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION TRUE)
endif()

include(CPack)
