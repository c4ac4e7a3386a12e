# Fails when an include runs against the layers of src/, when SDL is included outside the
# SDL backend, or Emscripten outside the web backend.
# Run as: cmake -DSOURCE_DIR=<tree> -P check_layers.cmake
#
# The layers of src/, bottom to top; a folder may include its own headers and those of any
# lower layer. Folders joined by "|" share a layer and may not include each other.
set(QVAR_LAYERS
  "util"
  "gfx"
  "platform"
  "store"
  "model"
  "player|world"
  "game"
  "screens"
  "app")

set(rank 0)
set(allowed_so_far "")
foreach(layer IN LISTS QVAR_LAYERS)
  string(REPLACE "|" ";" layer "${layer}")
  foreach(folder IN LISTS layer)
    set(rank_of_${folder} ${rank})
    set(below_${folder} "${allowed_so_far}")
  endforeach()
  list(APPEND allowed_so_far ${layer})
  math(EXPR rank "${rank} + 1")
endforeach()

# Describes what `folder` may include, for the failure message.
function(rule_text folder out)
  set(names "${below_${folder}}")
  list(APPEND names ${folder})
  list(TRANSFORM names APPEND "/")
  list(JOIN names ", " joined)
  set(${out} "src/${folder}/ may include only ${joined}" PARENT_SCOPE)
endfunction()

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
     ${SOURCE_DIR}/src/*.h ${SOURCE_DIR}/src/*.cpp
     ${SOURCE_DIR}/tools/*.h ${SOURCE_DIR}/tools/*.cpp
     ${SOURCE_DIR}/tests/*.h ${SOURCE_DIR}/tests/*.cpp
     ${SOURCE_DIR}/bench/*.cpp ${SOURCE_DIR}/fuzz/*.cpp ${SOURCE_DIR}/fuzz/*.h)
list(FILTER sources EXCLUDE REGEX "^tests/layers/")  # the check's own fixture trees

# The libraries that only their own backend may include: SDL and Emscripten.
set(backend_of_SDL "src/platform/sdl_")
set(name_of_SDL "SDL")
set(backend_of_emscripten "src/platform/web_")
set(name_of_emscripten "Emscripten")

set(faults "")
foreach(rel IN LISTS sources)
  file(STRINGS ${SOURCE_DIR}/${rel} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  set(folder "")
  if(rel MATCHES "^src/([^/]+)/")
    set(folder ${CMAKE_MATCH_1})
  endif()
  foreach(line IN LISTS lines)
    if(line MATCHES "#[ \t]*include[ \t]*<((SDL|emscripten)[^>]*)>")
      set(header ${CMAKE_MATCH_1})
      set(library ${CMAKE_MATCH_2})
      if(NOT rel MATCHES "^${backend_of_${library}}[^/]*$")
        list(APPEND faults "${rel}: includes <${header}>: only ${backend_of_${library}}* may include ${name_of_${library}}")
      endif()
      continue()
    endif()
    if(folder STREQUAL "" OR NOT line MATCHES "#[ \t]*include[ \t]*\"([^/\"]+)/[^\"]*\"")
      continue()
    endif()
    set(target ${CMAKE_MATCH_1})
    string(REGEX MATCH "\"[^\"]*\"" quoted "${line}")
    if(NOT DEFINED rank_of_${folder})
      list(APPEND faults "${rel}: src/${folder}/ is not in the list of layers (cmake/check_layers.cmake)")
      break()
    endif()
    if(target STREQUAL folder)
      continue()
    endif()
    list(FIND below_${folder} ${target} found)
    if(found EQUAL -1)
      rule_text(${folder} rule)
      list(APPEND faults "${rel}: includes ${quoted}: ${rule}")
    endif()
  endforeach()
endforeach()

if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Includes against the layers:\n  ${text}")
endif()
