// Entry of every test program: gives the tests the environment they rely on
// (offscreen windows, the source and build folders) unless the caller already
// set it, so a test binary behaves the same under ctest and when run by hand.
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("PROJECT_SOURCE_DIR", PROJECT_SOURCE_DIR_DEFAULT, 0);
  setenv("PROJECT_BINARY_DIR", PROJECT_BINARY_DIR_DEFAULT, 0);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
