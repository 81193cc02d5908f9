# System libraries the program needs only for what the user does later (file and font
# dialogs, network drives, transparent blits, sounds, the shell's file operations, folder
# browser and file icons, OLE pictures and strings) are imported on first call instead of
# at start: each is linked through a delay-import library made from the small list of entry
# points in cmake/delay-imports/<name>.def. Mapping them at start cost Kavo.exe about a
# tenth of its start-up under Wine. Link a target with kavo_delay_<name> instead of <name>.
foreach(_dll comdlg32 mpr msimg32 oleaut32 shell32 winmm)
  set(_def "${CMAKE_CURRENT_SOURCE_DIR}/cmake/delay-imports/${_dll}.def")
  set(_lib "${CMAKE_BINARY_DIR}/delay-imports/lib${_dll}_delay.a")
  file(MAKE_DIRECTORY "${CMAKE_BINARY_DIR}/delay-imports")
  add_custom_command(OUTPUT "${_lib}"
    COMMAND "${CMAKE_DLLTOOL}" --input-def "${_def}" --dllname "${_dll}.dll" --output-delaylib "${_lib}"
    DEPENDS "${_def}" VERBATIM)
  add_custom_target(kavo_delay_${_dll}_lib DEPENDS "${_lib}")
  add_library(kavo_delay_${_dll} STATIC IMPORTED GLOBAL)
  set_target_properties(kavo_delay_${_dll} PROPERTIES IMPORTED_LOCATION "${_lib}")
  add_dependencies(kavo_delay_${_dll} kavo_delay_${_dll}_lib)
endforeach()
