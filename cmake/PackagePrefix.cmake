# Read by cpack for each generator: where the package puts the installation.
if(CPACK_GENERATOR STREQUAL "DEB")
  set(CPACK_PACKAGING_INSTALL_PREFIX /opt/TavmoClientForWeb)
endif()
