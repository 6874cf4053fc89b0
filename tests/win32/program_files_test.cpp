// Files beside the executable, the system's own DLLs, the code page's lead bytes, and the
// busy cursor.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../core/fake_platform.h"
#include "support/program_files.h"
#include "support/program_files_probe.h"
#include "support/system_library.h"
#include "support/win32_hooks.h"
#include "win32_test_support.h"

namespace {

class ProgramFiles : public testing::Test {
 protected:
  void SetUp() override {
    InstallTestHooks();
    ClearFakeRecords();
  }
};

TEST_F(ProgramFiles, PathsAreBesideTheExecutable) {
  wchar_t path[kPathSize];
  BuildProgramPath("ZORKEL.DAT", path);
  const std::string expected = ExeFolder() + "ZORKEL.DAT";
  EXPECT_EQ(std::wstring(path), std::wstring(expected.begin(), expected.end()));
  EXPECT_EQ(std::wstring(path).find(L"\\\\"), std::wstring::npos);
}

// One character more ends the program (fatal_exits_test.cpp).
TEST_F(ProgramFiles, A1023CharacterPathIsMade) {
  const ChildResult ok = RunChild("path-1023");
  EXPECT_EQ(ok.exitCode, 0u);
  EXPECT_NE(ok.output.find("PATH 1023"), std::string::npos) << ok.output;
}

TEST_F(ProgramFiles, OpeningAMissingFileReturnsNoneSilently) {
  DeleteBeside("NOSUCH.DAT");
  EXPECT_EQ(OpenProgramFile("NOSUCH.DAT", "r"), nullptr);
  EXPECT_TRUE(g_fake.boxes.empty());
  std::FILE *f = OpenProgramFile("SCRATCH.TXT", "w");
  ASSERT_NE(f, nullptr);
  std::fputs("x\n", f);
  std::fclose(f);
  EXPECT_EQ(ReadFileBeside("SCRATCH.TXT"), "x\r\n");  // text mode
  DeleteBeside("SCRATCH.TXT");
}

// The core walks names by the lead bytes Windows itself gives for the code page.
TEST_F(ProgramFiles, LeadBytesAreThoseOfTheCodePage) {
  for (UINT codePage : {932u, 936u, 949u, 950u, 1252u}) {
    unsigned char table[256];
    FillAnsiCharBytes(codePage, table);
    int leads = 0;
    for (int b = 0; b < 256; ++b) {
      const bool lead = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(b)) != 0;
      EXPECT_EQ(table[b], lead ? 2 : 1) << codePage << " " << b;
      leads += lead ? 1 : 0;
    }
    EXPECT_EQ(leads > 0, codePage != 1252u) << codePage;
  }
}

int CursorCount() {
  const int shown = ShowCursor(TRUE);
  ShowCursor(FALSE);
  return shown - 1;
}

TEST_F(ProgramFiles, BusyCursorComesAndGoes) {
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  SetCursor(arrow);
  const int count = CursorCount();
  SetBusyCursor(1);
  EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_WAIT));
  EXPECT_EQ(CursorCount(), count + 1);
  SetBusyCursor(0);
  EXPECT_EQ(GetCursor(), arrow);
  EXPECT_EQ(CursorCount(), count);
}

using LoadA = HMODULE(WINAPI *)(LPCSTR, HANDLE, DWORD);
using LoadW = HMODULE(WINAPI *)(LPCWSTR, HANDLE, DWORD);
LoadA g_loadA = nullptr;
LoadW g_loadW = nullptr;
bool g_flagRefused = false;  // a Windows without the search flags
std::vector<DWORD> g_flagsA;
std::wstring g_pathW;

HMODULE WINAPI LoadByName(LPCSTR name, HANDLE file, DWORD flags) {
  g_flagsA.push_back(flags);
  if (!g_flagRefused) return g_loadA(name, file, flags);
  SetLastError(ERROR_INVALID_PARAMETER);
  return nullptr;
}
HMODULE WINAPI LoadByPath(LPCWSTR path, HANDLE file, DWORD flags) {
  g_pathW = path;
  return g_loadW(path, file, flags);
}

// Optional functions come from the DLL in the system folder: asked for with the search flag
// (Windows 8 and later, 7 with KB2533623), or where Windows refuses the flag as an invalid
// parameter (Vista, 7 without it), by the DLL's full path in the system folder.
TEST_F(ProgramFiles, SystemFunctionsComeFromTheSystemFolderOnly) {
  g_loadA = reinterpret_cast<LoadA>(const_cast<void *>(
      ReplaceImport("kernel32.dll", "LoadLibraryExA", reinterpret_cast<const void *>(LoadByName))));
  g_loadW = reinterpret_cast<LoadW>(const_cast<void *>(
      ReplaceImport("kernel32.dll", "LoadLibraryExW", reinterpret_cast<const void *>(LoadByPath))));
  wchar_t system[MAX_PATH];
  ASSERT_GT(GetSystemDirectoryW(system, MAX_PATH), 0u);
  const struct {
    const char *dll, *function;
    bool refused, found;
    const wchar_t *path;  // asked for by full path, after the system folder
  } cases[] = {
      {"dwmapi.dll", "DwmSetWindowAttribute", false, true, L""},
      {"user32.dll", "NoSuchFunction", false, false, L""},
      {"nosuch.dll", "NoSuchFunction", false, false, L""},
      {"dwmapi.dll", "DwmSetWindowAttribute", true, true, L"\\dwmapi.dll"},
      {"nosuch.dll", "NoSuchFunction", true, false, L"\\nosuch.dll"},
  };
  for (const auto &c : cases) {
    g_flagRefused = c.refused;
    g_flagsA.clear();
    g_pathW.clear();
    const FARPROC found = SystemFunction(c.dll, c.function);
    EXPECT_EQ(found, c.found ? GetProcAddress(GetModuleHandleA(c.dll), c.function) : nullptr) << c.dll;
    EXPECT_EQ(g_flagsA, std::vector<DWORD>{0x800u}) << c.dll;  // LOAD_LIBRARY_SEARCH_SYSTEM32
    EXPECT_EQ(g_pathW, *c.path != 0 ? std::wstring(system) + c.path : L"") << c.dll;
  }
  ReplaceImport("kernel32.dll", "LoadLibraryExA", reinterpret_cast<const void *>(g_loadA));
  ReplaceImport("kernel32.dll", "LoadLibraryExW", reinterpret_cast<const void *>(g_loadW));
}

}  // namespace
