# Read by cpack for each generator: where the package puts the installation,
# and what it carries.
if(CPACK_GENERATOR STREQUAL "DEB")
  # Lintian refuses /opt in a Debian package; the licence is in the copyright
  # file of the package's documentation.
  set(CPACK_PACKAGING_INSTALL_PREFIX /usr/lib/tavmo-client-for-web)
  set(CPACK_COMPONENTS_ALL TavmoClientForWeb DebianDocumentation)
  # Only the components named, all in one package.
  set(CPACK_DEB_COMPONENT_INSTALL ON)
  set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
endif()
