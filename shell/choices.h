// The saved choices, a row each: the time scale, the chimes, the menu bar, on top, Night
// Colours, where UT comes from, apparent sidereal time and the time server's correction.
// Start-up, the commands, the check marks and the reset all walk the rows, so a new choice is
// a row and its strings. Win32.
#pragma once

#include <windows.h>

// In the order start-up applies them.
enum ChoiceId : int {
  kChoiceTime,           // the TimeKind shown
  kChoiceMenuBarHidden,  // 1 while the menu bar is detached
  kChoiceSound,          // the ChimeMode
  kChoiceOnTop,
  kChoiceNight,          // Night Colours
  kChoiceUtFromWindows,  // UT, GST and LST from the computer's UTC
  kChoiceApparent,       // GST and LST as apparent sidereal time
  kChoiceServerCorrection,  // the shown time corrected by a time server's offset
  kChoiceCount
};

// Adds the choices' items to the system menu (after a separator where a row asks for one).
void AppendChoicesToSystemMenu(HMENU systemMenu);

// Start-up: each stored choice is read by its own rule and posted as the user's command, in
// the rows' order, so it takes effect once the window is shown and the loop runs.
void ApplySavedChoices(HWND window);

// A command of the menu bar (WM_COMMAND) or the system menu (WM_SYSCOMMAND): when it is a
// choice's, the choice is made (state, effect, marks, setting) and true returned.
bool CarryOutChoiceCommand(HWND window, UINT message, WPARAM command);

// Makes a choice as its command would: the state, what it changes on the screen, every mark,
// and the setting.
void MakeChoice(HWND window, ChoiceId which, int value);

// Every check mark and greyed item of the choices, in the menu bar's menus and the system
// menu, from the state.
void ShowChoiceMarks();

// Back to how a new process starts: every choice at its default.
void ResetChoices();
