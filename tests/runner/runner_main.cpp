// The runner's tests hand output over to the main thread: they need the application.
#include <gtest/gtest.h>

#include "vcl/application.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  InitApplication();
  int result = RUN_ALL_TESTS();
  delete Application;
  return result;
}
