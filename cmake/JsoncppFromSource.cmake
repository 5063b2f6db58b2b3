# jsoncpp for a cross build, and for a Linux build with TAVMO_STATIC_JSONCPP
# (CMakeLists.txt): Debian's source package, fetched once into
# TAVMO_JSONCPP_SOURCE_CACHE (kept between builds; several build folders may
# share one) and compiled for the target as the static library tavmo_jsoncpp.
set(TAVMO_JSONCPP_SOURCE_CACHE ${CMAKE_BINARY_DIR}/jsoncpp-source
    CACHE PATH "Where Debian's jsoncpp source package is unpacked")

file(GLOB TAVMO_JSONCPP_ROOT LIST_DIRECTORIES true ${TAVMO_JSONCPP_SOURCE_CACHE}/jsoncpp-*)
if(NOT TAVMO_JSONCPP_ROOT)
  message(STATUS "Fetching the jsoncpp source package into ${TAVMO_JSONCPP_SOURCE_CACHE}")
  execute_process(COMMAND ${CMAKE_CURRENT_LIST_DIR}/fetch-jsoncpp-source.sh ${TAVMO_JSONCPP_SOURCE_CACHE}
                  RESULT_VARIABLE TAVMO_JSONCPP_FETCH_RESULT)
  if(NOT TAVMO_JSONCPP_FETCH_RESULT EQUAL 0)
    message(FATAL_ERROR "Could not fetch the jsoncpp source package (a Linux build can do without: "
                        "-DTAVMO_STATIC_JSONCPP=OFF links the distribution's shared library)")
  endif()
  file(GLOB TAVMO_JSONCPP_ROOT LIST_DIRECTORIES true ${TAVMO_JSONCPP_SOURCE_CACHE}/jsoncpp-*)
endif()

add_library(tavmo_jsoncpp STATIC
  ${TAVMO_JSONCPP_ROOT}/src/lib_json/json_reader.cpp
  ${TAVMO_JSONCPP_ROOT}/src/lib_json/json_value.cpp
  ${TAVMO_JSONCPP_ROOT}/src/lib_json/json_writer.cpp)
target_include_directories(tavmo_jsoncpp SYSTEM PUBLIC ${TAVMO_JSONCPP_ROOT}/include)
# Not our code: its warnings are not ours to fix.
target_compile_options(tavmo_jsoncpp PRIVATE -w)
