// Files beside the executable, the code page's lead bytes, and the busy cursor.
#include <gtest/gtest.h>

#include <string>

#include "../core/fake_platform.h"
#include "support/program_files.h"
#include "support/program_files_probe.h"
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

}  // namespace
