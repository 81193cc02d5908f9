# The libraries scripts/deps builds into a cache outside the work tree:
#   KAVO_DEPS_DIR/bin/MediaInfo.dll, lib/libjpeg.a, include/
# scripts/build and scripts/test pass KAVO_DEPS_DIR; a hand-run configure falls back to the
# last folder scripts/deps made ($KAVO_CACHE/deps/current, ~/.cache/kavo by default).
#
# Provides:
#   kavo_jpeg                      imported static libjpeg (link it, include <jpeglib.h>)
#   kavo_copy_mediainfo(<target>)  puts MediaInfo.dll beside the target's executable
#   KAVO_DEPS_FOUND                whether the folder holds a complete build
#   kavo_copy_atomicparsley(<target> <folder>)
#                                  puts the real AtomicParsley.exe (scripts/deps --atomicparsley,
#                                  KAVO_ATOMICPARSLEY_DIR) into <folder> for the target's tests
if(KAVO_DEPS_DIR)
  set(_kavo_deps_given TRUE)
  set(_kavo_deps "${KAVO_DEPS_DIR}")
else()
  set(_kavo_deps_given FALSE)
  if(DEFINED ENV{KAVO_CACHE} AND NOT "$ENV{KAVO_CACHE}" STREQUAL "")
    set(_kavo_deps "$ENV{KAVO_CACHE}/deps/current")
  elseif(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(_kavo_deps "$ENV{XDG_CACHE_HOME}/kavo/deps/current")
  else()
    set(_kavo_deps "$ENV{HOME}/.cache/kavo/deps/current")
  endif()
endif()

if(EXISTS "${_kavo_deps}/.complete")
  set(KAVO_DEPS_FOUND TRUE)
  message(STATUS "Dependencies: ${_kavo_deps}")
elseif(_kavo_deps_given)
  message(FATAL_ERROR "KAVO_DEPS_DIR=${KAVO_DEPS_DIR} holds no complete build of scripts/deps")
else()
  set(KAVO_DEPS_FOUND FALSE)
  message(WARNING "No dependencies built yet (run scripts/deps): targets that need MediaInfo.dll "
                  "or libjpeg are left out")
endif()

set(KAVO_MEDIAINFO_DLL "${_kavo_deps}/bin/MediaInfo.dll")

if(KAVO_DEPS_FOUND)
  add_library(kavo_jpeg STATIC IMPORTED GLOBAL)
  set_target_properties(kavo_jpeg PROPERTIES
    IMPORTED_LOCATION "${_kavo_deps}/lib/libjpeg.a"
    INTERFACE_INCLUDE_DIRECTORIES "${_kavo_deps}/include")
endif()

# A copy that follows the built DLL: rebuilt whenever scripts/deps makes a new one.
function(kavo_copy_mediainfo target)
  get_target_property(_dir ${target} RUNTIME_OUTPUT_DIRECTORY)
  if(NOT _dir)
    get_target_property(_dir ${target} BINARY_DIR)
  endif()
  set(_copy "${_dir}/MediaInfo.dll")
  add_custom_command(OUTPUT "${_copy}"
    COMMAND ${CMAKE_COMMAND} -E copy "${KAVO_MEDIAINFO_DLL}" "${_copy}"
    DEPENDS "${KAVO_MEDIAINFO_DLL}"
    COMMENT "MediaInfo.dll beside ${target}")
  add_custom_target(${target}_mediainfo DEPENDS "${_copy}")
  add_dependencies(${target} ${target}_mediainfo)
endfunction()

# The real AtomicParsley the tests run: scripts/build and scripts/test pass its folder; a
# hand-run configure falls back to the last one scripts/deps made.
if(NOT KAVO_ATOMICPARSLEY_DIR)
  get_filename_component(_kavo_deps_root "${_kavo_deps}" DIRECTORY)
  set(KAVO_ATOMICPARSLEY_DIR "${_kavo_deps_root}/current-atomicparsley")
endif()
set(KAVO_ATOMICPARSLEY_EXE "${KAVO_ATOMICPARSLEY_DIR}/bin/AtomicParsley.exe")
if(EXISTS "${KAVO_ATOMICPARSLEY_DIR}/.complete")
  message(STATUS "AtomicParsley: ${KAVO_ATOMICPARSLEY_DIR}")
else()
  message(WARNING "No AtomicParsley built yet (run scripts/deps --atomicparsley): the tests that run "
                  "it are skipped")
endif()

function(kavo_copy_atomicparsley target folder)
  if(NOT EXISTS "${KAVO_ATOMICPARSLEY_EXE}")
    return()
  endif()
  set(_copy "${folder}/AtomicParsley.exe")
  add_custom_command(OUTPUT "${_copy}"
    COMMAND ${CMAKE_COMMAND} -E make_directory "${folder}"
    COMMAND ${CMAKE_COMMAND} -E copy "${KAVO_ATOMICPARSLEY_EXE}" "${_copy}"
    DEPENDS "${KAVO_ATOMICPARSLEY_EXE}"
    COMMENT "AtomicParsley.exe for ${target}")
  add_custom_target(${target}_atomicparsley DEPENDS "${_copy}")
  add_dependencies(${target} ${target}_atomicparsley)
endfunction()
