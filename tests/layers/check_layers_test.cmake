# Runs the layer check on a small tree with known faults and requires each to be named,
# with its file, include and rule, and nothing else.
execute_process(COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${FIXTURE} -P ${CHECK}
                RESULT_VARIABLE result ERROR_VARIABLE out OUTPUT_VARIABLE out2)
string(APPEND out "${out2}")
if(result EQUAL 0)
  message(FATAL_ERROR "the check passed a tree with faults:\n${out}")
endif()
set(expected
  "src/platform/machine.h: includes \"model/spark_pool.h\": src/platform/ may include only util/, gfx/, platform/"
  "src/world/foes.cpp: includes \"player/ship.h\": src/world/ may include only util/, gfx/, platform/, store/, model/, world/"
  "src/gfx/draw.cpp: includes <SDL2/SDL.h>: only src/platform/sdl_* may include SDL"
  "src/app/web_entry.cpp: includes <emscripten.h>: only src/platform/web_* may include Emscripten")
foreach(line IN LISTS expected)
  string(FIND "${out}" "${line}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "missing from the check's report: ${line}\nreport:\n${out}")
  endif()
endforeach()
foreach(fine util/ok.h platform/sdl_window.cpp platform/web_canvas.cpp game/frame.cpp)
  string(FIND "${out}" "src/${fine}:" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "the check blamed a sound file, src/${fine}:\n${out}")
  endif()
endforeach()
