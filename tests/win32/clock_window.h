// A fixture that opens the real main window in-process, with a settable clock, recorded
// boxes and counted beeps, and drives it through real messages.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "../core/fake_platform.h"
#include "support/clock_timer.h"
#include "win32_test_support.h"

class ClockWindow : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the main window as start-up does (stored geometry), shows it, runs the posted
  // commands, stops the real timer (ticks are sent by the test) and sizes the client area.
  HWND Open(int clientWidth = 400, int clientHeight = 200);
  void SetClientSize(int width, int height);
  // Dispatches everything queued, through the accelerators as the message loop does.
  void Pump();
  // One tick; the timer it arms for the next one is stopped again (ticks come from the test).
  void Tick() {
    SendMessageA(window_, WM_TIMER, 1, 0);
    KillTimer(window_, kClockTimerId);
  }
  void Paint();
  void Command(int id) { SendMessageA(window_, WM_COMMAND, static_cast<WPARAM>(id), 0); }
  void SysCommand(int id) { SendMessageA(window_, WM_SYSCOMMAND, static_cast<WPARAM>(id), 0); }
  void PressKey(int virtualKey);  // posted as the keyboard would, then pumped
  std::string Caption() const;
  bool Checked(HMENU menu, UINT id) const;
  bool Greyed(HMENU menu, UINT id) const;
  bool Topmost() const;
  // How many times the caption was set since the window opened.
  int CaptionWrites() const;

  // Gives the main window command `id`, which opens a modal dialog, and runs `script` on the
  // dialog from inside its modal loop. A dialog the script leaves open is cancelled (and the
  // test fails), so that a test never hangs.
  void WithDialog(int id, const std::function<void(HWND dialog)> &script);

  HWND window_ = nullptr;
  HACCEL accelerators_ = nullptr;
};

// The cities the window tests start with; Washington (77° W, zone -5, no US daylight saving)
// is current, so that its readings can be checked against worked values.
extern const char kTestCities[];

// Driving a dialog's controls as the user would.
HWND ComboEdit(HWND dialog);
void TypeInto(HWND edit, const std::string &text);  // replaces the edit's text, key by key
void ChooseListItem(HWND dialog, const std::string &name);  // picks it in the list
void Click(HWND dialog, int id);
std::string FieldText(HWND dialog, int id);
void SetField(HWND dialog, int id, const std::string &text);
bool IsChecked(HWND dialog, int id);

// Real input, through the system's input queue (SendInput): a key pressed and released, and
// a left click at a screen point. Returns false when the system refused the input.
bool SendRealKey(WORD virtualKey);
bool SendRealClick(POINT screen);
// Runs the messages of a dialog's modal loop (from inside it) until the dialog is gone or
// hidden, for at most about two seconds; returns whether it closed.
bool PumpUntilClosed(HWND dialog);
