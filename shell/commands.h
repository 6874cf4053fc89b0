// The commands of the menu bar, the system menu and the keyboard. Win32.
#pragma once

#include <windows.h>

// WM_COMMAND: dispatched on the low word of wParam; every command then goes on to the
// default window procedure.
LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam);

// WM_SYSCOMMAND: the four items the program adds to the system menu (Hide and Show Menu
// Bar, Always on Top, Night Colours), else the default.
LRESULT OnSysCommand(HWND window, WPARAM wParam, LPARAM lParam);

// How Visit Our Web Site (IDM_WEB_SITE) opens the maker's web page: ShellExecuteA, unless a test puts a recorder
// here. Arguments as ShellExecuteA takes them.
using WebPageOpener = HINSTANCE(WINAPI *)(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                          LPCSTR directory, INT showCommand);
void SetWebPageOpener(WebPageOpener opener);
