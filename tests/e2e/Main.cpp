#include <gtest/gtest.h>

#include <cstdio>

#include "Harness.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: e2e_tests PATH-TO-Krelmix.exe\n");
    return 2;
  }
  krelmix::e2e::SetBuiltProgram(argv[1]);
  return RUN_ALL_TESTS();
}
