# The Windows installer: an MSI made with wixl (msitools) from the staged
# installation, by cpack's External generator (cmake/installer/MakeInstaller.cmake).
# Per machine by default (Program Files, HKEY_LOCAL_MACHINE); per user with
# ALLUSERS="" (the user's local application data folder, HKEY_CURRENT_USER).
# Its own tables write the installation folder, the native-messaging manifest,
# each browser's NativeMessagingHosts key and the setup record, and remove
# exactly those again: no program runs during installation.
find_program(TAVMO_WIXL wixl)
find_program(TAVMO_MSIBUILD msibuild)
if(TAVMO_WIXL AND TAVMO_MSIBUILD)
  list(APPEND CPACK_GENERATOR External)
  set(CPACK_EXTERNAL_ENABLE_STAGING ON)
  set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/installer/MakeInstaller.cmake)
  # What the script needs besides cpack's own variables.
  set(CPACK_TAVMO_WIXL ${TAVMO_WIXL})
  set(CPACK_TAVMO_MSIBUILD ${TAVMO_MSIBUILD})
  set(CPACK_TAVMO_INSTALLER_SOURCE ${CMAKE_CURRENT_LIST_DIR}/installer)
  # The manifest's texts and the setup record (cmake/Facts.cmake).
  set(CPACK_TAVMO_HostName "${TAVMO_HOST_NAME}")
  set(CPACK_TAVMO_ExtensionOrigin "${TAVMO_EXTENSION_ORIGIN}")
  set(CPACK_TAVMO_HostDescription "${TAVMO_HOST_DESCRIPTION}")
  set(CPACK_TAVMO_SetupKey "${TAVMO_SETUP_KEY}")
  set(CPACK_TAVMO_SetupEntry "${TAVMO_SETUP_ENTRY}")
  set(CPACK_TAVMO_ARCHITECTURE x86)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_TAVMO_ARCHITECTURE x64)
  endif()
else()
  message(STATUS "wixl or msibuild not found: cpack makes no Windows installer (Debian: apt-get install wixl msitools)")
endif()
