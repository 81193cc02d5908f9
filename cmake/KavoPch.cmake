# Precompiled headers. Nearly every file of the project includes <windows.h>, the standard
# library and the framework's control headers, and every test file GoogleTest: parsing them
# took about half of each file's compile time. Each library and test program compiles them
# once instead (its own copy, since the targets' definitions differ).
option(KAVO_PCH "Precompile the headers nearly every file includes" ON)

set(KAVO_PCH_HEADERS <windows.h> <algorithm> <functional> <map> <memory> <string> <vector>)

# kavo_precompile(<target> [TESTS] [FRAMEWORK]): TESTS adds GoogleTest's header, FRAMEWORK
# the framework's control headers (for targets built on the framework).
function(kavo_precompile target)
  if(NOT KAVO_PCH)
    return()
  endif()
  set(_headers ${KAVO_PCH_HEADERS})
  if("FRAMEWORK" IN_LIST ARGN)
    list(APPEND _headers "${PROJECT_SOURCE_DIR}/vcl/forms.h")
  endif()
  if("TESTS" IN_LIST ARGN)
    list(APPEND _headers <gtest/gtest.h>)
  endif()
  target_precompile_headers(${target} PRIVATE ${_headers})
endfunction()
