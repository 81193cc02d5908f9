// The preview's tests drive DirectShow (COM) and windows on the main thread: COM is
// initialised for it and the application object exists.
#include <gtest/gtest.h>
#include <objbase.h>

#include "vcl/application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  CoInitialize(nullptr);
  InitApplication();
  int result = RUN_ALL_TESTS();
  delete Application;
  CoUninitialize();
  return result;
}
