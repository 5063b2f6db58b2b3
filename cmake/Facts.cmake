# The facts that the host, the registration tool, the installers, the
# console, the benchmarks, the scripts and the tests share, written once here
# (the version comes from the project's version, cmake/Version.cmake).
# Generated from them in the build folder: generated/TavmoFacts.h for C++ and
# the version resource, facts.env for the scripts and facts.json for
# JavaScript.

# The one extension that may start the host; its origin is how the browser
# names it on the host's command line.
set(TAVMO_EXTENSION_ID gdlpkaomnfhcebijgdlpkaomnfhcebij)
set(TAVMO_EXTENSION_ORIGIN "chrome-extension://${TAVMO_EXTENSION_ID}/")
# The name under which browsers know the host (its manifest is NAME.json), and
# the manifest's description.
set(TAVMO_HOST_NAME com.tavmo.client_for_web)
set(TAVMO_HOST_DESCRIPTION "TavmoClientForWeb: video conferences for web pages")
# The setup record through which the host finds its installation folder: on
# Linux the file FOLDER/NAME under the user's configuration folder with the
# line "ENTRY=<folder>/", on Windows the key Software\FOLDER\NAME (with
# backslashes) and its value ENTRY.
set(TAVMO_SETUP_FOLDER Tavmo/TavmoClientForWeb)
set(TAVMO_SETUP_NAME Setup)
set(TAVMO_SETUP_ENTRY Application)
set(TAVMO_SETUP_PATH "${TAVMO_SETUP_FOLDER}/${TAVMO_SETUP_NAME}")
string(REPLACE "/" "\\" TAVMO_SETUP_KEY "Software/${TAVMO_SETUP_PATH}")
# The same key as a C string literal.
string(REPLACE "\\" "\\\\" TAVMO_SETUP_KEY_LITERAL "${TAVMO_SETUP_KEY}")

configure_file(${CMAKE_CURRENT_LIST_DIR}/templates/TavmoFacts.h.in ${CMAKE_BINARY_DIR}/generated/TavmoFacts.h @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/templates/facts.env.in ${CMAKE_BINARY_DIR}/facts.env @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/templates/facts.json.in ${CMAKE_BINARY_DIR}/facts.json @ONLY)
add_library(tavmo_facts INTERFACE)
target_include_directories(tavmo_facts INTERFACE ${CMAKE_BINARY_DIR}/generated)
