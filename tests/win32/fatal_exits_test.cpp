// Every way the program stops with a message, each run in a child process (see children.cpp):
// the clock's timer stopped first, the message, where the check failed, exit code 1, and
// nothing saved or printed after.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "clock_window.h"

namespace {

// Whether `rest` is the box that says where the check failed, "file/line", and nothing after
// it; `where` is the start of that text (null: any file).
bool IsOnlyWhere(const std::string &rest, const char *where) {
  std::size_t at;
  if (where != nullptr) {
    if (rest.rfind(where, 0) != 0) return false;
    at = std::strlen(where);
  } else {
    at = rest.find('/');
    if (at == std::string::npos || at > rest.find('\n')) return false;
    ++at;
  }
  at = rest.find_first_not_of("0123456789", at);
  return at != std::string::npos && rest.compare(at, std::string::npos, "|2040|noowner\n") == 0;
}

using FatalExits = ClockWindow;

TEST_F(FatalExits, EachEndsAtOnceWithItsMessageSavingNothing) {
  const char kRegistry[] = "Cannot store/retrieve data to/from the registry";
  const struct {
    const char *scenario;
    const char *message;
    const char *where;  // the check's source, or null
    bool window;        // the clock's window is up: each box finds its timer stopped
    const char *before;  // a box that comes first
  } rows[] = {
      // The main window, running with a changed city table, when one system call fails in:
      {"fail-begin-paint", "GDI Error", nullptr, true, ""},          // WM_PAINT
      {"fail-font", "Cannot load font", nullptr, true, ""},           // WM_PAINT
      {"fail-get-dc", "GDI Error", nullptr, true, ""},               // WM_TIMER
      {"fail-release-dc", "GDI Error", nullptr, true, ""},           // WM_TIMER
      {"fail-delete-font", "GDI Error", nullptr, true, ""},          // WM_SIZE
      {"fail-set-timer", "No timer available", nullptr, true, ""},   // WM_CREATE
      {"fail-set-timer-in-tick", "No timer available", nullptr, true, ""},  // WM_TIMER
      // A tick whose next tick cannot be armed, the window being gone.
      {"tick-without-timer", "No timer available", nullptr, true, ""},
      // The report itself, with the clock's timer running.
      {"fail-with-timer", "Window error", "clock/42", true, ""},
      // A settings key path over 1024 characters, read or written.
      {"read-long-key", kRegistry, "settings.cpp/", false, ""},
      {"write-long-key", kRegistry, "settings.cpp/", false, ""},
      // A path beside the program of 1024 characters.
      {"path-1024", "Orvane 2 - Fatal Error", "program_files.cpp/", false, ""},
      // A field's warning after which no focus can reach the field.
      {"field-error-focus-refused", "Dialog box error", nullptr, false,
       "BOX|Orvane 2 - Error|Invalid number|2030|owner\n"},
  };
  for (const auto &r : rows) {
    const ChildResult child = RunChild(r.scenario);
    const std::string timer = r.window ? "TIMER stopped\n" : "";
    const std::string head = std::string(r.before) + timer + "BOX|Orvane 2 - Fatal Error|" +
                             r.message + "|2030|noowner\n" + timer + "BOX||";
    EXPECT_EQ(child.exitCode, 1u) << r.scenario << "\n" << child.output;
    // Nothing before the report but what the row names, and nothing after it: no offer to
    // save, and no return from the failed call.
    EXPECT_EQ(child.output.rfind(head, 0), 0u) << r.scenario << "\n" << child.output;
    EXPECT_TRUE(IsOnlyWhere(child.output.substr(std::min(head.size(), child.output.size())),
                            r.where))
        << r.scenario << "\n" << child.output;
    EXPECT_EQ(StoredSetting("X"), "<absent>") << r.scenario;
    EXPECT_EQ(ReadFileBeside("ZORKEL.DAT"), kTestCities) << r.scenario;
    EXPECT_FALSE(FileExists("CITIES.NEW")) << r.scenario;
  }
}

}  // namespace
