# The installation: one folder with the host, the library beside it, the
# virtual camera's registration tools under the names the host starts, the
# browser registration tool, the README and the licence. `cmake --install`
# lays it out (on Linux by default as /opt/TavmoClientForWeb). `cpack` packs
# it: on Linux as a Debian package (cmake/DebianPackage.cmake) and a .tar.gz,
# on Windows as an MSI installer (cmake/WindowsInstaller.cmake) and a .zip.
if(NOT WIN32 AND CMAKE_INSTALL_PREFIX_INITIALIZED_TO_DEFAULT)
  set(CMAKE_INSTALL_PREFIX /opt/TavmoClientForWeb CACHE PATH "Where cmake --install puts the installation" FORCE)
endif()

set(TAVMO_INSTALL_COMPONENT TavmoClientForWeb)
# The host finds the library beside itself wherever the folder is put. The
# build tree uses the same search path: otherwise the build path is padded
# for the install's rewrite, and the padding's empty entry would make the
# loader search the current directory.
set_target_properties(TavmoClientForWeb PROPERTIES INSTALL_RPATH "$ORIGIN" BUILD_WITH_INSTALL_RPATH ON)
# What the installation holds, so that `--target installation` builds just that.
set(TAVMO_INSTALLED_TARGETS TavmoClientForWeb TavmoClientDll TavmoRegisterBrowsers RegSvrUsr RegSvrUsr64)
if(TARGET TavmoApprovalDialog)
  list(APPEND TAVMO_INSTALLED_TARGETS TavmoApprovalDialog)
endif()
add_custom_target(installation)
add_dependencies(installation ${TAVMO_INSTALLED_TARGETS})
install(TARGETS TavmoClientForWeb TavmoClientDll TavmoRegisterBrowsers RegSvrUsr
  RUNTIME DESTINATION . COMPONENT ${TAVMO_INSTALL_COMPONENT}
  LIBRARY DESTINATION . COMPONENT ${TAVMO_INSTALL_COMPONENT}
  ARCHIVE DESTINATION lib COMPONENT Development EXCLUDE_FROM_ALL)
install(TARGETS RegSvrUsr64 RUNTIME DESTINATION x64 COMPONENT ${TAVMO_INSTALL_COMPONENT})
# The approval dialogs' module, which the host loads from beside itself.
if(TARGET TavmoApprovalDialog)
  install(TARGETS TavmoApprovalDialog LIBRARY DESTINATION . COMPONENT ${TAVMO_INSTALL_COMPONENT})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION . COMPONENT ${TAVMO_INSTALL_COMPONENT})
# A component of its own: a Debian package states the licence in its
# copyright file instead.
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . COMPONENT Licence)

set(CPACK_PACKAGE_NAME TavmoClientForWeb)
set(CPACK_PACKAGE_VENDOR Tavmo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_STRIP_FILES ON)
# Only the installation itself, not what test frameworks install.
set(CPACK_COMPONENTS_ALL ${TAVMO_INSTALL_COMPONENT} Licence)
# Read by cpack for each generator.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackagePrefix.cmake)
if(WIN32)
  set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
      "Native-messaging host through which a web page runs video conferences on the conferencing client library")
  set(CPACK_GENERATOR ZIP)
  include(cmake/WindowsInstaller.cmake)
else()
  set(CPACK_GENERATOR DEB TGZ)
  include(cmake/DebianPackage.cmake)
endif()
include(CPack)
