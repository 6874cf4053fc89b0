// The dialog templates as the resource script stores them, read straight from the resource
// (DIALOG or DIALOGEX): the dialog's style, place and font, and every control in tab order.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct TemplateItem {
  int id;
  std::string className;  // from the predefined atom, or the name as written
  std::string text;       // as Windows-1252
  DWORD style;
  short x, y, cx, cy;
};

struct DialogTemplate {
  DWORD style;
  short x, y, cx, cy;
  std::string title;
  int pointSize;
  std::string font;
  std::vector<TemplateItem> items;
  const BYTE *bytes;           // the resource itself
  std::size_t pointSizeAt;     // where the point size lies in it
  std::size_t size;
};

DialogTemplate LoadDialogTemplate(const char *name);

// Where Set Location keeps its time-zone field, in dialog units: pinned in the template
// and checked again in the running dialog, which must not move it.
struct DialogRect {
  short x, y, cx, cy;
};
constexpr DialogRect kZoneFieldPlace = {182, 84, 30, 12};

// The access key of a control or menu text: the letter after a single '&', upper case; 0 when
// there is none.
char AccessKey(const std::string &text);
