// ZORKEL.DAT beside the executable: loading, saving through CITIES.NEW and one replace, the
// question at close, and every way a save can fail without losing the user's file.
#include <gtest/gtest.h>

#include <string>

#include "../core/fake_platform.h"
#include "../core/test_files.h"
#include "location/city_database.h"
#include "location/city_database_probe.h"
#include "location/city_table.h"
#include "support/held_file.h"
#include "support/program_files.h"
#include "win32_test_support.h"
#include "support/program_files_probe.h"

namespace {

const char kRealistic[] =
    "Denver\r\n"
    "Anchorage           |149|54| 0|W|-9.00|1\r\n"
    "Denver              |104|59| 0|W|-7.00|1\r\n"
    "Kolkata             | 88|22| 0|E|5.50|0\r\n"
    "London              |  0| 7|39|W|0.00|0\r\n"
    "Paris               |  2|20|14|E|1.00|0\r\n"
    "Paris               |  2|20|14|E|1.00|0\r\n"
    "St. John's          | 52|43| 0|W|-3.50|1\r\n"
    "Sydney              |151|12| 0|E|10.00|0\r\n";

class CityDatabase : public testing::Test {
 protected:
  void SetUp() override {
    InstallTestHooks();
    ClearFakeRecords();
    ResetCityTable();
    SetCityFileOpener(nullptr);
    for (const char *f : {"ZORKEL.DAT", "CITIES.NEW", "ZORKEL.BAK"}) DeleteBeside(f);
  }
  void TearDown() override {
    SetCityFileOpener(nullptr);
    ResetCityTable();
    for (const char *f : {"ZORKEL.DAT", "CITIES.NEW", "ZORKEL.BAK"}) DeleteBeside(f);
  }
  Location Load() {
    ResetCityTable();
    Location l{};
    LoadCityDatabase(&l);
    return l;
  }
  // Loads the realistic file and changes the table, as a confirmed dialog would.
  void LoadAndChange() {
    WriteFileBeside("ZORKEL.DAT", kRealistic);
    Load();
    char name[81] = "Quito";
    StoreCity(0, name, 78, 30, 0, kWest, -5.0, 0);
    ASSERT_EQ(CityTableChanged(), 1);
  }
  void ExpectSaveFailedWith(const char *message) {
    ASSERT_EQ(g_fake.boxes.size(), 1u);
    EXPECT_EQ(g_fake.boxes[0].text, message);
    EXPECT_EQ(g_fake.boxes[0].caption, "Orvane 2 - Error");
    EXPECT_EQ(CityTableChanged(), 1);
  }
};

TEST_F(CityDatabase, AMissingFileGivesOneWarningAndTheNoNameCity) {
  const Location l = Load();
  ASSERT_EQ(g_fake.boxes.size(), 1u);
  EXPECT_EQ(g_fake.boxes[0].text, "Cannot load city location database");
  EXPECT_EQ(g_fake.boxes[0].caption, "Orvane 2 - Error");
  ASSERT_EQ(CityCount(), 1);
  EXPECT_STREQ(CityRow(0)->name, "No name");
  EXPECT_STREQ(CurrentCityName(), "No name");
  EXPECT_STREQ(l.name, "No name");
  EXPECT_EQ(l.hemisphere, kWest);
  EXPECT_EQ(l.longitude, 0.0);
  EXPECT_EQ(l.zone, 0.0);
  EXPECT_EQ(l.dst, 0);
  EXPECT_EQ(CityTableChanged(), 0);
  ClearFakeRecords();
  OfferToSaveCityDatabase();  // closing asks nothing
  EXPECT_TRUE(g_fake.boxes.empty());
}

TEST_F(CityDatabase, SavingWritesTheAddedCity) {
  LoadAndChange();
  SaveCityDatabase();
  EXPECT_EQ(CityTableChanged(), 0);
  const std::string saved = ReadFileBeside("ZORKEL.DAT");
  EXPECT_EQ(saved.rfind("Quito\r\n", 0), 0u);  // the new current city
  EXPECT_NE(saved.find("Quito               | 78|30| 0|W|-5.00|0\r\n"), std::string::npos);
}

TEST_F(CityDatabase, OfferAsksOnlyWhenChangedAndSavesOnYes) {
  WriteFileBeside("ZORKEL.DAT", kRealistic);
  Load();
  OfferToSaveCityDatabase();
  EXPECT_TRUE(g_fake.boxes.empty());

  LoadAndChange();
  g_fake.answer = kAnswerNo;
  OfferToSaveCityDatabase();
  ASSERT_EQ(g_fake.boxes.size(), 1u);
  EXPECT_EQ(g_fake.boxes[0].text, "Save city location database?");
  EXPECT_EQ(g_fake.boxes[0].caption, "Orvane 2");
  EXPECT_EQ(g_fake.boxes[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(ReadFileBeside("ZORKEL.DAT"), kRealistic);
  EXPECT_EQ(CityTableChanged(), 1);

  ClearFakeRecords();
  g_fake.answer = kAnswerYes;
  OfferToSaveCityDatabase();
  EXPECT_EQ(g_fake.boxes.size(), 1u);
  EXPECT_EQ(CityTableChanged(), 0);
  EXPECT_NE(ReadFileBeside("ZORKEL.DAT").find("Quito"), std::string::npos);
}

// Closing gives the rows' memory back; a save after it (a Yes to a question that was still
// up) would replace the list with an empty one.
TEST_F(CityDatabase, AReleasedTableIsNeverWritten) {
  LoadAndChange();
  ReleaseCityTable();
  SaveCityDatabase();
  ExpectSaveFailedWith("Cannot save city location database");
  EXPECT_EQ(ReadFileBeside("ZORKEL.DAT"), kRealistic);
}

std::FILE *OpenNewCopyReadOnly(const char *name, const char *mode) {
  if (std::string(mode) != "w") return OpenProgramFile(name, mode);
  WriteFileBeside(name, "");
  return OpenProgramFile(name, "r");  // every write to it fails
}

// Another program (a sync client, a virus scanner) that opened a file with no sharing at
// all and lets go of it after a while, from a thread of its own.
struct Hold {
  HANDLE file;
  DWORD milliseconds;
};

DWORD WINAPI LetGoLater(void *context) {
  const Hold *hold = static_cast<const Hold *>(context);
  Sleep(hold->milliseconds);
  CloseHandle(hold->file);
  return 0;
}

// Windows refuses to copy or replace a file so held (a sharing violation, or access denied
// for the replace): a moment's hold is waited out, a longer one fails and leaves no trace.
TEST_F(CityDatabase, AHeldFileIsWaitedForAMomentAndNoLonger) {
  const struct {
    const char *held;
    DWORD milliseconds;
    bool saves;
  } cases[] = {
      {"ZORKEL.DAT", kHeldFileWaitMs / 4, true},
      {"ZORKEL.BAK", kHeldFileWaitMs / 4, true},
      {"ZORKEL.DAT", kHeldFileWaitMs * 2, false},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(std::string(c.held) + " " + std::to_string(c.milliseconds));
    ClearFakeRecords();
    WriteFileBeside("ZORKEL.BAK", "older");
    LoadAndChange();
    Hold hold = {CreateFileA(PathBeside(c.held).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                             0, nullptr),
                 c.milliseconds};
    ASSERT_NE(hold.file, INVALID_HANDLE_VALUE);
    HANDLE holder = CreateThread(nullptr, 0, LetGoLater, &hold, 0, nullptr);
    ASSERT_NE(holder, nullptr);
    SaveCityDatabase();
    WaitForSingleObject(holder, INFINITE);
    CloseHandle(holder);
    EXPECT_FALSE(FileExists("CITIES.NEW"));
    if (c.saves) {
      EXPECT_TRUE(g_fake.boxes.empty());
      EXPECT_EQ(CityTableChanged(), 0);
      EXPECT_NE(ReadFileBeside("ZORKEL.DAT").find("Quito"), std::string::npos);
      EXPECT_EQ(ReadFileBeside("ZORKEL.BAK"), kRealistic);
    } else {
      ExpectSaveFailedWith("Cannot save city location database");
      EXPECT_EQ(ReadFileBeside("ZORKEL.DAT"), kRealistic);
    }
  }
  // Once it is let go, the next save goes through.
  ClearFakeRecords();
  SaveCityDatabase();
  EXPECT_TRUE(g_fake.boxes.empty());
  EXPECT_EQ(CityTableChanged(), 0);
}

// As CreateFile answers in a folder the user may not write (Program Files).
std::FILE *RefuseAsAFolderWithoutWriteAccess(const char *name, const char *mode) {
  if (std::string(mode) != "w") return OpenCityFile(name, mode);
  SetLastError(ERROR_ACCESS_DENIED);
  return nullptr;
}

// Every way a save can fail leaves ZORKEL.DAT as it was, the table marked changed, no
// CITIES.NEW behind, and one warning: naming the folder when Windows refuses to create a
// file in it (as in Program Files), the general one otherwise.
bool NewCopyIsAFolder() { return CreateDirectoryA(PathBeside("CITIES.NEW").c_str(), nullptr); }
bool FileIsAFolder() {  // Windows will not replace a directory with a file
  DeleteBeside("ZORKEL.DAT");
  return CreateDirectoryA(PathBeside("ZORKEL.DAT").c_str(), nullptr);
}
bool FileIsReadOnly() {  // MoveFileEx and ReplaceFile refuse a read-only target
  return SetFileAttributesA(PathBeside("ZORKEL.DAT").c_str(), FILE_ATTRIBUTE_READONLY);
}

TEST_F(CityDatabase, AFailedSaveLeavesTheOldFileAndWarnsOnce) {
  const std::string general = "Cannot save city location database";
  const std::string folder = "The city list cannot be saved: this folder cannot be written:\n\n" +
                             ExeFolder() +
                             "\n\nKeep Orvane 2 in a folder of your own, such as one in Documents.";
  const struct {
    const char *what;
    bool (*prepare)();
    ProgramFileOpener opener;
    const std::string &message;
    DWORD attributes;  // that ZORKEL.DAT then has, besides the archive bit
  } cases[] = {
      {"the new copy cannot be created", NewCopyIsAFolder, nullptr, general, 0},
      {"a write fails", nullptr, OpenNewCopyReadOnly, general, 0},
      {"the folder cannot be written", nullptr, RefuseAsAFolderWithoutWriteAccess, folder, 0},
      {"a directory is in the file's place", FileIsAFolder, nullptr, general,
       FILE_ATTRIBUTE_DIRECTORY},
      {"the file is read-only", FileIsReadOnly, nullptr, general, FILE_ATTRIBUTE_READONLY},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    TearDown();
    SetUp();
    LoadAndChange();
    if (c.prepare != nullptr) {
      ASSERT_TRUE(c.prepare());
    }
    SetCityFileOpener(c.opener);
    SaveCityDatabase();
    ExpectSaveFailedWith(c.message.c_str());
    const DWORD attributes = GetFileAttributesA(PathBeside("ZORKEL.DAT").c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY), c.attributes);
    if (c.attributes != FILE_ATTRIBUTE_DIRECTORY) {
      EXPECT_EQ(ReadFileBeside("ZORKEL.DAT"), kRealistic);
    }
    if (c.prepare != NewCopyIsAFolder) {
      EXPECT_FALSE(FileExists("CITIES.NEW"));
    }
  }
}

// What is loaded and saved comes back as the program writes it, in the ANSI code page with
// CR LF, and the file it replaced is kept as ZORKEL.BAK. S with caron is in the ANSI code
// page (Windows-1252: 0x8A) but not in Latin-1, so the platform's own conversion is needed.
TEST_F(CityDatabase, LoadedAndSavedComesBackAsWrittenInAnsi) {
  char caron[8] = "";
  BOOL lost = FALSE;
  ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, L"\u0160", 1, caron, sizeof caron, nullptr, &lost), 1);
  ASSERT_FALSE(lost) << "the ANSI code page lacks S with caron";
  const std::string utf16 = Utf16Bytes(  // as an editor saves it: UTF-16 with its mark
      u"Oslo\r\nOslo|10|45|0|E|1.00|0\r\n\u0160ibenik|15|53|0|E|1.00|0\r\nLima|77|2|0|W|-5.00|0\r\n");
  const std::string oslo = "Oslo\r\nOslo                | 10|45| 0|E|1.00|0\r\n";
  const std::string lima = "Lima                | 77| 2| 0|W|-5.00|0\r\n";
  const struct {
    const char *what;
    std::string file, saved, current;
    int rows;
    double zone;
  } cases[] = {
      {"a file the program wrote, byte for byte", kRealistic, kRealistic, "Denver", 8, -7.0},
      {"UTF-16", utf16, oslo + caron + "ibenik             | 15|53| 0|E|1.00|0\r\n" + lima, "Oslo", 3, 1.0},
      {"a Ctrl-Z inside a name",
       "Oslo\r\nOslo|10|45|0|E|1.00|0\r\nZ\x1A" "a|8|32|0|E|1.00|0\r\nLima|77|2|0|W|-5.00|0\r\n",
       oslo + "Z\x1A" "a                 |  8|32| 0|E|1.00|0\r\n" + lima, "Oslo", 3, 1.0},
      {"UTF-8 with its mark and CR line ends",
       "\xEF\xBB\xBFOslo\rOslo|10|45|0|E|1.00|0\rLima|77|2|0|W|-5.00|0\r", oslo + lima, "Oslo", 2, 1.0},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.what);
    ClearFakeRecords();
    WriteFileBeside("ZORKEL.DAT", c.file);
    const Location l = Load();
    EXPECT_TRUE(g_fake.boxes.empty());  // read whole: nothing to report
    EXPECT_EQ(CityCount(), c.rows);
    EXPECT_EQ(l.name, c.current);
    EXPECT_EQ(l.zone, c.zone);
    SetCityTableChanged(1);
    SaveCityDatabase();
    EXPECT_TRUE(g_fake.boxes.empty());
    EXPECT_EQ(CityTableChanged(), 0);
    EXPECT_EQ(ReadFileBeside("ZORKEL.DAT"), c.saved);
    EXPECT_EQ(ReadFileBeside("ZORKEL.BAK"), c.file);
    EXPECT_FALSE(FileExists("CITIES.NEW"));
    Load();
    EXPECT_EQ(CityCount(), c.rows);
  }
}

TEST_F(CityDatabase, AFileNotReadWholeWarnsOnceNamingIt) {
  WriteFileBeside("ZORKEL.DAT", std::string("Oslo\r\nOslo|10|45|0|E|1.00|0\r\nLi\0ma|77|2|0|W|-5|0\r\n", 40));
  Load();
  ASSERT_EQ(g_fake.boxes.size(), 1u);
  EXPECT_EQ(g_fake.boxes[0].text, "ZORKEL.DAT could not be read whole; a save keeps it as ZORKEL.BAK");
  EXPECT_EQ(g_fake.boxes[0].caption, "Orvane 2 - Error");
  EXPECT_EQ(CityCount(), 2);
  EXPECT_EQ(CityTableChanged(), 0);
}

TEST_F(CityDatabase, EverySaveKeepsThePreviousFileAsBak) {
  Load();  // no file: nothing to keep
  ClearFakeRecords();
  SetCityTableChanged(1);
  SaveCityDatabase();
  EXPECT_FALSE(FileExists("ZORKEL.BAK"));
  const std::string first = ReadFileBeside("ZORKEL.DAT");
  WriteFileBeside("ZORKEL.DAT", kRealistic);
  LoadAndChange();
  SaveCityDatabase();
  EXPECT_TRUE(g_fake.boxes.empty());
  EXPECT_EQ(ReadFileBeside("ZORKEL.BAK"), kRealistic);
  const std::string second = ReadFileBeside("ZORKEL.DAT");
  EXPECT_NE(second.find("Quito"), std::string::npos);
  SetCityTableChanged(1);
  SaveCityDatabase();
  EXPECT_EQ(ReadFileBeside("ZORKEL.BAK"), second);
  EXPECT_NE(first, second);
}

// The second of two clocks saving at once: it starts while the first holds its new copy.
bool g_secondWriterRan = false;
std::string g_secondWriterBoxes;

std::FILE *OpenWhileAnotherClockSaves(const char *name, const char *mode) {
  std::FILE *file = OpenCityFile(name, mode);
  if (std::string(mode) == "w" && !g_secondWriterRan) {
    g_secondWriterRan = true;
    const std::string current = CurrentCityName();
    SetCurrentCityName("Second writer");
    const size_t boxes = g_fake.boxes.size();
    SaveCityDatabase();
    if (g_fake.boxes.size() > boxes) g_secondWriterBoxes = g_fake.boxes.back().text;
    SetCurrentCityName(current.c_str());
    SetCityTableChanged(1);
  }
  return file;
}

TEST_F(CityDatabase, TwoClocksSavingAtOnceNeverTearTheFile) {
  LoadAndChange();
  g_secondWriterRan = false;
  g_secondWriterBoxes.clear();
  SetCityFileOpener(OpenWhileAnotherClockSaves);
  SaveCityDatabase();
  ASSERT_TRUE(g_secondWriterRan);
  // The second could not get the new copy while the first held it, and said so; the file
  // in place is the first save, whole.
  EXPECT_EQ(g_secondWriterBoxes, "Cannot save city location database");
  EXPECT_EQ(CityTableChanged(), 0);
  const std::string realistic = kRealistic;
  EXPECT_EQ(ReadFileBeside("ZORKEL.DAT"),
            "Quito\r\n" + realistic.substr(realistic.find('\n') + 1) +
                "Quito               | 78|30| 0|W|-5.00|0\r\n");
}

// Another clock from the same folder saved Beta, and an editor wrote a Quito of its own,
// after this clock loaded the file: its save keeps Beta, and its own Quito.
TEST_F(CityDatabase, ASaveKeepsWhatOthersPutInTheFile) {
  LoadAndChange();
  const std::string others =
      std::string(kRealistic) + "Beta|10|0|0|E|2.00|0\r\nQuito|1|0|0|E|3.00|1\r\n";
  WriteFileBeside("ZORKEL.DAT", others);
  SaveCityDatabase();
  EXPECT_TRUE(g_fake.boxes.empty());
  EXPECT_EQ(CityTableChanged(), 0);
  EXPECT_EQ(CityCount(), 10);
  const std::string realistic = kRealistic;
  EXPECT_EQ(ReadFileBeside("ZORKEL.DAT"), "Quito\r\n" + realistic.substr(realistic.find('\n') + 1) +
                                              "Quito               | 78|30| 0|W|-5.00|0\r\n"
                                              "Beta                | 10| 0| 0|E|2.00|0\r\n");
  EXPECT_EQ(ReadFileBeside("ZORKEL.BAK"), others);
  EXPECT_FALSE(FileExists("CITIES.NEW"));
}

}  // namespace
