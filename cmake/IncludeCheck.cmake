# What a part of the host may include, checked over its files as a build
# step, the same on every build machine and toolchain:
#
#   core      The portable core: of the angle-bracket includes only the C and
#             C++ standard headers and jsoncpp's <json/...>; every quoted
#             include must be a header of the project (found beside the file
#             or under ROOTS, so a quoted system header does not slip
#             through); and no condition on the operating system (#if _WIN32,
#             __linux__, ...): a platform choice is the platform layer's.
#   platform  The platform layer: any system header, but of the project's own
#             headers only those under ALLOWED (the platform's folders, the
#             logging header, the dialog resources): it calls nothing of the
#             core above it.
#
# Included, this file defines tavmo_include_check_config and
# tavmo_check_includes; run with cmake -DMODE=core|platform -DCONFIG=<file> -P,
# it checks the FILES that CONFIG names, reports every offence as file:line
# and fails on any.
if(NOT CMAKE_SCRIPT_MODE_FILE)
  # Writes the file that a check reads its FILES, ROOTS and ALLOWED from.
  function(tavmo_include_check_config config)
    cmake_parse_arguments(CHECK "" "" "FILES;ROOTS;ALLOWED" ${ARGN})
    file(GENERATE OUTPUT ${config} CONTENT
         "set(FILES [[${CHECK_FILES}]])\nset(ROOTS [[${CHECK_ROOTS}]])\nset(ALLOWED [[${CHECK_ALLOWED}]])\n")
  endfunction()

  # Checks the files before `target` is built: an offence fails the build.
  function(tavmo_check_includes target mode)
    cmake_parse_arguments(CHECK "" "" "FILES;ROOTS;ALLOWED" ${ARGN})
    set(config ${CMAKE_CURRENT_BINARY_DIR}/${target}-includes.cmake)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}-includes.checked)
    set(script ${CMAKE_CURRENT_FUNCTION_LIST_FILE})
    tavmo_include_check_config(${config} ${ARGN})
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -DMODE=${mode} -DCONFIG=${config} -P ${script}
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${script} ${config} ${CHECK_FILES}
      COMMENT "Checking what ${target} includes"
      VERBATIM)
    add_custom_target(${target}_includes DEPENDS ${stamp})
    add_dependencies(${target} ${target}_includes)
  endfunction()
  return()
endif()

cmake_minimum_required(VERSION 3.20)
if(NOT DEFINED CONFIG OR NOT MODE MATCHES "^(core|platform)$")
  message(FATAL_ERROR "usage: cmake -DMODE=core|platform -DCONFIG=<file> -P IncludeCheck.cmake")
endif()
include(${CONFIG})

set(STANDARD_HEADERS
  # C++17 (and the C++20 headers a newer compiler may suggest)
  algorithm any array atomic bit bitset charconv chrono codecvt compare complex concepts condition_variable
  deque exception execution filesystem forward_list fstream functional future initializer_list iomanip ios
  iosfwd iostream istream iterator limits list locale map memory memory_resource mutex new numbers numeric
  optional ostream queue random ratio regex scoped_allocator set shared_mutex span sstream stack stdexcept
  streambuf string string_view system_error thread tuple type_traits typeindex typeinfo unordered_map
  unordered_set utility valarray variant vector version
  # the C library, in both spellings
  cassert cctype cerrno cfenv cfloat cinttypes climits clocale cmath csetjmp csignal cstdarg cstddef cstdint
  cstdio cstdlib cstring ctime cuchar cwchar cwctype
  assert.h ctype.h errno.h fenv.h float.h inttypes.h iso646.h limits.h locale.h math.h setjmp.h signal.h
  stdarg.h stdbool.h stddef.h stdint.h stdio.h stdlib.h string.h time.h uchar.h wchar.h wctype.h)
set(OPERATING_SYSTEM_MACROS "_WIN32|_WIN64|__MINGW32__|__CYGWIN__|__linux__|__unix__|__APPLE__")

# The project header that `name`, included in quotes by `file`, resolves to,
# or empty.
function(resolve_quoted file name result)
  get_filename_component(folder ${file} DIRECTORY)
  foreach(root ${folder} ${ROOTS})
    if(EXISTS ${root}/${name} AND NOT IS_DIRECTORY ${root}/${name})
      get_filename_component(found ${root}/${name} REALPATH)
      set(${result} ${found} PARENT_SCOPE)
      return()
    endif()
  endforeach()
  set(${result} "" PARENT_SCOPE)
endfunction()

# The line of `file` that reads `text`, counted from 1.
function(line_number file text result)
  file(READ ${file} content)
  string(FIND "${content}" "${text}" at)
  string(SUBSTRING "${content}" 0 ${at} before)
  string(REGEX MATCHALL "\n" breaks "${before}")
  list(LENGTH breaks count)
  math(EXPR count "${count} + 1")
  set(${result} ${count} PARENT_SCOPE)
endfunction()

set(offences 0)
foreach(file ${FILES})
  # Only the directives: other lines may hold what a CMake list cannot.
  file(STRINGS ${file} directives REGEX "^[ \t]*#[ \t]*(include|if|ifdef|ifndef|elif)")
  foreach(line IN LISTS directives)
    set(offence "")
    if(line MATCHES "^[ \t]*#[ \t]*include[ \t]*([<\"])([^>\"]*)[>\"]")
      set(bracket ${CMAKE_MATCH_1})
      set(name ${CMAKE_MATCH_2})
      if(MODE STREQUAL "core" AND bracket STREQUAL "<")
        if(NOT name IN_LIST STANDARD_HEADERS AND NOT name MATCHES "^json/")
          set(offence "<${name}> is not a standard C or C++ header: a system header belongs in the platform layer (Source/platform/)")
        endif()
      elseif(bracket STREQUAL "\"")
        resolve_quoted(${file} ${name} found)
        if(NOT found)
          set(offence "\"${name}\" is not a header of the project")
        elseif(MODE STREQUAL "platform")
          set(permitted FALSE)
          foreach(allowed ${ALLOWED})
            get_filename_component(allowed ${allowed} REALPATH)
            string(FIND "${found}" "${allowed}" at)
            if(at EQUAL 0)
              set(permitted TRUE)
            endif()
          endforeach()
          if(NOT permitted)
            set(offence "\"${name}\" is a header of the core: the platform is handed what it calls back through platform/Platform.h")
          endif()
        endif()
      endif()
    elseif(line MATCHES "^[ \t]*#[ \t]*include")
      set(offence "an include this check cannot read")
    elseif(MODE STREQUAL "core" AND line MATCHES "(${OPERATING_SYSTEM_MACROS})")
      set(offence "a condition on the operating system: the platform layer chooses for the platform")
    endif()
    if(offence)
      line_number(${file} "${line}" number)
      message(SEND_ERROR "${file}:${number}: ${offence}")
      math(EXPR offences "${offences} + 1")
    endif()
  endforeach()
endforeach()

if(offences GREATER 0)
  message(FATAL_ERROR "${offences} include(s) out of place in the ${MODE} (cmake/IncludeCheck.cmake)")
endif()
