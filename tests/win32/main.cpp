// The in-process Win32 tests. The program first copies itself into a fresh temporary folder
// and runs from there, so that the city files it writes lie beside a real executable and
// never in the build tree. With --child=NAME it runs one scenario that ends the process.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "../core/fake_platform.h"
#include "win32_test_support.h"

namespace {

const char kCopyMarker[] = "ORVANE_TEST_COPY";

// Copies this exe into %TEMP%\orvane-tests-<pid>\ and runs the copy with the same command
// line; returns its exit code. The folder is removed afterwards.
int RunFromTemporaryCopy() {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  char folder[MAX_PATH];
  // Process ids come back quickly under Wine: the tick count keeps the folder new.
  std::snprintf(folder, sizeof folder, "%sorvane-tests-%lu-%lu\\", temp, GetCurrentProcessId(),
                GetTickCount());
  CreateDirectoryA(folder, nullptr);
  const char *base = std::strrchr(self, '\\');
  std::string copy = std::string(folder) + (base != nullptr ? base + 1 : self);
  if (!CopyFileA(self, copy.c_str(), FALSE)) {
    std::fprintf(stderr, "cannot copy the test program to %s\n", copy.c_str());
    return 3;
  }
  SetEnvironmentVariableA(kCopyMarker, "1");
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  std::string commandLine = GetCommandLineA();
  if (!CreateProcessA(copy.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, folder,
                      &startup, &process)) {
    std::fprintf(stderr, "cannot start %s\n", copy.c_str());
    return 3;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD code = 3;
  GetExitCodeProcess(process.hProcess, &code);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  // Whatever the tests left behind goes with the folder.
  std::string pattern = std::string(folder) + "*";
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (std::strcmp(found.cFileName, ".") == 0 || std::strcmp(found.cFileName, "..") == 0) continue;
      std::string path = std::string(folder) + found.cFileName;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(folder);
  return static_cast<int>(code);
}

int RunChildScenario(const char *name) {
  InstallTestHooks();
  PrintBoxesForParent();
  for (const ChildScenarioEntry *e = kChildScenarios; e->name != nullptr; ++e) {
    if (std::strcmp(e->name, name) == 0) {
      e->run();
      std::printf("RETURNED\n");  // the scenario should not get here
      return 0;
    }
  }
  std::printf("NO SUCH SCENARIO\n");
  return 4;
}

}  // namespace

int main(int argc, char **argv) {
  if (GetEnvironmentVariableA(kCopyMarker, nullptr, 0) == 0) return RunFromTemporaryCopy();
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--child=", 8) == 0) return RunChildScenario(argv[i] + 8);
  }
  testing::InitGoogleTest(&argc, argv);
  InstallTestHooks();
  return RUN_ALL_TESTS();
}
