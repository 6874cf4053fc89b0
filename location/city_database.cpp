// Loading, saving and offering to save the city database file. Win32.
#include "location/city_database.h"

#include <windows.h>

#include <io.h>

#include "location/city_file.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "support/errors.h"
#include "support/hooks.h"
#include "support/program_files.h"
#include "support/win32_hooks.h"

namespace {

ProgramFileOpener g_openFile = OpenProgramFile;

void Warn(int messageId) { ShowWarning(MainWindowHandle(), messageId, 0); }

// Everything written so far, out of the C library's buffer and the system's cache, so that
// the replace below never puts a half-written file in ZORKEL.DAT's place.
bool FlushToDisk(std::FILE *file) {
  if (std::fflush(file) != 0) return false;
  const intptr_t handle = _get_osfhandle(_fileno(file));
  return handle != -1 && FlushFileBuffers(reinterpret_cast<HANDLE>(handle)) != 0;
}

}  // namespace

void SetCityFileOpener(ProgramFileOpener opener) {
  g_openFile = opener != nullptr ? opener : OpenProgramFile;
}

void LoadCityDatabase(Location *location) {
  char fileName[kTextSize];
  LoadText(IDS_CITY_FILE, fileName);
  std::FILE *file = g_openFile(fileName, "r");
  if (file == nullptr) {
    Warn(IDS_CANNOT_LOAD_CITIES);
    StoreNoNameCity(location);
    return;
  }
  ReadCityFile(file, location);
  std::fclose(file);
}

void SaveCityDatabase() {
  char newName[kTextSize];
  char fileName[kTextSize];
  LoadText(IDS_NEW_CITY_FILE, newName);
  LoadText(IDS_CITY_FILE, fileName);

  SetBusyCursor(1);
  std::FILE *file = g_openFile(newName, "w");
  if (file == nullptr) {
    SetBusyCursor(0);
    Warn(IDS_CANNOT_SAVE_CITIES);
    return;
  }
  if (!WriteCityFile(file) || !FlushToDisk(file)) {
    SetBusyCursor(0);
    Warn(IDS_CANNOT_SAVE_CITIES);
    std::fclose(file);
    return;
  }
  if (std::fclose(file) != 0) {
    SetBusyCursor(0);
    Warn(IDS_CANNOT_CLOSE_CITIES);
    return;
  }
  char newPath[kPathSize];
  char path[kPathSize];
  BuildProgramPath(newName, newPath);
  BuildProgramPath(fileName, path);
  // One step: until it succeeds the old file is whole, and afterwards the new one is.
  const BOOL replaced =
      MoveFileExA(newPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  SetBusyCursor(0);
  if (replaced) {
    SetCityTableChanged(0);
  } else {
    Warn(IDS_CANNOT_SAVE_CITIES);
  }
}

void OfferToSaveCityDatabase() {
  if (CityTableChanged() == 0) return;
  char question[kTextSize];
  char productName[kTextSize];
  LoadText(IDS_SAVE_CITIES_QUESTION, question);
  LoadText(IDS_PRODUCT_NAME, productName);
  if (g_platform.messageBox(MainWindowHandle(), question, productName,
                            kBoxYesNo | kBoxIconQuestion) == kAnswerYes) {
    SaveCityDatabase();
  }
}
