# jsoncpp: the distribution's package on Linux. A cross build provides the
# target `tavmo_jsoncpp` itself before this file is included.
if(NOT TARGET tavmo_jsoncpp)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(JSONCPP REQUIRED IMPORTED_TARGET jsoncpp)
  add_library(tavmo_jsoncpp INTERFACE)
  target_link_libraries(tavmo_jsoncpp INTERFACE PkgConfig::JSONCPP)
endif()
