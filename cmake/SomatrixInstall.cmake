# Installation and the Debian package.
#
# The installed program folder is <prefix>/lib/somatrix: the programs, "Somatrix.ini", the
# pictures (JPG/) and the manual (Document/) side by side, as the program looks for them beside
# its executable. <prefix>/bin holds links to the programs. The desktop entry, the AppStream
# metadata, the review-file type and the program icon go where the desktop finds them. The
# installed program folder is not writable, so the logs go to the user's documents.

set(SOMATRIX_SHOP_URL "" CACHE STRING "Address the toolbar's shop button opens (empty: none)")
if(WIN32)
  # On Windows the installation is the program folder itself.
  set(SOMATRIX_INSTALL_PROGRAM_DIR .)
else()
  set(SOMATRIX_INSTALL_PROGRAM_DIR lib/somatrix)
endif()
set(SOMATRIX_APP_ID org.somatrix.Somatrix)

# The build tree's program folder gets the same configuration file as an installation.
configure_file(${PROJECT_SOURCE_DIR}/packaging/Somatrix.ini ${SOMATRIX_PROGRAM_DIR}/Somatrix.ini
  @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/packaging/${SOMATRIX_APP_ID}.metainfo.xml
  ${PROJECT_BINARY_DIR}/packaging/${SOMATRIX_APP_ID}.metainfo.xml @ONLY)

set(installed_programs "")
foreach(program somatrix somatrix-cli somatrix-sim tessaly)
  if(TARGET ${program})
    list(APPEND installed_programs ${program})
  endif()
endforeach()
install(TARGETS ${installed_programs} RUNTIME DESTINATION ${SOMATRIX_INSTALL_PROGRAM_DIR})
install(FILES ${SOMATRIX_PROGRAM_DIR}/Somatrix.ini DESTINATION ${SOMATRIX_INSTALL_PROGRAM_DIR})
if(TARGET tessaly)
  # The serial-control installer starts its batch files from beside itself.
  install(FILES ${TESSALY_BATCH_FILES} DESTINATION ${SOMATRIX_INSTALL_PROGRAM_DIR})
endif()
foreach(folder JPG Document)
  install(DIRECTORY ${SOMATRIX_PROGRAM_DIR}/${folder} DESTINATION ${SOMATRIX_INSTALL_PROGRAM_DIR}
    OPTIONAL)
endforeach()

if(WIN32)
  return()
endif()

# Links in bin/ for the programs a user starts by name.
foreach(program IN LISTS installed_programs)
  install(CODE "
    set(bin \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
    file(MAKE_DIRECTORY \"\${bin}\")
    file(CREATE_LINK ../${SOMATRIX_INSTALL_PROGRAM_DIR}/${program} \"\${bin}/${program}\"
      SYMBOLIC)
    message(STATUS \"Installing: \${bin}/${program} -> ../${SOMATRIX_INSTALL_PROGRAM_DIR}/${program}\")
  ")
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/${SOMATRIX_APP_ID}.desktop
  DESTINATION share/applications)
install(FILES ${PROJECT_BINARY_DIR}/packaging/${SOMATRIX_APP_ID}.metainfo.xml
  DESTINATION share/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/somatrix-mime.xml
  DESTINATION share/mime/packages RENAME somatrix.xml)
install(DIRECTORY ${PROJECT_BINARY_DIR}/assets/hicolor DESTINATION share/icons OPTIONAL)

# cpack -G DEB: somatrix_<version>_<arch>.deb, installable with apt install ./somatrix_*.deb. The
# library dependencies are found by dpkg-shlibdeps; the desktop, icon and MIME caches are
# refreshed by the triggers of the packages that own them.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME somatrix)
set(CPACK_PACKAGE_VENDOR "Somatrix")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Somatrix developers <dev@somatrix.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Acquisition program for USB physiological sensors")
set(CPACK_PACKAGE_DESCRIPTION "Somatrix scans the serial ports for physiological sensors \
(ECG, heart sound, blood pressure, respiration, pulse, temperature, blood oxygen, EMG, skin \
resistance, gastro-intestinal activity), measures, shows the live waveform and the decoded \
values, logs raw bytes or readings, and reviews recorded waveform files.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
  "fonts-noto-cjk | fonts-wqy-microhei, xdg-utils, hicolor-icon-theme, shared-mime-info")
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://somatrix.org/")
include(CPack)
