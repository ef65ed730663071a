#include "win32/Automation_win.h"

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "pads/Pad.h"
#include "win32/PadWindow_win.h"
#include "win32/Win32Platform.h"

namespace pmx::win32 {

namespace uia {
const IID kIidSimple = {
    0xd6dd68d1, 0x86fd, 0x4332, {0x86, 0x66, 0x9a, 0xbe, 0xde, 0xa2, 0xd2, 0x4c}};
const IID kIidFragment = {
    0xf7063da8, 0x8359, 0x439c, {0x92, 0x97, 0xbb, 0xc5, 0x29, 0x9a, 0x7d, 0x87}};
const IID kIidFragmentRoot = {
    0x620ce2a5, 0xab8f, 0x40a9, {0x86, 0xcb, 0xde, 0x3c, 0x75, 0x59, 0x9b, 0x58}};
const IID kIidInvoke = {
    0x54fcb24b, 0xe18e, 0x47a2, {0xb4, 0xd3, 0xec, 0xcb, 0xe7, 0x75, 0x99, 0xa2}};
const IID kIidUnknown = {
    0x00000000, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
const IID kIidToggle = {
    0x56d00bd0, 0xc4f4, 0x433c, {0xa8, 0x36, 0x1a, 0x52, 0xa5, 0x7e, 0x08, 0x92}};
}  // namespace uia

namespace {

constexpr int kServerSideProvider = 0x2;  // ProviderOptions_ServerSideProvider
constexpr int kAppendRuntimeId = 3;       // UiaAppendRuntimeId
constexpr int kChildrenInvalidated = 2;   // StructureChangeType_ChildrenInvalidated

// ---- The functions of uiautomationcore.dll and oleaut32.dll -----------------------------------

template <typename Function>
void load(HMODULE module, const char* name, Function& function) {
  function =
      module != nullptr
          ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)))
          : nullptr;
}

struct Api {
  LRESULT(WINAPI* returnRawElementProvider)(HWND, WPARAM, LPARAM, IRawElementProviderSimpleApi*);
  HRESULT(WINAPI* hostProviderFromHwnd)(HWND, IRawElementProviderSimpleApi**);
  BOOL(WINAPI* clientsAreListening)();
  HRESULT(WINAPI* raiseStructureChanged)(IRawElementProviderSimpleApi*, int, int*, int);
  HRESULT(WINAPI* raisePropertyChanged)(IRawElementProviderSimpleApi*, int, VARIANT, VARIANT);
  BSTR(WINAPI* sysAllocString)(const OLECHAR*);
  HRESULT(WINAPI* variantClear)(VARIANT*);
  SAFEARRAY*(WINAPI* safeArrayCreateVector)(VARTYPE, LONG, ULONG);
  HRESULT(WINAPI* safeArrayPutElement)(SAFEARRAY*, LONG*, void*);

  Api() {
    HMODULE core = LoadLibraryA("uiautomationcore.dll");
    HMODULE ole = LoadLibraryA("oleaut32.dll");
    load(core, "UiaReturnRawElementProvider", returnRawElementProvider);
    load(core, "UiaHostProviderFromHwnd", hostProviderFromHwnd);
    load(core, "UiaClientsAreListening", clientsAreListening);
    load(core, "UiaRaiseStructureChangedEvent", raiseStructureChanged);
    load(core, "UiaRaiseAutomationPropertyChangedEvent", raisePropertyChanged);
    load(ole, "SysAllocString", sysAllocString);
    load(ole, "VariantClear", variantClear);
    load(ole, "SafeArrayCreateVector", safeArrayCreateVector);
    load(ole, "SafeArrayPutElement", safeArrayPutElement);
  }
  bool ready() const {
    return returnRawElementProvider != nullptr && hostProviderFromHwnd != nullptr &&
           sysAllocString != nullptr && variantClear != nullptr &&
           safeArrayCreateVector != nullptr && safeArrayPutElement != nullptr;
  }
  // Events go out only while a client listens; a system that cannot tell has none that do.
  bool listened() const { return clientsAreListening != nullptr && clientsAreListening() != FALSE; }
};

// Loaded on the window's thread when the first client asks, before any provider exists.
const Api& api() {
  static const Api loaded;
  return loaded;
}

// The message a provider hands an invoke over with: wParam the key's array and index.
UINT invokeMessage() {
  static const UINT id = RegisterWindowMessageA("PMXTouchKeyboard.AutomationInvoke");
  return id;
}

WPARAM keyParam(ControlArray array, int index) {
  return static_cast<WPARAM>(static_cast<unsigned>(array)) << 16 |
         static_cast<std::uint16_t>(index);
}

// ---- What the providers read ------------------------------------------------------------------

// The tree of a pad as its window's thread last published it, with the elements' rectangles on
// the screen.
struct Snapshot {
  AccessibleTree tree;
  std::vector<RECT> rects;
  bool visible = false;
};

// One window that a client has asked for, shared by the window and the providers of its elements.
class WindowAccess {
 public:
  explicit WindowAccess(HWND window) : hwnd(window) {}
  const HWND hwnd;
  std::shared_ptr<const Snapshot> snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return snapshot_;
  }
  // Null once the window is gone.
  void publish(std::shared_ptr<const Snapshot> snapshot) {
    std::lock_guard<std::mutex> lock(mutex_);
    snapshot_ = std::move(snapshot);
  }

 private:
  mutable std::mutex mutex_;
  std::shared_ptr<const Snapshot> snapshot_;
};

// The windows clients have asked for; only the windows' thread uses it.
std::map<HWND, std::shared_ptr<WindowAccess>>& accessed() {
  static std::map<HWND, std::shared_ptr<WindowAccess>> windows;
  return windows;
}

HRESULT setString(VARIANT* value, const std::string& utf8) {
  const std::wstring wide = wideText(utf8, CP_UTF8);
  value->vt = VT_BSTR;
  value->bstrVal = api().sysAllocString(wide.c_str());
  return value->bstrVal != nullptr ? S_OK : E_OUTOFMEMORY;
}

void setInt(VARIANT* value, int i) {
  value->vt = VT_I4;
  value->lVal = i;
}

void setBool(VARIANT* value, bool b) {
  value->vt = VT_BOOL;
  value->boolVal = b ? VARIANT_TRUE : VARIANT_FALSE;
}

// ---- The providers ----------------------------------------------------------------------------

// The pad (the fragment root) or one of its elements, known by its key's array and index; it
// looks itself up in the snapshot at every call, so it lives on across reloads of the pad.
class Node final : public IRawElementProviderSimpleApi,
                   public IRawElementProviderFragmentApi,
                   public IRawElementProviderFragmentRootApi,
                   public IInvokeProviderApi,
                   public IToggleProviderApi {
 public:
  // The pad itself.
  explicit Node(std::shared_ptr<WindowAccess> access)
      : access_(std::move(access)), root_(true), array_(ControlArray::PicKeys), index_(0) {}
  Node(std::shared_ptr<WindowAccess> access, const AccessibleElement& e)
      : access_(std::move(access)), root_(false), array_(e.array), index_(e.index) {}
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    const std::shared_ptr<const Snapshot> s = access_->snapshot();
    const AccessibleElement* e = s != nullptr ? element(*s) : nullptr;
    if (IsEqualIID(iid, uia::kIidUnknown) || IsEqualIID(iid, uia::kIidSimple)) {
      *object = static_cast<IRawElementProviderSimpleApi*>(this);
    } else if (IsEqualIID(iid, uia::kIidFragment)) {
      *object = static_cast<IRawElementProviderFragmentApi*>(this);
    } else if (root_ && IsEqualIID(iid, uia::kIidFragmentRoot)) {
      *object = static_cast<IRawElementProviderFragmentRootApi*>(this);
    } else if (e != nullptr && invokable(*e) && IsEqualIID(iid, uia::kIidInvoke)) {
      *object = static_cast<IInvokeProviderApi*>(this);
    } else if (e != nullptr && e->toggle != ToggleState::None && IsEqualIID(iid, uia::kIidToggle)) {
      *object = static_cast<IToggleProviderApi*>(this);
    }
    if (*object == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }

  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(int* options) override {
    *options = kServerSideProvider;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPatternProvider(int pattern, IUnknown** provider) override {
    const IID none = {};
    const IID& iid = pattern == uia::kInvokePattern   ? uia::kIidInvoke
                     : pattern == uia::kTogglePattern ? uia::kIidToggle
                                                      : none;
    // Null for a pattern the element does not have.
    QueryInterface(iid, reinterpret_cast<void**>(provider));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetPropertyValue(int property, VARIANT* value) override {
    value->vt = VT_EMPTY;
    const std::shared_ptr<const Snapshot> s = access_->snapshot();
    if (s == nullptr) return uia::kElementNotAvailable;
    const AccessibleElement* e = element(*s);
    if (!root_ && e == nullptr) return uia::kElementNotAvailable;
    switch (property) {
      case uia::kNameProperty:
        return setString(value, root_ ? s->tree.name : e->name);
      case uia::kAutomationIdProperty:
        return setString(value, root_ ? s->tree.automationId : e->automationId);
      case uia::kControlTypeProperty:
        setInt(value, root_                               ? uia::kPaneControl
                      : e->role == AccessibleRole::Button ? uia::kButtonControl
                                                          : uia::kTextControl);
        break;
      case uia::kIsKeyboardFocusableProperty:
      case uia::kHasKeyboardFocusProperty:
        setBool(value, false);  // the host's field keeps the focus
        break;
      case uia::kIsEnabledProperty:
        setBool(value, true);
        break;
      case uia::kIsOffscreenProperty:
        setBool(value, !s->visible);
        break;
      default:
        break;
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE
  get_HostRawElementProvider(IRawElementProviderSimpleApi** host) override {
    *host = nullptr;
    return root_ ? api().hostProviderFromHwnd(access_->hwnd, host) : S_OK;
  }

  // IRawElementProviderFragment
  HRESULT STDMETHODCALLTYPE Navigate(int direction, IRawElementProviderFragmentApi** to) override {
    *to = nullptr;
    const std::shared_ptr<const Snapshot> s = access_->snapshot();
    if (s == nullptr) return uia::kElementNotAvailable;
    const std::vector<AccessibleElement>& elements = s->tree.elements;
    const AccessibleElement* e = element(*s);
    const AccessibleElement* next = nullptr;
    if (root_ && !elements.empty()) {
      if (direction == uia::kNavigateFirstChild) next = &elements.front();
      if (direction == uia::kNavigateLastChild) next = &elements.back();
    } else if (e != nullptr) {
      if (direction == uia::kNavigateParent) {
        *to = new Node(access_);
        return S_OK;
      }
      if (direction == uia::kNavigateNextSibling && e != &elements.back()) next = e + 1;
      if (direction == uia::kNavigatePreviousSibling && e != &elements.front()) next = e - 1;
    }
    if (next != nullptr) *to = new Node(access_, *next);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** id) override {
    *id = nullptr;
    if (root_) return S_OK;  // the window's provider gives the pad's
    const int parts[] = {kAppendRuntimeId, static_cast<int>(array_), index_};
    *id = api().safeArrayCreateVector(VT_I4, 0, 3);
    if (*id == nullptr) return E_OUTOFMEMORY;
    for (LONG i = 0; i < 3; ++i) {
      int part = parts[i];
      api().safeArrayPutElement(*id, &i, &part);
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* rect) override {
    *rect = UiaRect{0, 0, 0, 0};  // the pad's is the window's; a hidden window shows nothing
    const std::shared_ptr<const Snapshot> s = access_->snapshot();
    if (s == nullptr) return uia::kElementNotAvailable;
    if (root_ || !s->visible) return S_OK;
    const AccessibleElement* e = element(*s);
    if (e == nullptr) return uia::kElementNotAvailable;
    const RECT& r = s->rects[static_cast<std::size_t>(e - s->tree.elements.data())];
    *rect = UiaRect{static_cast<double>(r.left), static_cast<double>(r.top),
                    static_cast<double>(r.right - r.left), static_cast<double>(r.bottom - r.top)};
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** roots) override {
    *roots = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetFocus() override { return S_OK; }  // nothing takes the focus
  HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRootApi** root) override {
    *root = new Node(access_);
    return S_OK;
  }

  // IRawElementProviderFragmentRoot
  HRESULT STDMETHODCALLTYPE
  ElementProviderFromPoint(double x, double y, IRawElementProviderFragmentApi** element) override {
    *element = nullptr;
    const std::shared_ptr<const Snapshot> s = access_->snapshot();
    if (s == nullptr || !s->visible) return S_OK;
    const POINT p = {static_cast<LONG>(x), static_cast<LONG>(y)};
    for (std::size_t i = s->rects.size(); i-- > 0;) {
      if (PtInRect(&s->rects[i], p) != FALSE) {
        *element = new Node(access_, s->tree.elements[i]);
        break;
      }
    }
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragmentApi** element) override {
    *element = nullptr;
    return S_OK;
  }

  // IInvokeProvider and IToggleProvider: the window's thread touches the key.
  HRESULT STDMETHODCALLTYPE Invoke() override { return handOver(); }
  HRESULT STDMETHODCALLTYPE Toggle() override { return handOver(); }
  HRESULT STDMETHODCALLTYPE get_ToggleState(int* state) override {
    *state = 0;
    const std::shared_ptr<const Snapshot> s = access_->snapshot();
    const AccessibleElement* e = s != nullptr ? element(*s) : nullptr;
    if (e == nullptr) return uia::kElementNotAvailable;
    *state = e->toggle == ToggleState::On ? 1 : 0;  // ToggleState_On, ToggleState_Off
    return S_OK;
  }

 private:
  ~Node() = default;

  static bool invokable(const AccessibleElement& e) {
    return e.role == AccessibleRole::Button && e.toggle == ToggleState::None;
  }

  // This element in a snapshot, or null (also for the pad itself).
  const AccessibleElement* element(const Snapshot& s) const {
    if (root_) return nullptr;
    for (const AccessibleElement& e : s.tree.elements) {
      if (e.array == array_ && e.index == index_) return &e;
    }
    return nullptr;
  }

  HRESULT handOver() {
    const std::shared_ptr<const Snapshot> s = access_->snapshot();
    const AccessibleElement* e = s != nullptr ? element(*s) : nullptr;
    if (e == nullptr || e->role != AccessibleRole::Button) return uia::kElementNotAvailable;
    if (!s->visible) return uia::kElementNotEnabled;
    PostMessageA(access_->hwnd, invokeMessage(), keyParam(array_, index_), 0);
    return S_OK;
  }

  std::shared_ptr<WindowAccess> access_;
  const bool root_;
  const ControlArray array_;
  const std::int16_t index_;
  std::atomic<ULONG> references_{1};
};

// ---- Publishing and events ----------------------------------------------------------------------

std::shared_ptr<const Snapshot> snapshotOf(HWND hwnd, Pad& pad) {
  auto s = std::make_shared<Snapshot>();
  s->tree = pad.accessibleTree();
  s->visible = IsWindowVisible(hwnd) != FALSE;
  POINT origin = {0, 0};
  ClientToScreen(hwnd, &origin);
  const float pixel = twipsPerPixelAt(pad.monitor().dpi);
  for (const AccessibleElement& e : s->tree.elements) {
    RECT r = padClientPixels(e.left, e.top, e.width, e.height, pixel);
    OffsetRect(&r, origin.x, origin.y);
    s->rects.push_back(r);
  }
  return s;
}

// Tells the listening clients what changed between two snapshots of a window.
void raiseEvents(const std::shared_ptr<WindowAccess>& access, const Snapshot& before,
                 const Snapshot& after) {
  const Api& uiaApi = api();
  const AccessibleChanges changes = accessibleChanges(before.tree, after.tree);
  if (changes.structure) {
    if (uiaApi.raiseStructureChanged == nullptr) return;
    Node* root = new Node(access);
    uiaApi.raiseStructureChanged(root, kChildrenInvalidated, nullptr, 0);
    root->Release();
    return;
  }
  if (uiaApi.raisePropertyChanged == nullptr) return;
  const auto raise = [&](std::size_t i, int property, VARIANT& old, VARIANT& now) {
    Node* node = new Node(access, after.tree.elements[i]);
    uiaApi.raisePropertyChanged(node, property, old, now);
    node->Release();
    uiaApi.variantClear(&old);
    uiaApi.variantClear(&now);
  };
  for (std::size_t i : changes.names) {
    VARIANT old, now;
    setString(&old, before.tree.elements[i].name);
    setString(&now, after.tree.elements[i].name);
    raise(i, uia::kNameProperty, old, now);
  }
  for (std::size_t i : changes.toggles) {
    VARIANT old, now;
    setInt(&old, before.tree.elements[i].toggle == ToggleState::On ? 1 : 0);
    setInt(&now, after.tree.elements[i].toggle == ToggleState::On ? 1 : 0);
    raise(i, uia::kToggleStateProperty, old, now);
  }
}

}  // namespace

bool automationMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Pad* pad,
                       LRESULT& result) {
  if (message == WM_GETOBJECT) {
    if (static_cast<LONG>(lParam) != uia::kRootObjectId || pad == nullptr || !api().ready()) {
      return false;
    }
    invokeMessage();  // registered before a provider can post it
    std::shared_ptr<WindowAccess>& access = accessed()[hwnd];
    if (access == nullptr) {
      access = std::make_shared<WindowAccess>(hwnd);
      access->publish(snapshotOf(hwnd, *pad));
    }
    Node* root = new Node(access);
    result = api().returnRawElementProvider(hwnd, wParam, lParam, root);
    root->Release();
    return true;
  }
  std::map<HWND, std::shared_ptr<WindowAccess>>& windows = accessed();
  if (windows.empty()) return false;
  if (message == invokeMessage()) {
    // The touch may unload the pad and with it the window's object: nothing of it is used after.
    if (pad != nullptr) {
      pad->invokeAccessible(static_cast<ControlArray>(wParam >> 16 & 0xFF),
                            static_cast<std::int16_t>(wParam & 0xFFFF));
      flushPadWindows();
    }
    result = 0;
    return true;
  }
  if (message == WM_DESTROY) {
    const auto it = windows.find(hwnd);
    if (it != windows.end()) {
      it->second->publish(nullptr);
      windows.erase(it);
      // UI Automation lets go of the providers it holds for the window.
      api().returnRawElementProvider(hwnd, 0, 0, nullptr);
    }
  }
  return false;
}

void automationUpdate(HWND hwnd, Pad& pad) {
  std::map<HWND, std::shared_ptr<WindowAccess>>& windows = accessed();
  if (windows.empty()) return;
  const auto it = windows.find(hwnd);
  if (it == windows.end()) return;
  const std::shared_ptr<WindowAccess> access = it->second;
  const std::shared_ptr<const Snapshot> before = access->snapshot();
  const std::shared_ptr<const Snapshot> after = snapshotOf(hwnd, pad);
  access->publish(after);
  if (before != nullptr && api().listened()) raiseEvents(access, *before, *after);
}

IRawElementProviderSimpleApi* automationProvider(HWND hwnd) {
  const auto it = accessed().find(hwnd);
  return it != accessed().end() ? new Node(it->second) : nullptr;
}

}  // namespace pmx::win32
