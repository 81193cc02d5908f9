# Unity builds. On a two-core machine most of a file's compile time went to loading the
# precompiled headers and to the system work around it (about 2 s a file), not to the file's
# own code. Compiled together eight at a time, the files pay that once a batch: the whole
# build takes about a third less CPU time.
#
# Files that define a helper of the same name as another file of their target in an anonymous
# namespace, that declare the same names as a header of the batch, or that lose declarations
# to an earlier file's headers, are compiled on their own.
# A new file that clashes so with another of its batch fails to compile: rename the helper,
# or add the file to the target's list below.
option(KAVO_UNITY "Compile each target's files together in batches" ON)
set(KAVO_UNITY_BATCH 8)

# Targets whose files are compiled in batches, each with the files it compiles on its own.
# The window tests of the framework, the wide controls, the wizard, the desktop components
# and the folder tree are not among them: most of their files bring the framework tests'
# helpers into scope with a using-directive, which would reach the next files of a batch.
set(KAVO_UNITY_TARGETS
  kavo_vcl kavo_runner kavo_widetext kavo_wizard kavo_dialogs kavo_desktop kavo_preview
  kavo_explorer kavo_app_core kavo_app_ui MP4Box
  runner_tests dialogs_tests preview_tests app_tests)
set(KAVO_UNITY_APART_kavo_widetext widetext/platform.cpp widetext/uni_controls.cpp widetext/uni_labels.cpp)
set(KAVO_UNITY_APART_kavo_preview preview/filter_graph.cpp preview/video_window.cpp)
set(KAVO_UNITY_APART_kavo_app_core app/media/media_analysis.cpp app/media/tag_rows.cpp
  app/media/track_options.cpp app/settings/language_file.cpp)
set(KAVO_UNITY_APART_kavo_app_ui app/forms/prop_form.cpp app/pages/tag_folder_tree.cpp)
set(KAVO_UNITY_APART_MP4Box tools/mp4box/today_mode.cpp)
set(KAVO_UNITY_APART_app_tests tests/app/mux_job_test.cpp tests/app/mux_page_test.cpp
  tests/app/track_lists_test.cpp tests/app/track_options_test.cpp tests/app/tag_page_test.cpp
  tests/app/tag_rows_test.cpp tests/app/settings_file_test.cpp)
set(KAVO_UNITY_APART_dialogs_tests tests/dialogs/task_dialog_test.cpp)

function(kavo_unity_builds)
  if(NOT KAVO_UNITY)
    return()
  endif()
  foreach(_target ${KAVO_UNITY_TARGETS})
    if(NOT TARGET ${_target})
      continue()
    endif()
    set_target_properties(${_target} PROPERTIES UNITY_BUILD ON UNITY_BUILD_BATCH_SIZE ${KAVO_UNITY_BATCH})
    set(_apart "")
    foreach(_file ${KAVO_UNITY_APART_${_target}})
      if(EXISTS ${PROJECT_SOURCE_DIR}/${_file})
        list(APPEND _apart ${PROJECT_SOURCE_DIR}/${_file})
      endif()
    endforeach()
    if(_apart)
      set_source_files_properties(${_apart} TARGET_DIRECTORY ${_target}
        PROPERTIES SKIP_UNITY_BUILD_INCLUSION ON)
    endif()
  endforeach()
endfunction()
