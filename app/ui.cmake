# The program's windows: the forms' stored descriptions (resources), the page handlers and the
# window-side helpers. Kept as a library so the tests drive the same pages the program shows.
file(GLOB KAVO_APP_UI_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/forms/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/pages/*.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/ui/*.cpp)
file(GLOB KAVO_APP_UI_RESOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/forms/*.rc)
file(GLOB KAVO_APP_FORMS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/forms/*.dfm)
if(KAVO_APP_UI_SOURCES AND TARGET kavo_app_core)
  add_library(kavo_app_ui STATIC ${KAVO_APP_UI_SOURCES})
  target_link_libraries(kavo_app_ui PUBLIC kavo_app_core)
  foreach(_lib kavo_explorer kavo_preview kavo_desktop kavo_dialogs kavo_wizard)
    if(TARGET ${_lib})
      target_link_libraries(kavo_app_ui PUBLIC ${_lib})
    endif()
  endforeach()
  # Resources are linked as objects: a static library would leave them out.
  if(KAVO_APP_UI_RESOURCES OR KAVO_APP_FORMS)
    add_library(kavo_app_ui_resources OBJECT ${KAVO_APP_UI_RESOURCES})
    if(KAVO_APP_FORMS)
      kavo_add_form_resources(kavo_app_ui_resources ${KAVO_APP_FORMS})
    endif()
    target_sources(kavo_app_ui INTERFACE $<TARGET_OBJECTS:kavo_app_ui_resources>)
  endif()
endif()

# Kavo.exe: the start-up routine over the windows above.
if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp AND TARGET kavo_app_ui)
  add_executable(Kavo WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp ${CMAKE_CURRENT_SOURCE_DIR}/kavo.rc)
  target_link_libraries(Kavo PRIVATE kavo_app_ui)
  # Each section starts on a page boundary of the file, as it does in memory: the system
  # then maps the program's file as it is, where a section at any other offset must be read
  # and copied into fresh pages at every start (under Wine that copy of the whole program
  # cost about 30 ms of each start).
  target_link_options(Kavo PRIVATE -Wl,--file-alignment=0x1000)
endif()

# The folder a Windows user copies and runs: build/dist with Kavo.exe, MediaInfo.dll and the
# language files in lang\. Rebuilt with the program.
if(TARGET Kavo)
  set(KAVO_DIST_DIR "${CMAKE_BINARY_DIR}/dist")
  file(GLOB KAVO_LANGUAGE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/lang/*.ini)
  set(_dist_outputs "${KAVO_DIST_DIR}/Kavo.exe")
  set(_dist_commands
    COMMAND ${CMAKE_COMMAND} -E make_directory "${KAVO_DIST_DIR}/lang"
    COMMAND ${CMAKE_COMMAND} -E copy_if_different "$<TARGET_FILE:Kavo>" "${KAVO_DIST_DIR}/Kavo.exe")
  # Without its debugging sections the program is a few megabytes.
  if(CMAKE_STRIP)
    list(APPEND _dist_commands COMMAND ${CMAKE_STRIP} --strip-debug "${KAVO_DIST_DIR}/Kavo.exe")
  endif()
  foreach(_lang ${KAVO_LANGUAGE_FILES})
    get_filename_component(_name "${_lang}" NAME)
    list(APPEND _dist_outputs "${KAVO_DIST_DIR}/lang/${_name}")
    list(APPEND _dist_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different "${_lang}" "${KAVO_DIST_DIR}/lang/${_name}")
  endforeach()
  if(KAVO_MEDIAINFO_DLL)
    list(APPEND _dist_outputs "${KAVO_DIST_DIR}/MediaInfo.dll")
    list(APPEND _dist_commands COMMAND ${CMAKE_COMMAND} -E copy_if_different "${KAVO_MEDIAINFO_DLL}" "${KAVO_DIST_DIR}/MediaInfo.dll")
  endif()
  add_custom_command(OUTPUT ${_dist_outputs} ${_dist_commands}
    DEPENDS Kavo ${KAVO_LANGUAGE_FILES} ${KAVO_MEDIAINFO_DLL}
    COMMENT "The program's folder: ${KAVO_DIST_DIR}")
  add_custom_target(kavo_dist ALL DEPENDS ${_dist_outputs})
endif()
