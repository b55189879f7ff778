# The headers only the backends may include: SDL and its satellites (window, fonts,
# mixer, images), fontconfig, libzip and libspeechd. Every engine layer below app/ compiles with a
# folder of same-named headers that stop the compilation first on its include path, so
# that an SDL include there fails to build even though /usr/include/SDL2 is reachable
# as <SDL2/...>. The folder is written at configure time from the installed SDL headers.
function(zelkin_write_forbidden_includes dir)
  set(names SDL.h SDL_ttf.h SDL_mixer.h SDL_image.h)
  find_path(ZELKIN_SDL_HEADER_DIR SDL.h PATHS ${SDL2_INCLUDE_DIRS} NO_DEFAULT_PATH)
  if(ZELKIN_SDL_HEADER_DIR)
    file(GLOB sdl_headers RELATIVE ${ZELKIN_SDL_HEADER_DIR} ${ZELKIN_SDL_HEADER_DIR}/*.h)
    list(APPEND names ${sdl_headers})
  endif()
  list(REMOVE_DUPLICATES names)
  set(headers)
  foreach(name IN LISTS names)
    list(APPEND headers ${name} SDL2/${name})
  endforeach()
  list(APPEND headers fontconfig/fontconfig.h fontconfig/fcfreetype.h fontconfig/fcprivate.h
       zip.h zipconf.h libspeechd.h libspeechd_version.h speechd_types.h
       speech-dispatcher/libspeechd.h speech-dispatcher/libspeechd_version.h
       speech-dispatcher/speechd_types.h)
  file(REMOVE_RECURSE ${dir})
  foreach(header IN LISTS headers)
    file(WRITE ${dir}/${header}
         "#error \"<${header}> is for the backends in src/platform/sdl, src/platform/zip, "
         "src/platform/speechd and app/ only; "
         "use the interfaces in src/platform\"\n")
  endforeach()
endfunction()
set(ZELKIN_FORBIDDEN_INCLUDES ${PROJECT_BINARY_DIR}/forbidden_includes)
zelkin_write_forbidden_includes(${ZELKIN_FORBIDDEN_INCLUDES})

# zelkin_layer(NAME DEPS <public deps> PRIVATE_DEPS <private deps> EXCLUDE_DIRS <subfolders>)
# Builds every .cpp under src/NAME (recursively, without the EXCLUDE_DIRS subfolders)
# into the static library zelkin_NAME, which cannot include the backends' headers.
function(zelkin_layer name)
  cmake_parse_arguments(ARG "" "" "DEPS;PRIVATE_DEPS;EXCLUDE_DIRS" ${ARGN})
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(dir IN LISTS ARG_EXCLUDE_DIRS)
    list(FILTER srcs EXCLUDE REGEX "^${CMAKE_CURRENT_SOURCE_DIR}/${dir}/")
  endforeach()
  if(srcs)
    add_library(zelkin_${name} STATIC ${srcs})
    target_include_directories(zelkin_${name} BEFORE PRIVATE ${ZELKIN_FORBIDDEN_INCLUDES})
    target_include_directories(zelkin_${name} PUBLIC ${PROJECT_SOURCE_DIR}/src ${PROJECT_BINARY_DIR}/generated)
    target_link_libraries(zelkin_${name} PUBLIC ${ARG_DEPS} PRIVATE ${ARG_PRIVATE_DEPS})
  else()
    add_library(zelkin_${name} INTERFACE)
    target_include_directories(zelkin_${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
    target_link_libraries(zelkin_${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()
