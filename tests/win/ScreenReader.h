#pragma once
// Reads a window's accessibility tree as a screen reader does: the window's client object from
// AccessibleObjectFromWindow, its children one by one (a child with an object of its own is read
// through it, one level down), each with its name, role, state, default action and shortcut.
#include <windows.h>
#include <oleacc.h>

#include <string>
#include <vector>

namespace krelmix::test {

struct ReadElement {
  std::wstring name;
  long role = 0;
  long state = 0;
  std::wstring action;
  std::wstring shortcut;
  std::vector<ReadElement> children;  // of a child with an object of its own
  bool Has(long flag) const { return (state & flag) != 0; }
};

namespace screen_reader_detail {
inline std::wstring Take(BSTR text) {
  std::wstring out = text ? std::wstring(text, SysStringLen(text)) : std::wstring();
  SysFreeString(text);
  return out;
}

inline ReadElement ReadOne(IAccessible* object, long id) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  ReadElement e;
  BSTR text = nullptr;
  if (object->get_accName(child, &text) == S_OK) e.name = Take(text);
  text = nullptr;
  if (object->get_accDefaultAction(child, &text) == S_OK) e.action = Take(text);
  text = nullptr;
  if (object->get_accKeyboardShortcut(child, &text) == S_OK) e.shortcut = Take(text);
  VARIANT value;
  VariantInit(&value);
  if (SUCCEEDED(object->get_accRole(child, &value)) && value.vt == VT_I4) e.role = value.lVal;
  VariantClear(&value);
  if (SUCCEEDED(object->get_accState(child, &value)) && value.vt == VT_I4) e.state = value.lVal;
  VariantClear(&value);
  return e;
}

// The object's own element and, when `depth` allows, its children.
inline ReadElement ReadTree(IAccessible* object, int depth) {
  ReadElement self = ReadOne(object, CHILDID_SELF);
  long count = 0;
  if (depth <= 0 || FAILED(object->get_accChildCount(&count))) return self;
  for (long id = 1; id <= count; ++id) {
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    IDispatch* dispatch = nullptr;
    IAccessible* own = nullptr;
    if (object->get_accChild(child, &dispatch) == S_OK && dispatch) {
      dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&own));
      dispatch->Release();
    }
    if (own) {
      self.children.push_back(ReadTree(own, depth - 1));
      own->Release();
    } else {
      self.children.push_back(ReadOne(object, id));
    }
  }
  return self;
}
}  // namespace screen_reader_detail

// The window's client object; null when it has none. The caller releases it.
inline IAccessible* ClientObject(HWND window) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))))
    return nullptr;
  return object;
}

// The window's tree, two levels deep: its controls, and a list's lines.
inline ReadElement ReadWindow(HWND window) {
  IAccessible* object = ClientObject(window);
  if (!object) return {};
  ReadElement tree = screen_reader_detail::ReadTree(object, 2);
  object->Release();
  return tree;
}

// The first child of that name (a copy; an empty element when there is none).
inline ReadElement Child(const ReadElement& parent, const std::wstring& name) {
  for (const ReadElement& e : parent.children)
    if (e.name == name) return e;
  return {};
}

// The name of the child that has the keyboard focus, empty when none has.
inline std::wstring FocusedName(const ReadElement& parent) {
  for (const ReadElement& e : parent.children)
    if (e.Has(STATE_SYSTEM_FOCUSED)) return e.name;
  return {};
}

// Asks for the default action of the window's child of that name, as a screen reader does.
inline HRESULT DoDefaultAction(HWND window, const std::wstring& name) {
  IAccessible* object = ClientObject(window);
  if (!object) return E_FAIL;
  long count = 0;
  object->get_accChildCount(&count);
  HRESULT result = E_INVALIDARG;
  for (long id = 1; id <= count; ++id) {
    if (screen_reader_detail::ReadOne(object, id).name != name) continue;
    VARIANT child;
    VariantInit(&child);
    child.vt = VT_I4;
    child.lVal = id;
    result = object->accDoDefaultAction(child);
    break;
  }
  object->Release();
  return result;
}

// COM on this thread for as long as it lives.
class ComScope {
 public:
  ComScope() { CoInitialize(nullptr); }
  ~ComScope() { CoUninitialize(); }
};

}  // namespace krelmix::test
