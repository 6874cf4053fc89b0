// Reads dialog templates from the test program's own resources (Win32, tests only).
#include "dialog_template.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>

namespace {

class Reader {
 public:
  explicit Reader(const BYTE *p) : start_(p), p_(p) {}
  WORD Word() {
    WORD w;
    std::memcpy(&w, p_, 2);
    p_ += 2;
    return w;
  }
  DWORD Dword() {
    DWORD d;
    std::memcpy(&d, p_, 4);
    p_ += 4;
    return d;
  }
  short Short() { return static_cast<short>(Word()); }
  std::size_t Offset() const { return static_cast<std::size_t>(p_ - start_); }
  // A string, or 0xFFFF and an ordinal.
  std::string SzOrOrd(int *ordinal) {
    *ordinal = -1;
    if (Word() == 0xFFFF) {
      *ordinal = Word();
      return "";
    }
    p_ -= 2;
    std::wstring wide;
    for (WORD c; (c = Word()) != 0;) wide.push_back(static_cast<wchar_t>(c));
    char text[512] = "";
    WideCharToMultiByte(1252, 0, wide.c_str(), -1, text, sizeof text, nullptr, nullptr);
    return text;
  }
  void AlignDword() {
    while (reinterpret_cast<UINT_PTR>(p_) % 4 != 0) ++p_;
  }

 private:
  const BYTE *start_;
  const BYTE *p_;
};

}  // namespace

DialogTemplate LoadDialogTemplate(const char *name) {
  HINSTANCE self = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(self, name, MAKEINTRESOURCEA(5));
  EXPECT_NE(found, nullptr) << name;
  DialogTemplate t{};
  if (found == nullptr) return t;
  t.bytes = static_cast<const BYTE *>(LockResource(LoadResource(self, found)));
  t.size = SizeofResource(self, found);
  Reader r(t.bytes);
  const bool extended = r.Word() == 1 && r.Word() == 0xFFFF;
  if (extended) {
    r.Dword();  // help id
    r.Dword();  // extended style
    t.style = r.Dword();
  } else {
    r = Reader(t.bytes);
    t.style = r.Dword();
    r.Dword();  // extended style
  }
  const int count = r.Word();
  t.x = r.Short();
  t.y = r.Short();
  t.cx = r.Short();
  t.cy = r.Short();
  int ordinal = 0;
  r.SzOrOrd(&ordinal);  // menu
  r.SzOrOrd(&ordinal);  // class
  t.title = r.SzOrOrd(&ordinal);
  if (t.style & DS_SETFONT) {
    t.pointSizeAt = r.Offset();
    t.pointSize = r.Word();
    if (extended) r.Dword();  // weight, italic, character set
    t.font = r.SzOrOrd(&ordinal);
  }
  static const char *const kAtoms[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
  for (int i = 0; i < count; ++i) {
    r.AlignDword();
    TemplateItem item{};
    if (extended) r.Dword();  // help id
    const DWORD first = r.Dword();
    const DWORD second = r.Dword();
    item.style = extended ? second : first;
    item.x = r.Short();
    item.y = r.Short();
    item.cx = r.Short();
    item.cy = r.Short();
    item.id = extended ? static_cast<int>(r.Dword()) : r.Word();
    item.className = r.SzOrOrd(&ordinal);
    if (ordinal >= 0x80 && ordinal <= 0x85) item.className = kAtoms[ordinal - 0x80];
    for (char &c : item.className) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    item.text = r.SzOrOrd(&ordinal);
    const WORD extra = r.Word();
    for (WORD b = 0; b < extra; b += 2) r.Word();
    t.items.push_back(item);
  }
  return t;
}

char AccessKey(const std::string &text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
    ++i;  // "&&" is a plain '&'
  }
  return 0;
}
