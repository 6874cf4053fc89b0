// The accessible object of a window's client area: name and value from the program, read
// each time they are asked for, everything else (role, place, parent, navigation) from the
// system's own object for that window, so that the tree a screen reader walks stays whole.
// Win32. Written against the plain COM tables, so that it needs no C++ runtime support.
#define CINTERFACE
#define CONST_VTABLE
#include "support/window_access.h"

#include <ole2.h>
#include <oleacc.h>

#include <cstdlib>
#include <cstring>

#include "support/system_library.h"

namespace {

// Defined here: the import libraries' copies have come out as garbage under MinGW.
const IID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidDispatch = {0x00020400, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

struct AccessFunctions {
  LRESULT(WINAPI *lresultFromObject)(REFIID, WPARAM, LPUNKNOWN);
  HRESULT(WINAPI *createStdAccessibleObject)(HWND, LONG, REFIID, void **);
  BSTR(WINAPI *sysAllocStringLen)(const OLECHAR *, UINT);
};

// Looked up once, at the first request: oleacc is not on every Windows this clock runs on,
// and the clock should start without it.
const AccessFunctions *Functions() {
  static AccessFunctions f;
  static bool looked = false;
  if (!looked) {
    looked = true;
    // The DLLs stay loaded (the objects handed out run in them), and come from the system
    // folder only. The object is handed out through COM, which must be running on the window's thread;
    // already running (in whatever model) does as well.
    using CoInitializeExFn = HRESULT(WINAPI *)(LPVOID, DWORD);
    const CoInitializeExFn coInitializeEx = reinterpret_cast<CoInitializeExFn>(
        reinterpret_cast<void *>(SystemFunction("ole32.dll", "CoInitializeEx")));
    if (coInitializeEx != nullptr) coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    f.lresultFromObject = reinterpret_cast<decltype(f.lresultFromObject)>(
        reinterpret_cast<void *>(SystemFunction("oleacc.dll", "LresultFromObject")));
    f.createStdAccessibleObject = reinterpret_cast<decltype(f.createStdAccessibleObject)>(
        reinterpret_cast<void *>(SystemFunction("oleacc.dll", "CreateStdAccessibleObject")));
    f.sysAllocStringLen = reinterpret_cast<decltype(f.sysAllocStringLen)>(
        reinterpret_cast<void *>(SystemFunction("oleaut32.dll", "SysAllocStringLen")));
  }
  if (f.lresultFromObject == nullptr || f.createStdAccessibleObject == nullptr ||
      f.sysAllocStringLen == nullptr) {
    return nullptr;
  }
  return &f;
}

struct AccessObject {
  IAccessible face;  // first: a pointer to it is a pointer to the whole object
  LONG references;
  HWND window;
  WindowAccessReader read;
  IAccessible *standard;
};

AccessObject *Self(IAccessible *face) { return reinterpret_cast<AccessObject *>(face); }

// The system's object while the window is there; null once it is gone, when every answer is
// that the object is no longer connected to anything.
IAccessible *Standard(IAccessible *face) {
  AccessObject *self = Self(face);
  return IsWindow(self->window) ? self->standard : nullptr;
}

bool IsSelf(const VARIANT &child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

// The text `part` as a BSTR: S_OK with it, S_FALSE to let the system answer, or a failure.
HRESULT ReadText(AccessObject *self, int part, BSTR *out) {
  char shortText[256];
  char *text = shortText;
  int length = self->read(self->window, part, shortText, sizeof shortText);
  if (length >= static_cast<int>(sizeof shortText)) {  // a long page: read it whole
    const int whole = length;
    text = static_cast<char *>(std::malloc(static_cast<std::size_t>(whole) + 1));
    if (text == nullptr) return E_OUTOFMEMORY;
    length = self->read(self->window, part, text, static_cast<std::size_t>(whole) + 1);
    if (length > whole) length = whole;  // only what was written is converted
  }
  HRESULT result = S_FALSE;
  if (length < 0) {
    result = RPC_E_DISCONNECTED;
  } else if (length > 0) {
    result = E_OUTOFMEMORY;
    const int wide = MultiByteToWideChar(CP_ACP, 0, text, length, nullptr, 0);
    *out = wide > 0 ? Functions()->sysAllocStringLen(nullptr, static_cast<UINT>(wide)) : nullptr;
    if (*out != nullptr) {
      MultiByteToWideChar(CP_ACP, 0, text, length, *out, wide);
      result = S_OK;
    }
  }
  if (text != shortText) std::free(text);
  return result;
}

HRESULT STDMETHODCALLTYPE QueryInterface(IAccessible *face, REFIID iid, void **object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (!IsEqualIID(iid, kIidUnknown) && !IsEqualIID(iid, kIidDispatch) &&
      !IsEqualIID(iid, kIidAccessible)) {
    return E_NOINTERFACE;
  }
  *object = face;
  face->lpVtbl->AddRef(face);
  return S_OK;
}

ULONG STDMETHODCALLTYPE AddRef(IAccessible *face) {
  return static_cast<ULONG>(InterlockedIncrement(&Self(face)->references));
}

ULONG STDMETHODCALLTYPE Release(IAccessible *face) {
  AccessObject *self = Self(face);
  const LONG left = InterlockedDecrement(&self->references);
  if (left == 0) {
    self->standard->lpVtbl->Release(self->standard);
    std::free(self);
  }
  return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE GetTypeInfoCount(IAccessible *, UINT *count) {
  if (count == nullptr) return E_POINTER;
  *count = 0;
  return S_OK;
}
HRESULT STDMETHODCALLTYPE GetTypeInfo(IAccessible *, UINT, LCID, ITypeInfo **info) {
  if (info != nullptr) *info = nullptr;
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE GetIDsOfNames(IAccessible *, REFIID, LPOLESTR *, UINT, LCID, DISPID *) {
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE Invoke(IAccessible *, DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *,
                                 EXCEPINFO *, UINT *) {
  return E_NOTIMPL;
}

// The name and the value: the program's for the client area itself.
HRESULT Answer(IAccessible *face, int part, VARIANT child, BSTR *out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  IAccessible *standard = Standard(face);
  if (standard == nullptr) return RPC_E_DISCONNECTED;
  if (IsSelf(child)) {
    const HRESULT read = ReadText(Self(face), part, out);
    if (read != S_FALSE) return read;
  }
  return part == kAccessName ? standard->lpVtbl->get_accName(standard, child, out)
                             : standard->lpVtbl->get_accValue(standard, child, out);
}
HRESULT STDMETHODCALLTYPE GetName(IAccessible *face, VARIANT child, BSTR *name) {
  return Answer(face, kAccessName, child, name);
}
HRESULT STDMETHODCALLTYPE GetValue(IAccessible *face, VARIANT child, BSTR *value) {
  return Answer(face, kAccessValue, child, value);
}

// Everything else is the system's answer for the window, while it is there.
#define ORVANE_FORWARD(method, parameters, arguments)               \
  HRESULT STDMETHODCALLTYPE method parameters {                     \
    IAccessible *standard = Standard(face);                         \
    if (standard == nullptr) return RPC_E_DISCONNECTED;             \
    return standard->lpVtbl->method arguments;                      \
  }
ORVANE_FORWARD(get_accParent, (IAccessible *face, IDispatch **parent), (standard, parent))
ORVANE_FORWARD(get_accChildCount, (IAccessible *face, LONG *count), (standard, count))
ORVANE_FORWARD(get_accChild, (IAccessible *face, VARIANT c, IDispatch **child), (standard, c, child))
ORVANE_FORWARD(get_accDescription, (IAccessible *face, VARIANT c, BSTR *text), (standard, c, text))
ORVANE_FORWARD(get_accRole, (IAccessible *face, VARIANT c, VARIANT *role), (standard, c, role))
ORVANE_FORWARD(get_accState, (IAccessible *face, VARIANT c, VARIANT *state), (standard, c, state))
ORVANE_FORWARD(get_accHelp, (IAccessible *face, VARIANT c, BSTR *text), (standard, c, text))
ORVANE_FORWARD(get_accHelpTopic, (IAccessible *face, BSTR *file, VARIANT c, LONG *topic),
               (standard, file, c, topic))
ORVANE_FORWARD(get_accKeyboardShortcut, (IAccessible *face, VARIANT c, BSTR *text), (standard, c, text))
ORVANE_FORWARD(get_accFocus, (IAccessible *face, VARIANT *child), (standard, child))
ORVANE_FORWARD(get_accSelection, (IAccessible *face, VARIANT *children), (standard, children))
ORVANE_FORWARD(get_accDefaultAction, (IAccessible *face, VARIANT c, BSTR *text), (standard, c, text))
ORVANE_FORWARD(accSelect, (IAccessible *face, LONG how, VARIANT c), (standard, how, c))
ORVANE_FORWARD(accLocation, (IAccessible *face, LONG *x, LONG *y, LONG *w, LONG *h, VARIANT c),
               (standard, x, y, w, h, c))
ORVANE_FORWARD(accNavigate, (IAccessible *face, LONG to, VARIANT from, VARIANT *end),
               (standard, to, from, end))
ORVANE_FORWARD(accHitTest, (IAccessible *face, LONG x, LONG y, VARIANT *child), (standard, x, y, child))
ORVANE_FORWARD(accDoDefaultAction, (IAccessible *face, VARIANT c), (standard, c))
ORVANE_FORWARD(put_accName, (IAccessible *face, VARIANT c, BSTR text), (standard, c, text))
ORVANE_FORWARD(put_accValue, (IAccessible *face, VARIANT c, BSTR text), (standard, c, text))
#undef ORVANE_FORWARD

const IAccessibleVtbl kAccessTable = {
    QueryInterface, AddRef, Release,
    GetTypeInfoCount, GetTypeInfo, GetIDsOfNames, Invoke,
    get_accParent, get_accChildCount, get_accChild, GetName, GetValue, get_accDescription,
    get_accRole, get_accState, get_accHelp, get_accHelpTopic, get_accKeyboardShortcut,
    get_accFocus, get_accSelection, get_accDefaultAction, accSelect, accLocation, accNavigate,
    accHitTest, accDoDefaultAction, put_accName, put_accValue,
};

}  // namespace

LRESULT AnswerWindowAccess(HWND window, WPARAM wParam, LPARAM lParam, WindowAccessReader read) {
  // The id is a 32-bit value: on 64-bit Windows the rest of lParam may hold its sign.
  const AccessFunctions *f = Functions();
  if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT) || f == nullptr) {
    return DefWindowProcA(window, WM_GETOBJECT, wParam, lParam);
  }
  IAccessible *standard = nullptr;
  if (FAILED(f->createStdAccessibleObject(window, OBJID_CLIENT, kIidAccessible,
                                          reinterpret_cast<void **>(&standard))) ||
      standard == nullptr) {
    return DefWindowProcA(window, WM_GETOBJECT, wParam, lParam);
  }
  AccessObject *self = static_cast<AccessObject *>(std::calloc(1, sizeof(AccessObject)));
  if (self == nullptr) {
    standard->lpVtbl->Release(standard);
    return DefWindowProcA(window, WM_GETOBJECT, wParam, lParam);
  }
  self->face.lpVtbl = &kAccessTable;
  self->references = 1;
  self->window = window;
  self->read = read;
  self->standard = standard;
  // A new object for each request, kept by whoever asked: ours is given up here.
  const LRESULT result = f->lresultFromObject(kIidAccessible, wParam,
                                              reinterpret_cast<IUnknown *>(&self->face));
  self->face.lpVtbl->Release(&self->face);
  return result;
}
