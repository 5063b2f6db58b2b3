# The Debian package: a development kit for page developers, the host with
# the stand-in library. It installs into /usr/lib/tavmo-client-for-web, with
# its copyright and changelog in /usr/share/doc/tavmo-client-for-web, and
# registers the host with every user's browsers from its maintainer scripts.
set(TAVMO_DEBIAN_PACKAGE tavmo-client-for-web)
set(TAVMO_DEBIAN_FOLDER /usr/lib/${TAVMO_DEBIAN_PACKAGE})
set(TAVMO_PACKAGE_MAINTAINER "TavmoClientForWeb maintainers <tavmo-client-for-web@tavmo.example>"
    CACHE STRING "The packages' maintainer: a name and an address")

set(CPACK_DEBIAN_PACKAGE_NAME ${TAVMO_DEBIAN_PACKAGE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TAVMO_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The host opens libudev for its device watch at run time, so the linked
# libraries that dpkg-shlibdeps reads do not name it.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libudev1")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The summary, then the long description.
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "TavmoClientForWeb host with a stand-in library, for page developers")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "TavmoClientForWeb is the native-messaging host through which a browser
extension lets a web page run video conferences on the user's machine.
.
This package is a development kit: the host comes with a stand-in for the
conferencing client library, which simulates conferences, sign-ins and
devices, so that pages can be written and tested without the closed
library. Installing it registers the host with Chrome, Chromium, Edge and
Brave for every user of the machine; removing it removes that registration.")

# The changelog in Debian's form, dated as the top release of CHANGELOG.md
# (cmake/Version.cmake checks that it is this version's).
string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" TAVMO_RELEASE_DATE_MATCH "${TAVMO_RELEASE_DATE}")
set(TAVMO_RELEASE_YEAR ${CMAKE_MATCH_1})
set(TAVMO_RELEASE_DAY_TEXT ${CMAKE_MATCH_3})
# Month and day without their leading zeros, which math would not take.
math(EXPR TAVMO_RELEASE_MONTH "1${CMAKE_MATCH_2} - 100")
math(EXPR TAVMO_RELEASE_DAY "1${CMAKE_MATCH_3} - 100")
# The day of the week, as Debian's date form needs it (Zeller's congruence,
# January and February counted as months 13 and 14 of the year before).
set(TAVMO_ZELLER_MONTH ${TAVMO_RELEASE_MONTH})
set(TAVMO_ZELLER_YEAR ${TAVMO_RELEASE_YEAR})
if(TAVMO_RELEASE_MONTH LESS 3)
  math(EXPR TAVMO_ZELLER_MONTH "${TAVMO_RELEASE_MONTH} + 12")
  math(EXPR TAVMO_ZELLER_YEAR "${TAVMO_RELEASE_YEAR} - 1")
endif()
math(EXPR TAVMO_WEEKDAY "(${TAVMO_RELEASE_DAY} + 13 * (${TAVMO_ZELLER_MONTH} + 1) / 5 + ${TAVMO_ZELLER_YEAR} \
+ ${TAVMO_ZELLER_YEAR} / 4 - ${TAVMO_ZELLER_YEAR} / 100 + ${TAVMO_ZELLER_YEAR} / 400) % 7")
set(TAVMO_WEEKDAYS Sat Sun Mon Tue Wed Thu Fri)
list(GET TAVMO_WEEKDAYS ${TAVMO_WEEKDAY} TAVMO_WEEKDAY_NAME)
set(TAVMO_MONTHS Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
math(EXPR TAVMO_MONTH_INDEX "${TAVMO_RELEASE_MONTH} - 1")
list(GET TAVMO_MONTHS ${TAVMO_MONTH_INDEX} TAVMO_MONTH_NAME)
set(TAVMO_DEBIAN_DATE
    "${TAVMO_WEEKDAY_NAME}, ${TAVMO_RELEASE_DAY_TEXT} ${TAVMO_MONTH_NAME} ${TAVMO_RELEASE_YEAR} 12:00:00 +0000")

set(TAVMO_DEBIAN_STAGING ${CMAKE_BINARY_DIR}/debian)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${TAVMO_DEBIAN_STAGING}/changelog @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in ${TAVMO_DEBIAN_STAGING}/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/lintian-overrides.in ${TAVMO_DEBIAN_STAGING}/${TAVMO_DEBIAN_PACKAGE}
               @ONLY)
# Compressed as Debian wants it: the most, and without a time stamp.
execute_process(COMMAND gzip -9nc ${TAVMO_DEBIAN_STAGING}/changelog OUTPUT_FILE ${TAVMO_DEBIAN_STAGING}/changelog.gz
                RESULT_VARIABLE TAVMO_GZIP_RESULT)
if(NOT TAVMO_GZIP_RESULT EQUAL 0)
  message(FATAL_ERROR "gzip could not compress the Debian changelog")
endif()
foreach(script postinst prerm)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/${script}.in ${TAVMO_DEBIAN_STAGING}/${script} @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                                  WORLD_EXECUTE)
endforeach()
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${TAVMO_DEBIAN_STAGING}/postinst ${TAVMO_DEBIAN_STAGING}/prerm)
# Relative to the package's installation folder, so that it lands in the
# package's /usr/share/doc and never outside the folder being packed; only
# the Debian package installs it (cmake/PackagePrefix.cmake).
install(FILES ${TAVMO_DEBIAN_STAGING}/copyright ${TAVMO_DEBIAN_STAGING}/changelog.gz
        DESTINATION ../../share/doc/${TAVMO_DEBIAN_PACKAGE} COMPONENT DebianDocumentation EXCLUDE_FROM_ALL)
install(FILES ${TAVMO_DEBIAN_STAGING}/${TAVMO_DEBIAN_PACKAGE} DESTINATION ../../share/lintian/overrides
        COMPONENT DebianDocumentation EXCLUDE_FROM_ALL)
