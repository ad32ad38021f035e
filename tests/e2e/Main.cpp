#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "Harness.h"
#include "Screenshots.h"
#include "Watchdog.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: e2e_tests PATH-TO-Krelmix.exe [--screenshots UNIX-FOLDER]\n");
    return 2;
  }
  krelmix::e2e::SetBuiltProgram(argv[1]);
  if (argc == 4 && std::string(argv[2]) == "--screenshots") return krelmix::e2e::TakeScreenshots(argv[3]);
  // Below ctest's own limit for each test, so that a stall is reported with what it waited for.
  // KRELMIX_E2E_SECONDS sets another limit.
  const char* seconds = std::getenv("KRELMIX_E2E_SECONDS");
  krelmix::e2e::InstallWatchdog(seconds ? static_cast<DWORD>(std::atoi(seconds)) : 150);
  return RUN_ALL_TESTS();
}
