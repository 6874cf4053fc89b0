// Loading, saving and offering to save the city database file. Win32.
#include "location/city_database.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstring>

#include "location/city_file.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "support/errors.h"
#include "support/hooks.h"
#include "support/program_files.h"
#include "support/win32_hooks.h"

namespace {

ProgramFileOpener g_openFile = OpenCityFile;

void Warn(int messageId) { ShowWarning(MainWindowHandle(), messageId, 0); }

// Everything written so far, out of the C library's buffer and the system's cache, so that
// the replace below never puts a half-written file in ZORKEL.DAT's place.
bool FlushToDisk(std::FILE *file) {
  if (std::fflush(file) != 0) return false;
  const intptr_t handle = _get_osfhandle(_fileno(file));
  return handle != -1 && FlushFileBuffers(reinterpret_cast<HANDLE>(handle)) != 0;
}

bool IsReadOnly(const char *path) {
  const DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// The file about to be replaced, copied to ZORKEL.BAK: no save destroys the only copy of a
// list. True when there is none to keep.
bool KeepBackup(const char *path) {
  char backupName[kTextSize];
  char backupPath[kPathSize];
  LoadText(IDS_BACKUP_CITY_FILE, backupName);
  BuildProgramPath(backupName, backupPath);
  if (CopyFileA(path, backupPath, FALSE)) return true;
  return GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace

std::FILE *OpenCityFile(const char *name, const char *mode) {
  if (std::strcmp(mode, "w") != 0) return OpenProgramFile(name, mode);
  // The new copy is shared with nobody (another clock saving at the same moment cannot
  // open it) except for the rename that puts it in place while it is still open.
  char path[kPathSize];
  BuildProgramPath(name, path);
  HANDLE handle = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_TEXT);
  if (descriptor == -1) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE *file = _fdopen(descriptor, "w");
  if (file == nullptr) _close(descriptor);
  return file;
}

void SetCityFileOpener(ProgramFileOpener opener) {
  g_openFile = opener != nullptr ? opener : OpenCityFile;
}

void LoadCityDatabase(Location *location) {
  char fileName[kTextSize];
  LoadText(IDS_CITY_FILE, fileName);
  std::FILE *file = g_openFile(fileName, "rb");
  if (file == nullptr) {
    Warn(IDS_CANNOT_LOAD_CITIES);
    StoreNoNameCity(location);
    return;
  }
  const bool whole = ReadCityFile(file, location);
  std::fclose(file);
  // Once, at start-up: the table lacks something the file holds, and a save would drop it.
  if (!whole) Warn(IDS_CITY_FILE_NOT_WHOLE);
}

void SaveCityDatabase() {
  // A loaded table always has a row: none left means the clock has released it while
  // closing, and writing it would replace the list with an empty one.
  if (CityCount() == 0) {
    Warn(IDS_CANNOT_SAVE_CITIES);
    return;
  }
  char newName[kTextSize];
  char fileName[kTextSize];
  LoadText(IDS_NEW_CITY_FILE, newName);
  LoadText(IDS_CITY_FILE, fileName);
  char newPath[kPathSize];
  char path[kPathSize];
  BuildProgramPath(newName, newPath);
  BuildProgramPath(fileName, path);

  SetBusyCursor(1);
  // The user protected the file; Windows would refuse the replace in any case.
  if (IsReadOnly(path)) {
    SetBusyCursor(0);
    Warn(IDS_CANNOT_SAVE_CITIES);
    return;
  }
  std::FILE *file = g_openFile(newName, "w");
  if (file == nullptr) {
    SetBusyCursor(0);
    Warn(IDS_CANNOT_SAVE_CITIES);
    return;
  }
  if (!WriteCityFile(file) || !FlushToDisk(file) || !KeepBackup(path)) {
    SetBusyCursor(0);
    Warn(IDS_CANNOT_SAVE_CITIES);
    std::fclose(file);
    return;
  }
  // One step, while the new copy is still held: until it succeeds the old file is whole,
  // and afterwards the new one is.
  const BOOL replaced =
      MoveFileExA(newPath, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  const bool closed = std::fclose(file) == 0;
  SetBusyCursor(0);
  if (!replaced) {
    Warn(IDS_CANNOT_SAVE_CITIES);
  } else if (!closed) {
    Warn(IDS_CANNOT_CLOSE_CITIES);
  } else {
    SetCityTableChanged(0);
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
