// Runs the core tests with the fake platform installed.
#include <gtest/gtest.h>

#include "fake_platform.h"

int main(int argc, char **argv) {
  testing::InitGoogleTest(&argc, argv);
  InstallFakePlatform();
  return RUN_ALL_TESTS();
}
