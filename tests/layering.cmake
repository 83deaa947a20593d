# Checks the include lines of a source tree against the order of its folders:
# a file includes its own folder and the folders below it, never one beside
# or above it. Fails, naming every include against the order, otherwise.
#   cmake -DSOURCE_DIR=<tree> -P layering.cmake

# Bottom up; folders on one level may not include each other.
set(levels "platform res" "model" "doc" "dialogs" "view2d" "arch view3d" "app")

set(level 0)
foreach(folders IN LISTS levels)
  string(REPLACE " " ";" folders "${folders}")
  foreach(folder IN LISTS folders)
    set(level_${folder} ${level})
  endforeach()
  math(EXPR level "${level} + 1")
endforeach()

get_filename_component(SOURCE_DIR "${SOURCE_DIR}" ABSOLUTE)
file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
list(LENGTH sources count)
if(count EQUAL 0)
  message(FATAL_ERROR "no sources below '${SOURCE_DIR}'")
endif()

set(faults 0)
foreach(source IN LISTS sources)
  if(NOT source MATCHES "^([a-z0-9]+)/")
    continue()  # files at the top stand outside the layers
  endif()
  set(folder ${CMAKE_MATCH_1})
  if(NOT DEFINED level_${folder})
    message(SEND_ERROR "${source}: folder ${folder} has no place in the layers")
    math(EXPR faults "${faults} + 1")
    continue()
  endif()
  file(READ "${SOURCE_DIR}/${source}" text)
  string(REGEX MATCHALL "(^|\n)[ \t]*#[ \t]*include[ \t]*\"[a-z0-9]+/[^\"]*\"" includes "${text}")
  foreach(line IN LISTS includes)
    string(REGEX MATCH "\"(([a-z0-9]+)/[^\"]*)\"" _ "${line}")
    set(header ${CMAKE_MATCH_1})
    set(target ${CMAKE_MATCH_2})
    if(target STREQUAL folder)
      continue()
    endif()
    if(NOT DEFINED level_${target})
      message(SEND_ERROR "${source} includes ${header}: folder ${target} has no place in the layers")
      math(EXPR faults "${faults} + 1")
    elseif(NOT level_${target} LESS level_${folder})
      message(SEND_ERROR "${source} includes ${header}: ${target} is not below ${folder}")
      math(EXPR faults "${faults} + 1")
    endif()
  endforeach()
endforeach()

if(faults GREATER 0)
  message(FATAL_ERROR "${faults} include(s) against the layers in ${count} files")
endif()
message(STATUS "${count} files keep the layers")
