# The game's data files, compiled at build time from the readable sources in data/.
# lets.dat, nums.dat, qvar.dat, boni.dat and c2.dat land beside the qvar executable, where a
# build tree's qvar finds them; every build of qvar or qvar_tests brings them up to date, and
# a bad source fails the build. They are installed by cmake/install.cmake.

add_library(qvar_assetlib STATIC
  ${CMAKE_SOURCE_DIR}/tools/art_source.cpp
  ${CMAKE_SOURCE_DIR}/tools/asset_compiler.cpp
  ${CMAKE_SOURCE_DIR}/tools/credits_compiler.cpp
  ${CMAKE_SOURCE_DIR}/tools/icon_art.cpp)
target_include_directories(qvar_assetlib PUBLIC ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(qvar_assetlib PUBLIC qvar_core)

add_executable(qvar_assetc ${CMAKE_SOURCE_DIR}/tools/assetc_main.cpp)
target_link_libraries(qvar_assetc PRIVATE qvar_assetlib)

add_executable(qvar_contact_sheet
  ${CMAKE_SOURCE_DIR}/tools/contact_sheet.cpp
  ${CMAKE_SOURCE_DIR}/tools/sheet_canvas.cpp)
target_include_directories(qvar_contact_sheet PRIVATE ${CMAKE_SOURCE_DIR}/tools)
target_link_libraries(qvar_contact_sheet PRIVATE qvar_core)

set(QVAR_DATA_OUTPUTS "")
function(qvar_compile_data kind source output)
  set(out ${CMAKE_BINARY_DIR}/${output})
  add_custom_command(
    OUTPUT ${out}
    COMMAND qvar_assetc ${kind} ${CMAKE_SOURCE_DIR}/data/${source} ${out}
    DEPENDS qvar_assetc ${CMAKE_SOURCE_DIR}/data/${source}
    COMMENT "Compiling data/${source} into ${output}"
    VERBATIM)
  set(QVAR_DATA_OUTPUTS ${QVAR_DATA_OUTPUTS} ${out} PARENT_SCOPE)
endfunction()

qvar_compile_data(font font.txt lets.dat)
qvar_compile_data(digits digits.txt nums.dat)
qvar_compile_data(sprites sprites.txt qvar.dat)
qvar_compile_data(boni boni.txt boni.dat)
qvar_compile_data(credits credits.txt c2.dat)

add_custom_target(qvar_data ALL DEPENDS ${QVAR_DATA_OUTPUTS})
add_dependencies(qvar qvar_data)

# A picture of every sprite for reviewing the art: cmake --build build --target contact_sheet
add_custom_target(contact_sheet
  COMMAND qvar_contact_sheet ${CMAKE_BINARY_DIR} ${CMAKE_BINARY_DIR}/contact_sheet.png
  DEPENDS qvar_data qvar_contact_sheet
  COMMENT "Drawing ${CMAKE_BINARY_DIR}/contact_sheet.png"
  VERBATIM)

# The tests read the compiled files and call the compiler's checks directly; their target is
# made later (tests/), so the wiring waits until the whole top-level file has been read.
function(qvar_wire_asset_tests)
  if(TARGET qvar_tests)
    add_dependencies(qvar_tests qvar_data)
    target_link_libraries(qvar_tests PRIVATE qvar_assetlib)
  endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL qvar_wire_asset_tests)
