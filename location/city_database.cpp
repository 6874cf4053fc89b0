// Loading, saving and offering to save the city database file. Win32.
#include "location/city_database.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstring>

#include "location/city_database_probe.h"
#include "location/city_file.h"
#include "location/city_merge.h"
#include "location/city_table.h"
#include "resources/resource_ids.h"
#include "support/errors.h"
#include "support/hooks.h"
#include "support/program_files.h"
#include "support/win32_hooks.h"

namespace {

ProgramFileOpener g_openFile = OpenCityFile;
// What this clock last loaded or saved: a file that differs has been written by another
// clock or by hand since, and its cities are kept. Not taken until then.
FileStamp g_knownFile = {false, 0, 0};

void Warn(int messageId) { ShowWarning(MainWindowHandle(), messageId, 0); }

// Everything written so far, out of the C library's buffer and the system's cache, so that
// the replace below never puts a half-written file in ZORKEL.DAT's place.
bool FlushToDisk(std::FILE *file) {
  if (std::fflush(file) != 0) return false;
  const intptr_t handle = _get_osfhandle(_fileno(file));
  return handle != -1 && FlushFileBuffers(reinterpret_cast<HANDLE>(handle)) != 0;
}

bool IsReadOnly(const wchar_t *path) {
  const DWORD attributes = GetFileAttributesW(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

// A file operation from one path to another, as RetryWhileHeld tries it.
struct FilePair {
  const wchar_t *from;
  const wchar_t *to;
};

bool CopyOver(void *context) {
  const FilePair *pair = static_cast<const FilePair *>(context);
  return CopyFileW(pair->from, pair->to, FALSE) != 0;
}

bool ReplaceWith(void *context) {
  const FilePair *pair = static_cast<const FilePair *>(context);
  return MoveFileExW(pair->from, pair->to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

struct ReadOpen {
  const wchar_t *path;
  HANDLE handle;
};

bool OpenForReading(void *context) {
  ReadOpen *open = static_cast<ReadOpen *>(context);
  open->handle = CreateFileW(open->path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return open->handle != INVALID_HANDLE_VALUE;
}

// A C stream over a handle of our own; the handle is closed when the stream cannot be made.
std::FILE *StreamOfHandle(HANDLE handle, int flags, const char *mode) {
  const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags);
  if (descriptor == -1) {
    CloseHandle(handle);
    return nullptr;
  }
  std::FILE *file = _fdopen(descriptor, mode);
  if (file == nullptr) _close(descriptor);
  return file;
}

// The file about to be replaced, copied to ZORKEL.BAK: no save destroys the only copy of a
// list. True when there is none to keep.
bool KeepBackup(const wchar_t *path) {
  char backupName[kTextSize];
  wchar_t backupPath[kPathSize];
  LoadText(IDS_BACKUP_CITY_FILE, backupName);
  BuildProgramPath(backupName, backupPath);
  FilePair pair = {path, backupPath};
  if (RetryWhileHeld(CopyOver, &pair, backupPath)) return true;
  return GetLastError() == ERROR_FILE_NOT_FOUND;
}

// The new copy could not be made, and not because one is there already (another clock's):
// the folder itself refuses new files.
bool FolderRefusesFiles(DWORD error, const wchar_t *newPath) {
  return (error == ERROR_ACCESS_DENIED || error == ERROR_WRITE_PROTECT) &&
         GetFileAttributesW(newPath) == INVALID_FILE_ATTRIBUTES;
}

// Names the folder, which the user can do something about: a folder of one's own.
void WarnFolderNotWritable(const wchar_t *path) {
  char folder[3 * kPathSize] = "";
  const int length = WideCharToMultiByte(CP_ACP, 0, path, -1, folder, sizeof folder, nullptr, nullptr);
  if (length <= 0) folder[0] = '\0';
  char *lastBackslash = std::strrchr(folder, '\\');
  if (lastBackslash != nullptr) lastBackslash[1] = '\0';
  char caption[kTextSize];
  char cannot[kTextSize];
  char advice[kTextSize];
  LoadText(IDS_ERROR_CAPTION, caption);
  LoadText(IDS_FOLDER_NOT_WRITABLE, cannot);
  LoadText(IDS_KEEP_IN_OWN_FOLDER, advice);
  char text[sizeof folder + 2 * kTextSize + 8];
  std::snprintf(text, sizeof text, "%s\n\n%s\n\n%s", cannot, folder, advice);
  g_platform.messageBox(MainWindowHandle(), text, caption,
                        kBoxOk | kBoxIconExclamation | kBoxTaskModal);
}

// Before a save replaces ZORKEL.DAT: the cities it gained since this clock last read or
// wrote it join the table. False when it is there but could not be read, or there was no
// memory for them: the save would lose them.
bool JoinCitiesOfOtherClocks(const char *fileName) {
  std::FILE *file = g_openFile(fileName, "rb");
  if (file == nullptr) return GetLastError() == ERROR_FILE_NOT_FOUND;
  const int joined = JoinCitiesOfChangedFile(file, &g_knownFile);
  std::fclose(file);
  return joined >= 0;
}

// What this save put on disk, read back through the new copy's own handle, which nobody
// else can open. Not taken when it cannot be read: the next save then reads the file again.
FileStamp StampOfWritten(std::FILE *file) {
  FileStamp stamp = {false, 0, 0};
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
  LARGE_INTEGER zero = {};
  if (handle == INVALID_HANDLE_VALUE || !SetFilePointerEx(handle, zero, nullptr, FILE_BEGIN)) {
    return stamp;
  }
  stamp = StartFileStamp();
  char bytes[4096];
  DWORD got = 0;
  BOOL read;
  while ((read = ReadFile(handle, bytes, sizeof bytes, &got, nullptr)) != 0 && got > 0) {
    AddToFileStamp(&stamp, bytes, got);
  }
  if (read == 0) stamp.taken = false;
  SetFilePointerEx(handle, zero, nullptr, FILE_END);
  return stamp;
}

}  // namespace

std::FILE *OpenCityFile(const char *name, const char *mode) {
  wchar_t path[kPathSize];
  BuildProgramPath(name, path);
  if (std::strcmp(mode, "w") != 0) {
    // Another program may hold the file for a moment; reading it is waited for like saving.
    ReadOpen open = {path, INVALID_HANDLE_VALUE};
    if (!RetryWhileHeld(OpenForReading, &open, path)) return nullptr;
    const bool binary = std::strchr(mode, 'b') != nullptr;
    return StreamOfHandle(open.handle, _O_RDONLY | (binary ? _O_BINARY : _O_TEXT), mode);
  }
  // The new copy is shared with nobody (another clock saving at the same moment cannot
  // open it) except for the rename that puts it in place while it is still open. It is
  // read back too, for what the save put on disk.
  HANDLE handle = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return StreamOfHandle(handle, _O_WRONLY | _O_TEXT, "w");
}

void SetCityFileOpener(ProgramFileOpener opener) {
  g_openFile = opener != nullptr ? opener : OpenCityFile;
}

void LoadCityDatabase(Location *location) {
  char fileName[kTextSize];
  LoadText(IDS_CITY_FILE, fileName);
  std::FILE *file = g_openFile(fileName, "rb");
  g_knownFile.taken = false;
  if (file == nullptr) {
    Warn(IDS_CANNOT_LOAD_CITIES);
    StoreNoNameCity(location);
    return;
  }
  const bool whole = ReadCityFile(file, location, &g_knownFile);
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
  wchar_t newPath[kPathSize];
  wchar_t path[kPathSize];
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
    const DWORD error = GetLastError();
    SetBusyCursor(0);
    if (FolderRefusesFiles(error, newPath)) {
      WarnFolderNotWritable(path);
    } else {
      Warn(IDS_CANNOT_SAVE_CITIES);
    }
    return;
  }
  // Holding the new copy keeps any other clock from saving until this one is done, so the
  // file read now is the one this save replaces.
  const bool written =
      JoinCitiesOfOtherClocks(fileName) && WriteCityFile(file) && FlushToDisk(file);
  const FileStamp stamp = written ? StampOfWritten(file) : FileStamp{false, 0, 0};
  if (!written || !KeepBackup(path)) {
    std::fclose(file);
    DeleteFileW(newPath);  // a failed save leaves nothing of its own behind
    SetBusyCursor(0);
    Warn(IDS_CANNOT_SAVE_CITIES);
    return;
  }
  // One step, while the new copy is still held: until it succeeds the old file is whole,
  // and afterwards the new one is.
  FilePair pair = {newPath, path};
  const bool replaced = RetryWhileHeld(ReplaceWith, &pair, path);
  const bool closed = std::fclose(file) == 0;
  if (!replaced) DeleteFileW(newPath);
  if (replaced) g_knownFile = stamp;
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
