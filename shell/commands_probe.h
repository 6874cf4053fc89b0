// For tests: how the web-page command opens the page. Nothing in the program calls it. Win32.
#pragma once

#include <windows.h>

// How Visit Our Web Site (IDM_WEB_SITE) opens the maker's web page: ShellExecuteA, unless a
// test puts a recorder here. Arguments as ShellExecuteA takes them.
using WebPageOpener = HINSTANCE(WINAPI *)(HWND, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                          LPCSTR directory, INT showCommand);
void SetWebPageOpener(WebPageOpener opener);
