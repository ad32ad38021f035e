#include "toolkit/Accessible.h"

#include <atomic>

namespace krelmix {

const wchar_t kActionPress[] = L"Нажать";
const wchar_t kActionJump[] = L"Перейти";
const wchar_t kActionCheck[] = L"Отметить";
const wchar_t kActionUncheck[] = L"Снять отметку";

RECT ClientToScreenRect(HWND window, RECT client) {
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return client;
}

long BasicState(bool visible, bool enabled, bool focusable, bool focused) {
  long state = 0;
  if (!visible) state |= STATE_SYSTEM_INVISIBLE;
  if (!enabled) state |= STATE_SYSTEM_UNAVAILABLE;
  if (focusable) state |= STATE_SYSTEM_FOCUSABLE;
  if (focused) state |= STATE_SYSTEM_FOCUSED;
  return state;
}

namespace {

// Posted to the window by a screen reader's default action: wParam the element.
UINT AccessibleActionMessage() {
  static const UINT message = RegisterWindowMessageW(L"Krelmix.AccessibleAction");
  return message;
}

bool Contains(const RECT& r, long x, long y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

HRESULT Text(const std::wstring& text, BSTR* out) {
  if (!out) return E_INVALIDARG;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

// The COM object. Every call is answered from the source on the window's thread (the system
// marshals other processes' calls there); once the source is gone, every call fails as for a
// window that no longer exists.
class AccessibleObject final : public IAccessible {
 public:
  explicit AccessibleObject(AccessibleSource& source) : source_(&source) {}
  virtual ~AccessibleObject() = default;
  void Disconnect() { source_ = nullptr; }

  // IUnknown. The interface's id is written __uuidof(IAccessible) throughout: MinGW's oleacc
  // import library has a symbol IID_IAccessible too, which is no GUID.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
    if (!out) return E_POINTER;
    if (id == IID_IUnknown || id == IID_IDispatch || id == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: screen readers call the interface directly; no type information is offered.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (count) *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!source_) return RPC_E_DISCONNECTED;
    return AccessibleObjectFromWindow(source_->Window(), static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                                      reinterpret_cast<void**>(parent));
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    if (!source_) return RPC_E_DISCONNECTED;
    *count = source_->ChildCount();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    long id = 0;
    if (HRESULT checked = Check(child, id); checked != S_OK) return checked;
    const HWND window = id ? source_->ChildWindow(id) : nullptr;
    if (!window) return S_FALSE;  // a simple element: asked through this object
    return AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), IID_IDispatch,
                                      reinterpret_cast<void**>(out));
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) override {
    return Read(child, out, &IAccessible::get_accName, [](const AccessibleFacts& f) { return f.name; });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) override {
    return Read(child, out, &IAccessible::get_accValue, [](const AccessibleFacts&) { return std::wstring(); });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
    return Read(child, out, &IAccessible::get_accDescription, [](const AccessibleFacts&) { return std::wstring(); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
    return Read(child, out, &IAccessible::get_accHelp, [](const AccessibleFacts&) { return std::wstring(); });
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
    return Read(child, out, &IAccessible::get_accKeyboardShortcut, [](const AccessibleFacts& f) { return f.shortcut; });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* out) override {
    return Read(child, out, &IAccessible::get_accDefaultAction,
                [](const AccessibleFacts& f) { return f.defaultAction; });
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) override {
    return ReadNumber(child, out, &IAccessible::get_accRole, [](const AccessibleFacts& f) { return f.role; });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) override {
    return ReadNumber(child, out, &IAccessible::get_accState, [](const AccessibleFacts& f) { return f.state; });
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    if (!source_) return RPC_E_DISCONNECTED;
    return ChildVariant(source_->FocusedChild(), out);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    return source_ ? S_OK : RPC_E_DISCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override { return source_ ? S_FALSE : RPC_E_DISCONNECTED; }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    if (!left || !top || !width || !height) return E_POINTER;
    long id = 0;
    if (HRESULT checked = Check(child, id); checked != S_OK) return checked;
    const RECT r = source_->Facts(id).screen;
    *left = r.left;
    *top = r.top;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    long id = 0;
    if (HRESULT checked = Check(start, id); checked != S_OK) return checked;
    const long count = source_->ChildCount();
    long to = -1;
    if (id == CHILDID_SELF) {
      if (direction == NAVDIR_FIRSTCHILD && count > 0) to = 1;
      if (direction == NAVDIR_LASTCHILD && count > 0) to = count;
    } else if ((direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) && id < count) {
      to = id + 1;
    } else if ((direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) && id > 1) {
      to = id - 1;
    }
    return to < 0 ? S_FALSE : ChildVariant(to, out);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
    if (!out) return E_POINTER;
    VariantInit(out);
    if (!source_) return RPC_E_DISCONNECTED;
    return ChildVariant(source_->ChildAt({x, y}), out);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    long id = 0;
    if (HRESULT checked = Check(child, id); checked != S_OK) return checked;
    if (HWND window = id ? source_->ChildWindow(id) : nullptr) {
      IAccessible* own = ChildObject(window);
      if (!own) return E_FAIL;
      VARIANT self;
      self.vt = VT_I4;
      self.lVal = CHILDID_SELF;
      const HRESULT result = own->accDoDefaultAction(self);
      own->Release();
      return result;
    }
    const AccessibleFacts facts = source_->Facts(id);
    if (facts.defaultAction.empty()) return DISP_E_MEMBERNOTFOUND;
    if (facts.state & STATE_SYSTEM_UNAVAILABLE) return E_FAIL;  // as a click on a greyed control
    // The action (often a modal window) runs from the window's own queue, as a click would, and
    // the screen reader's call returns at once.
    return PostMessageW(source_->Window(), AccessibleActionMessage(), static_cast<WPARAM>(id), 0) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  // The element a variant names: S_OK with its number, or the error to return.
  HRESULT Check(const VARIANT& child, long& id) const {
    if (!source_) return RPC_E_DISCONNECTED;
    if (child.vt != VT_I4) return E_INVALIDARG;
    id = child.lVal;
    return id >= 0 && id <= source_->ChildCount() ? S_OK : E_INVALIDARG;
  }

  static IAccessible* ChildObject(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object))))
      return nullptr;
    return object;
  }

  HRESULT ChildVariant(long id, VARIANT* out) const {
    if (id < 0) return S_FALSE;
    if (HWND window = id ? source_->ChildWindow(id) : nullptr) {
      if (IAccessible* object = ChildObject(window)) {
        out->vt = VT_DISPATCH;
        out->pdispVal = object;
        return S_OK;
      }
    }
    out->vt = VT_I4;
    out->lVal = id;
    return S_OK;
  }

  // A text of an element; a windowed child's comes from its own object.
  template <typename Field>
  HRESULT Read(VARIANT child, BSTR* out, HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, BSTR*), Field field) {
    if (!out) return E_POINTER;
    *out = nullptr;
    long id = 0;
    if (HRESULT checked = Check(child, id); checked != S_OK) return checked;
    if (HWND window = id ? source_->ChildWindow(id) : nullptr) return AskChild(window, ask, out);
    return Text(field(source_->Facts(id)), out);
  }

  template <typename Field>
  HRESULT ReadNumber(VARIANT child, VARIANT* out, HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, VARIANT*),
                     Field field) {
    if (!out) return E_POINTER;
    VariantInit(out);
    long id = 0;
    if (HRESULT checked = Check(child, id); checked != S_OK) return checked;
    if (HWND window = id ? source_->ChildWindow(id) : nullptr) return AskChild(window, ask, out);
    out->vt = VT_I4;
    out->lVal = field(source_->Facts(id));
    return S_OK;
  }

  template <typename Out>
  static HRESULT AskChild(HWND window, HRESULT (STDMETHODCALLTYPE IAccessible::*ask)(VARIANT, Out*), Out* out) {
    IAccessible* object = ChildObject(window);
    if (!object) return E_FAIL;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    const HRESULT result = (object->*ask)(self, out);
    object->Release();
    return result;
  }

  AccessibleSource* source_;
  std::atomic<ULONG> references_{1};
};

AccessibleSource::~AccessibleSource() {
  if (!object_) return;
  object_->Disconnect();
  object_->Release();
}

long AccessibleSource::ChildAt(POINT screen) const {
  for (long id = ChildCount(); id >= 1; --id) {
    const AccessibleFacts facts = Facts(id);
    if (!(facts.state & STATE_SYSTEM_INVISIBLE) && Contains(facts.screen, screen.x, screen.y)) return id;
  }
  return Contains(Facts(CHILDID_SELF).screen, screen.x, screen.y) ? CHILDID_SELF : -1;
}

bool AccessibleSource::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == AccessibleActionMessage()) {
    // Checked again: the control may have been greyed since the request was made.
    const long id = static_cast<long>(wParam);
    if (id >= 0 && id <= ChildCount() && !(Facts(id).state & STATE_SYSTEM_UNAVAILABLE)) DoDefaultAction(id);
    result = 0;
    return true;
  }
  if (message != WM_GETOBJECT || static_cast<LONG>(lParam) != OBJID_CLIENT) return false;
  if (!object_) object_ = new AccessibleObject(*this);
  result = LresultFromObject(__uuidof(IAccessible), wParam, object_);
  return true;
}

}  // namespace krelmix
