#include "ui/widgets/accessible_object.h"

#include <oleacc.h>

#include <string_view>

#include "ui/core/native_window.h"
#include "ui/core/system_library.h"

namespace {

// Defined here: MinGW's import library gives the name a thunk in place of
// the GUID, and oleacc then does not know the interface asked for.
const GUID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

// oleacc is no KnownDLL: loaded by hand from the system folder, so a copy
// beside the setup never runs. Without it readers get no objects, and the
// setup works on.
constexpr char kOleacc[] = "oleacc.dll";

// By AccessibleRole.
const LONG kSystemRoles[] = {
    ROLE_SYSTEM_CLIENT,     ROLE_SYSTEM_CLIENT,      ROLE_SYSTEM_DIALOG,      ROLE_SYSTEM_TITLEBAR,
    ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_CHECKBUTTON, ROLE_SYSTEM_RADIOBUTTON, ROLE_SYSTEM_TEXT,
    ROLE_SYSTEM_STATICTEXT, ROLE_SYSTEM_GRAPHIC,     ROLE_SYSTEM_LIST,        ROLE_SYSTEM_OUTLINE,
    ROLE_SYSTEM_TOOLBAR,    ROLE_SYSTEM_SCROLLBAR,   ROLE_SYSTEM_MENUPOPUP,   ROLE_SYSTEM_MENUITEM,
    ROLE_SYSTEM_SEPARATOR,
};

// By AccessibleAction.
const wchar_t* const kActionNames[] = {L"", L"Press", L"Check", L"Uncheck", L"Expand", L"Execute"};

struct StateName {
  std::uint32_t state;
  LONG system;
};
const StateName kSystemStates[] = {
    {kAccessibleFocused, STATE_SYSTEM_FOCUSED},
    {kAccessibleFocusable, STATE_SYSTEM_FOCUSABLE},
    {kAccessibleUnavailable, STATE_SYSTEM_UNAVAILABLE},
    {kAccessibleChecked, STATE_SYSTEM_CHECKED},
    {kAccessibleMixed, STATE_SYSTEM_MIXED},
    {kAccessibleReadOnly, STATE_SYSTEM_READONLY},
    {kAccessibleInvisible, STATE_SYSTEM_INVISIBLE},
};

// By AccessibleEvent.
const DWORD kSystemEvents[] = {EVENT_OBJECT_FOCUS, EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_VALUECHANGE,
                               EVENT_OBJECT_NAMECHANGE};

// An ANSI text as a new BSTR; S_FALSE and null for an empty one.
HRESULT ToBstr(std::string_view text, BSTR* out) {
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  *out = SysAllocStringLen(nullptr, static_cast<UINT>(length));
  if (*out == nullptr) return E_OUTOFMEMORY;
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), *out, length);
  return S_OK;
}

void SetChild(VARIANT* out, LONG child) {
  out->vt = VT_I4;
  out->lVal = child;
}

}  // namespace

class AccessibleObject final : public IAccessible {
 public:
  AccessibleObject(NativeWindow& window, AccessibleSource& source) : window_(&window), source_(&source) {}

  void Disconnect() {
    window_ = nullptr;
    source_ = nullptr;
    CoDisconnectObject(this, 0);
  }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (IsEqualGUID(iid, kIidAccessible) || IsEqualGUID(iid, IID_IDispatch) || IsEqualGUID(iid, IID_IUnknown)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IDispatch: readers call the interface directly; no type library.
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  STDMETHODIMP get_accParent(IDispatch** parent) override {
    *parent = nullptr;
    if (window_ == nullptr) return CO_E_OBJNOTCONNECTED;
    auto* from_window = SystemFunction<decltype(::AccessibleObjectFromWindow)>(kOleacc, "AccessibleObjectFromWindow");
    if (from_window == nullptr) return E_FAIL;
    return from_window(window_->Handle(), static_cast<DWORD>(OBJID_WINDOW), IID_IDispatch,
                       reinterpret_cast<void**>(parent));
  }
  STDMETHODIMP get_accChildCount(long* count) override {
    *count = 0;
    if (source_ == nullptr) return CO_E_OBJNOTCONNECTED;
    *count = source_->AccessibleCount();
    return S_OK;
  }
  STDMETHODIMP get_accChild(VARIANT child, IDispatch** out) override {
    *out = nullptr;
    HRESULT checked = Check(child);
    // A simple element: the reader asks this object about it by its id.
    return checked == S_OK ? S_FALSE : checked;
  }
  STDMETHODIMP get_accName(VARIANT child, BSTR* out) override {
    *out = nullptr;
    HRESULT checked = Check(child);
    return checked == S_OK ? ToBstr(source_->DescribeAccessible(child.lVal).name, out) : checked;
  }
  STDMETHODIMP get_accValue(VARIANT child, BSTR* out) override {
    *out = nullptr;
    HRESULT checked = Check(child);
    return checked == S_OK ? ToBstr(source_->DescribeAccessible(child.lVal).value, out) : checked;
  }
  STDMETHODIMP get_accDescription(VARIANT child, BSTR* out) override { return NoText(child, out); }
  STDMETHODIMP get_accHelp(VARIANT child, BSTR* out) override { return NoText(child, out); }
  STDMETHODIMP get_accKeyboardShortcut(VARIANT child, BSTR* out) override { return NoText(child, out); }
  STDMETHODIMP get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
    *topic = 0;
    return NoText(child, file);
  }
  STDMETHODIMP get_accRole(VARIANT child, VARIANT* out) override {
    VariantInit(out);
    HRESULT checked = Check(child);
    if (checked != S_OK) return checked;
    SetChild(out, kSystemRoles[static_cast<int>(source_->DescribeAccessible(child.lVal).role)]);
    return S_OK;
  }
  STDMETHODIMP get_accState(VARIANT child, VARIANT* out) override {
    VariantInit(out);
    HRESULT checked = Check(child);
    if (checked != S_OK) return checked;
    std::uint32_t states = source_->DescribeAccessible(child.lVal).states;
    LONG system = 0;
    for (const StateName& state : kSystemStates) {
      if ((states & state.state) != 0) system |= state.system;
    }
    SetChild(out, system);
    return S_OK;
  }
  STDMETHODIMP get_accFocus(VARIANT* out) override {
    VariantInit(out);
    if (source_ == nullptr) return CO_E_OBJNOTCONNECTED;
    int focus = source_->AccessibleFocus();
    if (focus < 0) return S_FALSE;
    SetChild(out, focus);
    return S_OK;
  }
  STDMETHODIMP get_accSelection(VARIANT* out) override {
    VariantInit(out);
    return source_ == nullptr ? CO_E_OBJNOTCONNECTED : S_FALSE;
  }
  STDMETHODIMP get_accDefaultAction(VARIANT child, BSTR* out) override {
    *out = nullptr;
    HRESULT checked = Check(child);
    if (checked != S_OK) return checked;
    AccessibleAction action = source_->DescribeAccessible(child.lVal).action;
    if (action == AccessibleAction::kNone) return S_FALSE;
    *out = SysAllocString(kActionNames[static_cast<int>(action)]);
    return *out != nullptr ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP accSelect(long, VARIANT child) override {
    HRESULT checked = Check(child);
    return checked == S_OK ? DISP_E_MEMBERNOTFOUND : checked;
  }
  STDMETHODIMP accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
    *left = *top = *width = *height = 0;
    HRESULT checked = Check(child);
    if (checked != S_OK) return checked;
    Rect bounds = child.lVal == CHILDID_SELF ? Rect{0, 0, window_->ClientWidth(), window_->ClientHeight()}
                                             : source_->DescribeAccessible(child.lVal).bounds;
    Point origin = ClientOrigin();
    *left = origin.x + bounds.left;
    *top = origin.y + bounds.top;
    *width = bounds.Width();
    *height = bounds.Height();
    return S_OK;
  }
  STDMETHODIMP accNavigate(long direction, VARIANT start, VARIANT* out) override {
    VariantInit(out);
    HRESULT checked = Check(start);
    if (checked != S_OK) return checked;
    int count = source_->AccessibleCount();
    LONG from = start.lVal;
    LONG to = 0;
    if (direction == NAVDIR_FIRSTCHILD && from == CHILDID_SELF) {
      to = 1;
    } else if (direction == NAVDIR_LASTCHILD && from == CHILDID_SELF) {
      to = count;
    } else if ((direction == NAVDIR_NEXT || direction == NAVDIR_DOWN) && from != CHILDID_SELF) {
      to = from + 1;
    } else if ((direction == NAVDIR_PREVIOUS || direction == NAVDIR_UP) && from != CHILDID_SELF) {
      to = from - 1;
    }
    if (to < 1 || to > count) return S_FALSE;
    SetChild(out, to);
    return S_OK;
  }
  STDMETHODIMP accHitTest(long x, long y, VARIANT* out) override {
    VariantInit(out);
    if (source_ == nullptr) return CO_E_OBJNOTCONNECTED;
    Point origin = ClientOrigin();
    int child = source_->AccessibleAt(Point{x - origin.x, y - origin.y});
    if (child < 0) return S_FALSE;
    SetChild(out, child);
    return S_OK;
  }
  STDMETHODIMP accDoDefaultAction(VARIANT child) override {
    HRESULT checked = Check(child);
    if (checked != S_OK) return checked;
    AccessibleItem item = source_->DescribeAccessible(child.lVal);
    if (item.action == AccessibleAction::kNone ||
        (item.states & (kAccessibleUnavailable | kAccessibleInvisible)) != 0) {
      return DISP_E_MEMBERNOTFOUND;
    }
    // Run from the message loop: the action may open a modal box, and the
    // reader waits for this call to return.
    return PostMessageA(window_->Handle(), kAccessibleActionMessage, static_cast<WPARAM>(child.lVal), 0) ? S_OK
                                                                                                         : E_FAIL;
  }
  STDMETHODIMP put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  STDMETHODIMP put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  // S_OK for the window itself or one of its children.
  HRESULT Check(const VARIANT& child) const {
    if (source_ == nullptr) return CO_E_OBJNOTCONNECTED;
    if (child.vt != VT_I4 || child.lVal < 0 || child.lVal > source_->AccessibleCount()) return E_INVALIDARG;
    return S_OK;
  }
  HRESULT NoText(const VARIANT& child, BSTR* out) const {
    *out = nullptr;
    HRESULT checked = Check(child);
    return checked == S_OK ? S_FALSE : checked;
  }
  Point ClientOrigin() const { return Point{window_->X() + window_->Border(), window_->Y() + window_->Border()}; }

  NativeWindow* window_;
  AccessibleSource* source_;
  ULONG references_ = 1;
};

void AccessibleObjectRelease::operator()(AccessibleObject* object) const {
  object->Disconnect();
  object->Release();
}

LRESULT AnswerAccessibleRequest(AccessibleObjectPtr& object, NativeWindow& window, AccessibleSource& source,
                                WPARAM flags, LPARAM object_id) {
  if (static_cast<LONG>(object_id) != OBJID_CLIENT) return 0;
  static auto* const lresult_from_object = SystemFunction<decltype(::LresultFromObject)>(kOleacc, "LresultFromObject");
  if (lresult_from_object == nullptr) return 0;
  // Readers reach the object through COM, which the window's thread then
  // needs for as long as the program runs.
  static bool com_started = false;
  if (!com_started) {
    HRESULT started = CoInitialize(nullptr);
    if (FAILED(started) && started != RPC_E_CHANGED_MODE) return 0;
    com_started = true;
  }
  if (!object) object.reset(new AccessibleObject(window, source));
  LRESULT result = lresult_from_object(kIidAccessible, flags, object.get());
  return result > 0 ? result : 0;
}

void NotifyAccessible(const NativeWindow& window, AccessibleEvent event, int child) {
  if (window.Exists()) {
    NotifyWinEvent(kSystemEvents[static_cast<int>(event)], window.Handle(), OBJID_CLIENT, child);
  }
}
