# kavo_add_gtest(<name> SOURCES <files...> [LIBS <targets...>] [WINDOWED] [OWN_MAIN] [TIMEOUT <s>])
# OWN_MAIN: the sources bring their own main() (for example to set up the application).
# One GoogleTest executable per subsystem folder; CTest runs it under Wine through
# CMAKE_CROSSCOMPILING_EMULATOR. WINDOWED tests get the label "windowed" (they need
# the X display that scripts/test provides).
function(kavo_add_gtest name)
  cmake_parse_arguments(T "WINDOWED;OWN_MAIN" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} gtest_main)
  endif()
  # The tests' own code gains nothing from the optimiser, which costs a third of its
  # compile time; the code under test keeps the build's optimisation.
  target_compile_options(${name} PRIVATE -O0)
  # Programs over the framework also get its headers precompiled (not the framework's own
  # tests, which declare test types of the same names).
  set(_framework "")
  foreach(_lib ${T_LIBS})
    if(_lib MATCHES "^kavo_(runner|widetext|wizard|dialogs|desktop|preview|explorer|app_core|app_ui)$")
      set(_framework FRAMEWORK)
    endif()
  endforeach()
  kavo_precompile(${name} TESTS ${_framework})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
  set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  if(T_WINDOWED)
    set_tests_properties(${name} PROPERTIES LABELS windowed)
  endif()
endfunction()

# A console program used by tests (a scripted child, a stand-in tool).
function(kavo_add_test_program name)
  add_executable(${name} ${ARGN})
endfunction()
