# The web build: configured with emcmake, against the libraries that web/build-deps.sh
# built into ZELKIN_WEB_DEPS. They get the names of the desktop build's pkg-config
# targets, so every layer links them the same way; fontconfig has no part in a page
# (its fonts travel with the page, see sdl_fonts.cpp).
set(ZELKIN_WEB_DEPS "" CACHE PATH "Prefix of the libraries that web/build-deps.sh built")
set(ZELKIN_WEB_GAME "" CACHE FILEPATH "The game package the page plays")
if(NOT EXISTS "${ZELKIN_WEB_DEPS}/lib/libSDL2.a")
  message(FATAL_ERROR "ZELKIN_WEB_DEPS (${ZELKIN_WEB_DEPS}) holds no libraries: run web/build-deps.sh")
endif()
if(NOT EXISTS "${ZELKIN_WEB_GAME}")
  message(FATAL_ERROR "ZELKIN_WEB_GAME: no game package at '${ZELKIN_WEB_GAME}'")
endif()

function(zelkin_web_library name)
  add_library(PkgConfig::${name} INTERFACE IMPORTED GLOBAL)
  set(libs)
  foreach(lib IN LISTS ARGN)
    list(APPEND libs ${ZELKIN_WEB_DEPS}/lib/lib${lib}.a)
  endforeach()
  set_target_properties(PkgConfig::${name} PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES "${ZELKIN_WEB_DEPS}/include/SDL2;${ZELKIN_WEB_DEPS}/include"
    INTERFACE_LINK_LIBRARIES "${libs}")
endfunction()
zelkin_web_library(SDL2 SDL2)
zelkin_web_library(SDL2_TTF SDL2_ttf harfbuzz freetype z SDL2)
zelkin_web_library(SDL2_MIXER SDL2_mixer SDL2)
zelkin_web_library(SDL2_IMAGE SDL2_image SDL2)
zelkin_web_library(LIBZIP zip z)
zelkin_web_library(LIBJPEG jpeg)
zelkin_web_library(FONTCONFIG)
set(SDL2_INCLUDE_DIRS ${ZELKIN_WEB_DEPS}/include/SDL2)

# toml++ is header-only: Debian's headers (libtomlplusplus-dev) serve the page as they
# are, in header-only mode (the desktop links Debian's compiled copy). They are copied
# into a folder of their own, so that nothing else of /usr/include shadows the
# WebAssembly system headers.
set(ZELKIN_WEB_TOML "/usr/include/toml++" CACHE PATH "Folder of the toml++ headers")
if(NOT EXISTS "${ZELKIN_WEB_TOML}/toml.h")
  message(FATAL_ERROR "No toml++ headers in ${ZELKIN_WEB_TOML} (apt-get install libtomlplusplus-dev)")
endif()
file(COPY ${ZELKIN_WEB_TOML}/ DESTINATION ${PROJECT_BINARY_DIR}/web-include/toml++)
add_library(PkgConfig::TOMLPLUSPLUS INTERFACE IMPORTED GLOBAL)
set_target_properties(PkgConfig::TOMLPLUSPLUS PROPERTIES
  INTERFACE_INCLUDE_DIRECTORIES "${PROJECT_BINARY_DIR}/web-include"
  INTERFACE_COMPILE_DEFINITIONS "TOML_HEADER_ONLY=1")

# Errors travel as C++ exceptions, as on the desktop.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# The page: index.html, zelkin.js, zelkin.wasm, zelkin.data (the fonts), the package
# and its music rendered to OGG, all in the build folder.
function(zelkin_web_page target)
  set(fonts)
  foreach(font /usr/share/wine/fonts/tahoma.ttf /usr/share/wine/fonts/ms_sans_serif.ttf
               /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf
               /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf)
    if(NOT EXISTS ${font})
      message(FATAL_ERROR "${font} is missing (apt-get install fonts-wine fonts-dejavu-core)")
    endif()
    # At the same paths as on the desktop, where the font lookup looks first.
    list(APPEND fonts "--preload-file=${font}@${font}")
  endforeach()
  target_link_options(${target} PRIVATE
    # The frame loop stays a loop: each turn waits for the browser's next frame.
    -sASYNCIFY -sASYNCIFY_STACK_SIZE=262144
    -sALLOW_MEMORY_GROWTH=1 -sINITIAL_MEMORY=67108864
    -sFORCE_FILESYSTEM=1 -lidbfs.js
    -sINVOKE_RUN=0 -sENVIRONMENT=web
    "-sEXPORTED_RUNTIME_METHODS=['callMain','FS']"
    # What SDL's audio and its callbacks call in the page, as emscripten's own SDL port
    # asks for them (in a file: CMake doubles a '$' on the link line).
    -sDEFAULT_LIBRARY_FUNCS_TO_INCLUDE=@${PROJECT_SOURCE_DIR}/web/sdl-library-funcs.json
    ${fonts})
  set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR})

  get_filename_component(ZELKIN_WEB_PACKAGE ${ZELKIN_WEB_GAME} NAME)
  configure_file(${PROJECT_SOURCE_DIR}/web/index.html ${PROJECT_BINARY_DIR}/index.html @ONLY)
  configure_file(${PROJECT_SOURCE_DIR}/web/zelkin-page.js ${PROJECT_BINARY_DIR}/zelkin-page.js COPYONLY)
  add_custom_command(
    OUTPUT ${PROJECT_BINARY_DIR}/${ZELKIN_WEB_PACKAGE} ${PROJECT_BINARY_DIR}/music/list.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${ZELKIN_WEB_GAME} ${PROJECT_BINARY_DIR}/${ZELKIN_WEB_PACKAGE}
    COMMAND ${PROJECT_SOURCE_DIR}/web/render-music.sh ${ZELKIN_WEB_GAME} ${PROJECT_BINARY_DIR}/music
    DEPENDS ${ZELKIN_WEB_GAME} ${PROJECT_SOURCE_DIR}/web/render-music.sh
    COMMENT "Copying the game and rendering its MIDI music for the page")
  add_custom_target(web_game ALL DEPENDS ${PROJECT_BINARY_DIR}/${ZELKIN_WEB_PACKAGE}
                                         ${PROJECT_BINARY_DIR}/music/list.txt)
endfunction()
