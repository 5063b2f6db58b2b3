# The installation: one folder with the host, the library beside it, the
# virtual camera's registration tools under the names the host starts, the
# browser registration tool and the README. `cmake --install` lays it out
# (on Linux by default as /opt/TavmoClientForWeb); `cpack` packs it as a .deb
# (into /opt/TavmoClientForWeb) and a .tar.gz on Linux, as a .zip on Windows.
if(NOT WIN32 AND CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/TavmoClientForWeb CACHE PATH "Where cmake --install puts the installation" FORCE)
endif()

set(TAVMO_INSTALL_COMPONENT TavmoClientForWeb)
# The host finds the library beside itself wherever the folder is put. The
# build tree uses the same search path: otherwise the build path is padded
# for the install's rewrite, and the padding's empty entry would make the
# loader search the current directory.
set_target_properties(TavmoClientForWeb PROPERTIES INSTALL_RPATH "$ORIGIN" BUILD_WITH_INSTALL_RPATH ON)
install(TARGETS TavmoClientForWeb TavmoClientDll TavmoRegisterBrowsers
  RUNTIME DESTINATION . COMPONENT ${TAVMO_INSTALL_COMPONENT}
  LIBRARY DESTINATION . COMPONENT ${TAVMO_INSTALL_COMPONENT}
  ARCHIVE DESTINATION lib COMPONENT Development EXCLUDE_FROM_ALL)
# The approval dialogs' module, which the host loads from beside itself.
if(TARGET TavmoApprovalDialog)
  install(TARGETS TavmoApprovalDialog LIBRARY DESTINATION . COMPONENT ${TAVMO_INSTALL_COMPONENT})
endif()
install(PROGRAMS $<TARGET_FILE:RegSvrUsr> DESTINATION . RENAME RegSvrUsr.exe COMPONENT ${TAVMO_INSTALL_COMPONENT})
install(PROGRAMS $<TARGET_FILE:RegSvrUsr> DESTINATION x64 RENAME RegSvrUsr64.exe
        COMPONENT ${TAVMO_INSTALL_COMPONENT})
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . COMPONENT ${TAVMO_INSTALL_COMPONENT})

set(CPACK_PACKAGE_NAME TavmoClientForWeb)
set(CPACK_PACKAGE_VENDOR Tavmo)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Native-messaging host through which a web page runs video conferences on the conferencing client library")
set(CPACK_STRIP_FILES ON)
# Only the installation itself, not what test frameworks install.
set(CPACK_COMPONENTS_ALL ${TAVMO_INSTALL_COMPONENT})
if(WIN32)
  set(CPACK_GENERATOR ZIP)
else()
  set(CPACK_GENERATOR DEB TGZ)
  set(CPACK_DEBIAN_PACKAGE_NAME tavmo-client-for-web)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "TavmoClientForWeb team")
  set(CPACK_DEBIAN_PACKAGE_SECTION net)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  # The .deb installs into /opt; the archive unpacks into a folder of its own.
  set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackagePrefix.cmake)
endif()
include(CPack)
