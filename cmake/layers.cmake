# The layers of src/ and what each may include. Dependencies point down
# only: a file may include headers of its own layer and of the layers
# listed for it, nothing else. Two things enforce it:
#
# - Each layer's library sees only the headers of the layers it links: its
#   own headers are reachable through forwarding headers in
#   <build>/layers/<target>/ (velkora_layer), exported to the targets that
#   link it, never through src/ itself.
# - cmake/check_layers.cmake reads every #include in src/ against the table
#   below before anything compiles (target velkora_layer_check), so a wrong
#   include fails the build even where a library links more than it should,
#   is written relative (../server/haupt.h), or is an operating-system
#   header outside the platform implementations and the hosts.
#
# This file is read by the build and by the check script alike.

# The layer of a path below src/ ("" for a path outside every layer).
function(velkora_layer_of path out)
  set(layer "")
  if(path MATCHES "^base/")
    set(layer base)
  elseif(path MATCHES "^platform/(portable|posix|win32)/")
    set(layer platform_${CMAKE_MATCH_1})
  elseif(path MATCHES "^platform/[^/]+$")
    set(layer platform)
  elseif(path MATCHES "^(shell|regex|window_search|ini|dialup|lcr|server|automation)/")
    set(layer ${CMAKE_MATCH_1})
  elseif(path MATCHES "^hosts/(posix|win32)/")
    set(layer host_${CMAKE_MATCH_1})
  endif()
  set(${out} "${layer}" PARENT_SCOPE)
endfunction()

set(VELKORA_SUBSYSTEM_LAYERS regex window_search ini dialup lcr)

# What each layer may include besides itself.
set(VELKORA_MAY_INCLUDE_base "")
set(VELKORA_MAY_INCLUDE_platform base)
set(VELKORA_MAY_INCLUDE_platform_portable platform base)
set(VELKORA_MAY_INCLUDE_platform_posix platform_portable platform base)
set(VELKORA_MAY_INCLUDE_platform_win32 platform_portable platform base)
set(VELKORA_MAY_INCLUDE_shell platform base)
# The subsystems never include each other, except that the window functions
# and least-cost routing use the regular expressions.
set(VELKORA_MAY_INCLUDE_regex base)
set(VELKORA_MAY_INCLUDE_window_search regex shell platform base)
set(VELKORA_MAY_INCLUDE_ini shell platform base)
set(VELKORA_MAY_INCLUDE_dialup shell platform base)
set(VELKORA_MAY_INCLUDE_lcr regex shell platform base)
set(VELKORA_MAY_INCLUDE_server ${VELKORA_SUBSYSTEM_LAYERS} shell platform base)
# TApp talks to THaupt only; the subsystems are the server's to compose.
set(VELKORA_MAY_INCLUDE_automation server shell platform base)
set(VELKORA_MAY_INCLUDE_host_posix
    automation server ${VELKORA_SUBSYSTEM_LAYERS} shell platform_posix platform_portable platform base)
set(VELKORA_MAY_INCLUDE_host_win32
    automation server ${VELKORA_SUBSYSTEM_LAYERS} shell platform_win32 platform_portable platform base)

# The only layers that may include operating-system headers.
set(VELKORA_OS_HEADER_LAYERS platform_posix platform_win32 host_posix host_win32)
# Operating-system headers by name (the C and C++ standard headers are not
# among them).
set(VELKORA_OS_HEADER_REGEX
    "^(windows|win[a-z0-9]*|ole2|oleauto|oaidl|ocidl|objbase|unknwn|dispex|initguid|shellapi|shlobj|commctrl|ras|raserror|tlhelp32|psapi|unistd|fcntl|dirent|pthread|dlfcn|langinfo|poll|termios|pwd|grp|syslog)\\.h$|^(sys|arpa|netinet|X11)/")

# velkora_layer(<target> <folder> [TOP_ONLY])
# Makes the headers of src/<folder> reachable as "<folder>/..." for <target>
# and everything that links it, and lets <target> build only after the
# layer check. TOP_ONLY takes the folder's own headers without subfolders
# (the platform interfaces, whose subfolders are implementations).
function(velkora_layer target folder)
  cmake_parse_arguments(ARG "TOP_ONLY" "" "" ${ARGN})
  set(src ${PROJECT_SOURCE_DIR}/src)
  set(root ${CMAKE_BINARY_DIR}/layers/${target})
  if(ARG_TOP_ONLY)
    file(GLOB headers CONFIGURE_DEPENDS RELATIVE ${src} ${src}/${folder}/*.h)
  else()
    file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${src} ${src}/${folder}/*.h)
  endif()
  set(wanted "")
  foreach(header IN LISTS headers)
    list(APPEND wanted ${root}/${header})
    file(GENERATE OUTPUT ${root}/${header} CONTENT
"// Made by the build: the ${target} layer's view of src/${header}.
#include \"${src}/${header}\"
")
  endforeach()
  # Forwarders of headers that are gone or moved would let old includes
  # build.
  file(GLOB_RECURSE existing ${root}/*)
  foreach(file IN LISTS existing)
    if(NOT file IN_LIST wanted)
      file(REMOVE ${file})
    endif()
  endforeach()

  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
  add_dependencies(${target} velkora_layer_check)
endfunction()

# The check itself, run before any layer compiles and again whenever a file
# of src/ changes.
function(velkora_add_layer_check)
  set(src ${PROJECT_SOURCE_DIR}/src)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${src}/*.h ${src}/*.hpp ${src}/*.c ${src}/*.cc ${src}/*.cpp)
  set(stamp ${CMAKE_BINARY_DIR}/layer_check.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DSRC_DIR=${src} -P ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${sources} ${PROJECT_SOURCE_DIR}/cmake/check_layers.cmake
            ${PROJECT_SOURCE_DIR}/cmake/layers.cmake
    COMMENT "Checking that no layer includes one above it"
    VERBATIM)
  add_custom_target(velkora_layer_check ALL DEPENDS ${stamp})
endfunction()
