# The one source of the version: the project's version, MAJOR.MINOR.PATCH.BUILD.
# Everything else is made from it: the host's own version text
# ("1.3.7_0003": the release, then the build in four digits) and the packages'
# versions; cmake/Facts.cmake hands it on with the other shared facts.
string(LENGTH "${PROJECT_VERSION_TWEAK}" TAVMO_BUILD_DIGITS)
if(TAVMO_BUILD_DIGITS EQUAL 0 OR TAVMO_BUILD_DIGITS GREATER 4)
  message(FATAL_ERROR "The project's version needs a build number of 1 to 4 digits: ${PROJECT_VERSION}")
endif()
math(EXPR TAVMO_BUILD_PADDING_LENGTH "4 - ${TAVMO_BUILD_DIGITS}")
string(REPEAT "0" ${TAVMO_BUILD_PADDING_LENGTH} TAVMO_BUILD_PADDING)
set(TAVMO_RELEASE "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}")
set(TAVMO_HOST_VERSION "${TAVMO_RELEASE}_${TAVMO_BUILD_PADDING}${PROJECT_VERSION_TWEAK}")

# CHANGELOG.md is kept with the version: its first heading is this release's.
file(STRINGS ${PROJECT_SOURCE_DIR}/CHANGELOG.md TAVMO_RELEASE_HEADING REGEX "^## " LIMIT_COUNT 1)
if(NOT TAVMO_RELEASE_HEADING MATCHES "^## ([0-9.]+) \\(([0-9]+-[0-9]+-[0-9]+)\\)$")
  message(FATAL_ERROR "CHANGELOG.md: the first release heading is not \"## VERSION (YYYY-MM-DD)\": ${TAVMO_RELEASE_HEADING}")
endif()
if(NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "CHANGELOG.md: the top release is ${CMAKE_MATCH_1}, the project's version ${PROJECT_VERSION}")
endif()
set(TAVMO_RELEASE_DATE ${CMAKE_MATCH_2})
