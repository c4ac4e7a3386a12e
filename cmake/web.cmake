# The browser build (scripts/build-web.sh, with Emscripten's emcmake): qvar.js and qvar.wasm
# beside the page. The data files are compiled by a native build first (the asset compiler
# must run on this machine) and packed into the build from QVAR_WEB_DATA_DIR.

set(QVAR_WEB_DATA_DIR "" CACHE PATH "Folder with the compiled data files (lets.dat, nums.dat, qvar.dat, boni.dat, c2.dat)")
foreach(name lets.dat nums.dat qvar.dat boni.dat c2.dat)
  if(NOT EXISTS "${QVAR_WEB_DATA_DIR}/${name}")
    message(FATAL_ERROR "QVAR_WEB_DATA_DIR must name a folder with the compiled ${name} (a native build's folder)")
  endif()
endforeach()

# The install rules are not part of this build, so --version's number is given here.
set_property(SOURCE ${CMAKE_SOURCE_DIR}/src/app/command_line.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS QVAR_VERSION_STRING="${PROJECT_VERSION}")

file(GLOB QVAR_WEB_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/web_*.cpp)
add_executable(qvar_web ${CMAKE_SOURCE_DIR}/src/app/web_main.cpp ${QVAR_WEB_SOURCES})
set_target_properties(qvar_web PROPERTIES OUTPUT_NAME qvar SUFFIX .js)
target_link_libraries(qvar_web PRIVATE qvar_core)
add_dependencies(qvar_web check_layers)

# Asyncify lets the game's waits yield to the browser and resume: these page functions wait.
set(QVAR_WEB_ASYNC_IMPORTS "[\"qvar_js_sleep\",\"qvar_js_message_box\",\"qvar_js_mount_persistent\"]")
target_link_options(qvar_web PRIVATE
  -sASYNCIFY
  "-sASYNCIFY_IMPORTS=${QVAR_WEB_ASYNC_IMPORTS}"
  -sASYNCIFY_STACK_SIZE=65536
  -sALLOW_MEMORY_GROWTH=1
  -sINITIAL_MEMORY=33554432
  -sENVIRONMENT=web
  "-sEXPORTED_FUNCTIONS=[\"_main\",\"_malloc\",\"_free\",\"_qvar_web_scripted_run\",\"_qvar_web_playback_run\",\"_qvar_web_frame_report\"]"
  "-sEXPORTED_RUNTIME_METHODS=[\"FS\",\"UTF8ToString\",\"stringToUTF8\",\"lengthBytesUTF8\"]"
  -lidbfs.js
  "--embed-file=${QVAR_WEB_DATA_DIR}/lets.dat@/data/lets.dat"
  "--embed-file=${QVAR_WEB_DATA_DIR}/nums.dat@/data/nums.dat"
  "--embed-file=${QVAR_WEB_DATA_DIR}/qvar.dat@/data/qvar.dat"
  "--embed-file=${QVAR_WEB_DATA_DIR}/boni.dat@/data/boni.dat"
  "--embed-file=${QVAR_WEB_DATA_DIR}/c2.dat@/data/c2.dat")

# The page and its script sit beside qvar.js.
foreach(page index.html page.js)
  configure_file(${CMAKE_SOURCE_DIR}/web/${page} ${CMAKE_BINARY_DIR}/${page} COPYONLY)
endforeach()
