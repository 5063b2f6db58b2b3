# Run by cpack's External generator: makes the MSI from the staged
# installation in CPACK_TEMPORARY_DIRECTORY. Every staged file becomes a file
# of the installation folder; the manifest lies beside the host, its "path"
# relative to its own folder (which browsers resolve on Windows), so that the
# same file serves any installation folder. Each registry value is a
# component of its own, under the root that the installation's scope chooses.

# The browsers' keys under Software, as TavmoRegisterBrowsers knows them
# (knownBrowsers() in tools/register-browsers/Registration.cpp).
set(browser_keys Google/Chrome Chromium Microsoft/Edge BraveSoftware/Brave-Browser)
# Fixed for every version: it is how a newer installer finds the older one to
# replace.
set(upgrade_code CBB6F316-F80F-432D-9A2A-A28061B385F5)

# cpack stages each component in a folder of its own; the installation is
# all of them together.
set(staging ${CPACK_TEMPORARY_DIRECTORY}/installer-files)
file(REMOVE_RECURSE ${staging})
file(GLOB staged_components LIST_DIRECTORIES true ${CPACK_TEMPORARY_DIRECTORY}/*)
foreach(component IN LISTS staged_components)
  if(IS_DIRECTORY ${component} AND NOT component STREQUAL staging)
    file(COPY ${component}/ DESTINATION ${staging})
  endif()
endforeach()
set(manifest ${CPACK_TAVMO_HostName}.json)
file(WRITE ${staging}/${manifest} "{
  \"name\": \"${CPACK_TAVMO_HostName}\",
  \"description\": \"${CPACK_TAVMO_HostDescription}\",
  \"path\": \"TavmoClientForWeb.exe\",
  \"type\": \"stdio\",
  \"allowed_origins\": [\"${CPACK_TAVMO_ExtensionOrigin}\"]
}
")

# An identifier for the tables: letters, digits, '_' and '.'.
function(table_id text result)
  string(MAKE_C_IDENTIFIER "${text}" id)
  set(${result} ${id} PARENT_SCOPE)
endfunction()

# Files and folders, as nested Directory elements.
set(components "")
function(add_folder relative indent result)
  set(xml "")
  file(GLOB entries LIST_DIRECTORIES true RELATIVE ${staging}/${relative} ${staging}/${relative}/*)
  list(SORT entries)
  foreach(entry IN LISTS entries)
    if(relative STREQUAL "")
      set(path ${entry})
    else()
      set(path ${relative}/${entry})
    endif()
    table_id("${path}" id)
    if(IS_DIRECTORY ${staging}/${path})
      add_folder(${path} "${indent}  " inner)
      string(APPEND xml "${indent}<Directory Id=\"folder_${id}\" Name=\"${entry}\">\n${inner}${indent}</Directory>\n")
    else()
      string(APPEND xml "${indent}<Component Id=\"file_${id}\" Guid=\"*\">\n"
             "${indent}  <File Id=\"file_${id}\" Source=\"installer-files/${path}\" KeyPath=\"yes\"/>\n"
             "${indent}</Component>\n")
      list(APPEND components file_${id})
    endif()
  endforeach()
  set(components ${components} PARENT_SCOPE)
  set(${result} "${xml}" PARENT_SCOPE)
endfunction()
add_folder("" "          " files_xml)

# The registry values, under HKEY_LOCAL_MACHINE per machine and
# HKEY_CURRENT_USER per user (the root that Windows Installer chooses by the
# installation's scope, -1 in the Registry table; wixl writes "HKMU" as 4,
# which is put right once the MSI is made).
set(registry_xml "")
function(add_value name key value_name value)
  set(name_attribute "")
  if(NOT value_name STREQUAL "")
    set(name_attribute " Name=\"${value_name}\"")
  endif()
  string(APPEND registry_xml "          <Component Id=\"${name}\" Guid=\"*\">
            <RegistryValue Root=\"HKMU\" Key=\"${key}\"${name_attribute} Type=\"string\" Value=\"${value}\" KeyPath=\"yes\"/>
          </Component>\n")
  list(APPEND components ${name})
  set(components ${components} PARENT_SCOPE)
  set(registry_xml "${registry_xml}" PARENT_SCOPE)
endfunction()
foreach(browser IN LISTS browser_keys)
  string(REPLACE "/" "\\" key "Software/${browser}/NativeMessagingHosts/${CPACK_TAVMO_HostName}")
  table_id(${browser} id)
  add_value(browser_${id} "${key}" "" "[INSTALLDIR]${manifest}")
endforeach()
# The installation folder, with its final separator, through which the host
# finds the virtual camera's registration tool.
add_value(setup "${CPACK_TAVMO_SetupKey}" "${CPACK_TAVMO_SetupEntry}" "[INSTALLDIR]")

set(component_refs "")
foreach(component IN LISTS components)
  string(APPEND component_refs "      <ComponentRef Id=\"${component}\"/>\n")
endforeach()

set(program_files ProgramFilesFolder)
if(CPACK_TAVMO_ARCHITECTURE STREQUAL x64)
  set(program_files ProgramFiles64Folder)
endif()
set(version ${CPACK_PACKAGE_VERSION})
configure_file(${CPACK_TAVMO_INSTALLER_SOURCE}/TavmoClientForWeb.wxs.in ${CPACK_TEMPORARY_DIRECTORY}/TavmoClientForWeb.wxs
               @ONLY)
set(msi ${CPACK_PACKAGE_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.msi)
execute_process(COMMAND ${CPACK_TAVMO_WIXL} -a ${CPACK_TAVMO_ARCHITECTURE} -o ${msi}
                        TavmoClientForWeb.wxs
                WORKING_DIRECTORY ${CPACK_TEMPORARY_DIRECTORY} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "wixl could not make ${msi} from ${CPACK_TEMPORARY_DIRECTORY}/TavmoClientForWeb.wxs")
endif()
execute_process(COMMAND ${CPACK_TAVMO_MSIBUILD} ${msi} -q "UPDATE `Registry` SET `Root` = -1 WHERE `Root` = 4"
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "msibuild could not set the registry values' root in ${msi}")
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES ${msi})
