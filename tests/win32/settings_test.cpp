// The settings store against the real registry of the test prefix.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../core/fake_platform.h"
#include "support/settings.h"
#include "win32_test_support.h"
#include "support/settings_probe.h"

namespace {

class Settings : public testing::Test {
 protected:
  void SetUp() override {
    InstallTestHooks();
    ClearFakeRecords();
    DeleteAllSettings();
  }
  void TearDown() override { DeleteAllSettings(); }
};

// Each setting is its own key, the number as text in the key's default value: what is
// written as text or as a number reads back both ways.
TEST_F(Settings, RoundTripThroughTheKeysDefaultValue) {
  EXPECT_FALSE(IsWin32s());
  const struct {
    const char *key, *text;  // text null: `number` written as a number
    int number;
    const char *stored;
  } cases[] = {{"Menus", "1", 1, "1"}, {"Width", nullptr, 640, "640"}};
  for (const auto &c : cases) {
    EXPECT_TRUE(c.text != nullptr ? WriteSetting(c.key, c.text) : WriteSettingInt(c.key, c.number));
    EXPECT_EQ(StoredSetting(c.key), c.stored);
    EXPECT_EQ(ReadSettingInt(c.key, 0), c.number);
    char text[81];
    ReadSetting(c.key, text);
    EXPECT_STREQ(text, c.stored);
  }
  EXPECT_TRUE(g_fake.boxes.empty());
}

TEST_F(Settings, AbsentOrUnreadableValuesGiveTheDefault) {
  EXPECT_EQ(ReadSettingInt("Width", CW_USEDEFAULT), CW_USEDEFAULT);
  EXPECT_EQ(ReadSettingInt("Sound", 2), 2);
  const char *texts[] = {"-4", " 3", "3a", "99999999999", ""};
  for (const char *t : texts) {
    WriteSetting("Width", t);
    EXPECT_EQ(ReadSettingInt("Width", CW_USEDEFAULT), CW_USEDEFAULT) << "'" << t << "'";
  }
  WriteSetting("Time", "7");  // read back as it is; the caller decides whether it fits
  EXPECT_EQ(ReadSettingInt("Time", 0), 7);

  const DWORD number = 3;
  StoreRawSetting("Sound", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(ReadSettingInt("Sound", 2), 2);
  char text[81];
  ReadSetting("Sound", text);
  EXPECT_STREQ(text, "");
}

TEST_F(Settings, ValuesLongerThan80CharactersReadAsEmpty) {
  const std::string eighty(80, '7');
  const std::string eightyOne(81, '7');
  char text[81];
  WriteSetting("Y", eighty.c_str());
  ReadSetting("Y", text);
  EXPECT_EQ(std::string(text), eighty);
  WriteSetting("Y", eightyOne.c_str());
  ReadSetting("Y", text);
  EXPECT_STREQ(text, "");
  // Stored without a terminator, 81 characters still do not fit.
  StoreRawSetting("Y", REG_SZ, eightyOne.data(), 81);
  ReadSetting("Y", text);
  EXPECT_STREQ(text, "");
  StoreRawSetting("Y", REG_SZ, "12", 2);  // no terminator, but short
  EXPECT_EQ(ReadSettingInt("Y", 0), 12);
}

TEST_F(Settings, WriteReportsAKeyThatCannotBeCreated) {
  // A registry key name is limited to 255 characters.
  const std::string tooLong(300, 'k');
  EXPECT_FALSE(WriteSetting(tooLong.c_str(), "1"));
  EXPECT_TRUE(g_fake.boxes.empty());
}

TEST_F(Settings, Win32sKeepsSettingsInTheIniFile) {
  // Wine reports Win32s to the exe named here; the child is a new process of that exe.
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string exe = std::strrchr(self, '\\') + 1;
  const std::string appKey = "Software\\Wine\\AppDefaults\\" + exe;
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, appKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE *>("win31"), 6);
  RegCloseKey(key);
  const ChildResult r = RunChild("ini-settings");
  RegDeleteTreeA(HKEY_CURRENT_USER, appKey.c_str());
  EXPECT_EQ(r.exitCode, 0u) << r.output;
  EXPECT_NE(r.output.find("WIN32S 1"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("READ 3"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("CUT 80"), std::string::npos) << r.output;
  EXPECT_EQ(StoredSetting("Time"), "<absent>");  // nothing went to the registry
}

}  // namespace
