# cmake -DSRC_DIR=<src> -P check_layers.cmake
#
# Reads every #include of the files below SRC_DIR and fails when a file
# includes a header of a layer it may not use (see layers.cmake) or an
# operating-system header outside the platform implementations and the
# hosts. Quoted includes are taken relative to the including file first,
# as the compiler does, so "../server/haupt.h" counts as the server's.

cmake_minimum_required(VERSION 3.25)

if(NOT SRC_DIR)
  message(FATAL_ERROR "check_layers.cmake: SRC_DIR is not set")
endif()
include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)

file(GLOB_RECURSE files RELATIVE ${SRC_DIR}
     ${SRC_DIR}/*.h ${SRC_DIR}/*.hpp ${SRC_DIR}/*.c ${SRC_DIR}/*.cc ${SRC_DIR}/*.cpp)
list(SORT files)

set(violations "")
foreach(file IN LISTS files)
  velkora_layer_of(${file} own)
  if(own STREQUAL "")
    continue()
  endif()
  get_filename_component(dir ${file} DIRECTORY)
  file(STRINGS ${SRC_DIR}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "#[ \t]*include[ \t]*([<\"])([^>\"]+)[>\"]")
      continue()
    endif()
    set(quoted OFF)
    if(CMAKE_MATCH_1 STREQUAL "\"")
      set(quoted ON)
    endif()
    set(included ${CMAKE_MATCH_2})

    # Where the compiler would find it below src/.
    set(target_path ${included})
    if(quoted AND EXISTS ${SRC_DIR}/${dir}/${included})
      get_filename_component(absolute ${SRC_DIR}/${dir}/${included} ABSOLUTE)
      file(RELATIVE_PATH target_path ${SRC_DIR} ${absolute})
    endif()
    velkora_layer_of(${target_path} theirs)

    if(theirs STREQUAL "")
      if(NOT quoted AND included MATCHES "${VELKORA_OS_HEADER_REGEX}"
         AND NOT own IN_LIST VELKORA_OS_HEADER_LAYERS)
        string(APPEND violations
               "\n  src/${file}: #include <${included}>: an operating-system header; only "
               "the platform implementations and the hosts may include one")
      endif()
      continue()
    endif()
    if(theirs STREQUAL own OR theirs IN_LIST VELKORA_MAY_INCLUDE_${own})
      continue()
    endif()
    string(REPLACE ";" ", " allowed "${VELKORA_MAY_INCLUDE_${own}}")
    if(allowed STREQUAL "")
      set(allowed "nothing but itself")
    endif()
    string(APPEND violations
           "\n  src/${file}: #include \"${included}\": layer '${own}' may not use layer "
           "'${theirs}' (it may use: ${allowed})")
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Layer check failed:${violations}\n"
                      "Dependencies point down only; see cmake/layers.cmake.")
endif()
