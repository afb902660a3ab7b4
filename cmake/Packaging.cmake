# Packages people install: `cmake --build --preset default --target package` makes the one of
# this platform from the built tree. Linux: tarqsysvalidation_<version>_<arch>.deb, everything
# under /usr. macOS: TarqSysValidation-<version>.dmg holding the app bundle.

include(GNUInstallDirs)

# The window program as people install it. On macOS TarqSysValidation.app, with tarq-validate
# inside it, signed for the app sandbox when an identity is given; on Linux its desktop entry and
# icon.
if(APPLE)
  set(TARQ_BUNDLE_IDENTIFIER "com.tarq.TarqSysValidation" CACHE STRING "The app's bundle identifier")
  set(TARQ_CODESIGN_IDENTITY "" CACHE STRING "codesign identity; empty leaves the app unsigned")
  set_target_properties(TarqSysValidation PROPERTIES
    MACOSX_BUNDLE_INFO_PLIST ${PROJECT_SOURCE_DIR}/packaging/macos/Info.plist.in
    MACOSX_BUNDLE_GUI_IDENTIFIER ${TARQ_BUNDLE_IDENTIFIER}
    MACOSX_BUNDLE_BUNDLE_NAME TarqSysValidation
    MACOSX_BUNDLE_BUNDLE_VERSION ${PROJECT_VERSION}
    MACOSX_BUNDLE_SHORT_VERSION_STRING ${PROJECT_VERSION})
  # tarq-validate ships inside the bundle, beside the window program, for fleet tools; the bundle
  # is signed once it is whole. A target of its own, since build steps attached to the program's
  # target would have to be declared where that target is.
  set(bundle_steps
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:tarq-validate>
      $<TARGET_BUNDLE_CONTENT_DIR:TarqSysValidation>/MacOS/tarq-validate)
  if(TARQ_CODESIGN_IDENTITY)
    list(APPEND bundle_steps
      COMMAND ${CMAKE_COMMAND} -DBUNDLE=$<TARGET_BUNDLE_DIR:TarqSysValidation>
        -DIDENTITY=${TARQ_CODESIGN_IDENTITY}
        -DENTITLEMENTS=${PROJECT_SOURCE_DIR}/packaging/macos/TarqSysValidation.entitlements
        -P ${PROJECT_SOURCE_DIR}/packaging/macos/codesign.cmake)
  endif()
  add_custom_target(app_bundle ALL ${bundle_steps} VERBATIM)
  add_dependencies(app_bundle TarqSysValidation tarq-validate)
else()
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/linux/TarqSysValidation.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/linux/tarqsysvalidation.svg
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

set(CPACK_PACKAGE_NAME tarqsysvalidation)
set(CPACK_PACKAGE_VENDOR Tarq)
set(TARQ_PACKAGE_MAINTAINER "TarqSysValidation maintainers <maintainers@tarq.example>"
  CACHE STRING "The packages' maintainer, as 'Name <address>'")
set(CPACK_PACKAGE_CONTACT ${TARQ_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "system requirements check for the Tarq client application")
# Debian shows the description as written: lines of at most 80 columns.
set(CPACK_PACKAGE_DESCRIPTION [[
Before the client application is installed, TarqSysValidation checks whether
the machine meets its requirements: the operating-system version, memory,
processor, free disk space, USB version, screen size, Google Chrome and the
Mono Framework. The window shows one row per check with Pass, Warn or Fail;
tarq-validate prints the same report as text or JSON, for terminals and fleet
tools.

The client application needs macOS: on Linux the operating-system check always
fails.]])

# Manual pages (and Debian's changelog) are installed compressed, without a time stamp.
find_program(GZIP gzip REQUIRED)
function(tarq_install_compressed source name destination)
  set(copy ${PROJECT_BINARY_DIR}/compressed/${name})
  add_custom_command(OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    COMMAND ${GZIP} -9nf ${copy}
    DEPENDS ${source}
    VERBATIM)
  add_custom_target(compressed_${name} ALL DEPENDS ${copy}.gz)
  install(FILES ${copy}.gz DESTINATION ${destination})
endfunction()
tarq_install_compressed(${PROJECT_SOURCE_DIR}/src/cli/tarq-validate.1 tarq-validate.1
  ${CMAKE_INSTALL_MANDIR}/man1)

if(APPLE)
  # The disk image holds only the bundle (tarq-validate ships inside it), not the bin/ and
  # share/ that `cmake --install` also fills.
  set(CPACK_GENERATOR DragNDrop)
  set(CPACK_PACKAGE_FILE_NAME TarqSysValidation-${PROJECT_VERSION})
  set(CPACK_DMG_VOLUME_NAME TarqSysValidation)
  set(CPACK_INSTALL_CMAKE_PROJECTS "${PROJECT_BINARY_DIR};${PROJECT_NAME};bundle;/")
  if(TARQ_CODESIGN_IDENTITY)
    # Installing may rewrite the program's load commands, which voids the build's signature:
    # the staged copy is signed again, as after the build, before the image is made.
    set(CPACK_TARQ_CODESIGN_IDENTITY ${TARQ_CODESIGN_IDENTITY})
    set(CPACK_TARQ_ENTITLEMENTS ${PROJECT_SOURCE_DIR}/packaging/macos/TarqSysValidation.entitlements)
    set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/packaging/macos/codesign.cmake)
  endif()
else()
  set(linux_packaging ${PROJECT_SOURCE_DIR}/packaging/linux)
  file(STRINGS ${linux_packaging}/changelog latest_change LIMIT_COUNT 1)
  if(NOT latest_change MATCHES "^tarqsysvalidation \\(${PROJECT_VERSION}\\) ")
    message(FATAL_ERROR "packaging/linux/changelog has no entry for ${PROJECT_VERSION} at the top")
  endif()
  set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
  tarq_install_compressed(${linux_packaging}/changelog changelog ${doc_dir})
  install(FILES ${linux_packaging}/copyright DESTINATION ${doc_dir})
  # What administrators deploy it with: the fleet guide, the report's schema and the guide's
  # scripts, as documents (not executable: they are copied to Macs, not run from here).
  install(FILES ${PROJECT_SOURCE_DIR}/docs/FLEET.md ${PROJECT_SOURCE_DIR}/docs/report.schema.json
    DESTINATION ${doc_dir})
  file(GLOB fleet_examples ${PROJECT_SOURCE_DIR}/docs/fleet/*)
  install(FILES ${fleet_examples} DESTINATION ${doc_dir}/fleet)
  install(FILES ${linux_packaging}/lintian-overrides
    DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME ${CPACK_PACKAGE_NAME})
  tarq_install_compressed(${linux_packaging}/TarqSysValidation.1 TarqSysValidation.1
    ${CMAKE_INSTALL_MANDIR}/man1)

  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The screen probe loads these with dlopen, out of dpkg-shlibdeps's sight.
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "libxcb1, libxcb-randr0")
endif()

include(CPack)
