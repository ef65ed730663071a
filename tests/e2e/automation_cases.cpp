// UI Automation of the pads. A client in another process finds a pad and reads each of its keys
// through the flat client API, as test tools and screen readers do. What Wine's client side
// cannot do across processes (patterns, rectangles) is asked of the providers in this process:
// the keyboard's own code runs here, with this thread as its GUI thread.
#include <ole2.h>

#include <map>
#include <thread>

#include "app/Keyboard.h"
#include "host.h"
#include "win32/Automation_win.h"
#include "win32/KeyInjector_win.h"
#include "win32/PadWindow_win.h"
#include "win32/Win32Platform.h"

using namespace e2e;
namespace uia = pmx::win32::uia;
using Simple = pmx::win32::IRawElementProviderSimpleApi;
using Fragment = pmx::win32::IRawElementProviderFragmentApi;

namespace {

// The flat client API of uiautomationcore.dll, whose import library and C++ header mingw-w64
// lacks: a node for a window, its children, their properties.
class FlatClient {
 public:
  FlatClient() {
    HMODULE core = LoadLibraryA("uiautomationcore.dll");
    const auto load = [core](const char* name, auto& function) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
          reinterpret_cast<void (*)()>(GetProcAddress(core, name)));
    };
    load("UiaNodeFromHandle", fromHandle_);
    load("UiaNavigate", navigate_);
    load("UiaGetPropertyValue", property_);
    load("UiaHUiaNodeFromVariant", fromVariant_);
    load("UiaNodeRelease", release_);
  }
  // "B Std7 7" for every child of the window's node (Button or Text, id, name), the pad's name
  // first.
  std::vector<std::string> children(HWND window) {
    void* node = nullptr;
    fromHandle_(window, &node);
    std::vector<std::string> out = {text(node, uia::kNameProperty)};
    const std::string button = std::to_string(uia::kButtonControl);
    const std::string label = std::to_string(uia::kTextControl);
    for (node = step(node, uia::kNavigateFirstChild); node != nullptr;
         node = step(node, uia::kNavigateNextSibling)) {
      const std::string type = text(node, uia::kControlTypeProperty);
      out.push_back((type == button  ? "B "
                     : type == label ? "T "
                                     : "? ") +
                    text(node, uia::kAutomationIdProperty) + " " + text(node, uia::kNameProperty));
    }
    return out;
  }

 private:
  struct CacheRequest {
    int* view;  // a condition: ConditionType_True (0) alone
    int scope, *properties, propertyCount, *patterns, patternCount, mode;
  };
  // A property as text: a string as it is, a number in decimal.
  std::string text(void* node, int property) {
    VARIANT v;
    VariantInit(&v);
    std::string out = "(none)";
    if (property_(node, property, &v) == S_OK && v.vt == VT_BSTR)
      out = pmx::win32::utf8FromWide(v.bstrVal, SysStringLen(v.bstrVal));
    if (v.vt == VT_I4) out = std::to_string(v.lVal);
    VariantClear(&v);
    return out;
  }
  // The first child or the next sibling of a node, which it lets go of; or null.
  void* step(void* from, int direction) {
    int all = 0;
    CacheRequest request{&all, 1, nullptr, 0, nullptr, 0, 1};  // the element, in full
    SAFEARRAY* data = nullptr;
    BSTR structure = nullptr;
    void* to = nullptr;
    LONG at[2] = {0, 0};
    VARIANT v;
    VariantInit(&v);
    if (navigate_(from, direction, &all, &request, &data, &structure) == S_OK && data != nullptr &&
        SafeArrayGetElement(data, at, &v) == S_OK)
      fromVariant_(&v, &to);
    VariantClear(&v);
    SafeArrayDestroy(data);
    SysFreeString(structure);
    release_(from);
    return to;
  }
  HRESULT(WINAPI* fromHandle_)(HWND, void**) = nullptr;
  HRESULT(WINAPI* navigate_)(void*, int, int*, CacheRequest*, SAFEARRAY**, BSTR*) = nullptr;
  HRESULT(WINAPI* property_)(void*, int, VARIANT*) = nullptr;
  HRESULT(WINAPI* fromVariant_)(VARIANT*, void**) = nullptr;
  BOOL(WINAPI* release_)(void*) = nullptr;
};

std::string joined(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) out += line + "\n";
  return out;
}

}  // namespace

// A client in another process finds the pad and every key and label on it, each with its control
// type, its name in the settings file and its caption as the pad shows it (or what it does), in
// the language the host chose; the pad bears its title. (The unit tests hold every pad's tree.)
TEST(Automation, a_client_reads_every_key_of_a_pad) {
  Session s;
  ASSERT_TRUE(s.startWithSettings("[1031 Text]\r\nDecimalPad=Zehnerblock\r\n"));
  EXPECT_TRUE(s.request(messages().touchShowLimits, 0, 1).delivered);
  FlatClient client;
  const std::vector<std::string> decimal = client.children(s.showPad(s.fields[0], kDecimalField));
  EXPECT_EQ(joined(decimal),
            "Decimal pad\nT Max Maximum\nT LimitMax 100\nT Min Minimum\nT LimitMin 0\n"
            "B Move0 Move to the upper left corner\nB Move1 Move to the upper right corner\n"
            "B Move2 Move to the lower left corner\nB Move3 Move to the lower right corner\n"
            "B Pad Alphanumeric pad\nB Close Close\nB End0 Esc\nB Std7 7\nB Std8 8\nB Std9 9\n"
            "B Std11 \xE2\x80\x93\nB Std14 Backspace\nB Std18 Pos1\nB Std4 4\nB Std5 5\n"
            "B Std6 6\nB End1 Enter\nB Std15 Entf\nB Std19 Ende\nB Std1 1\nB Std2 2\nB Std3 3\n"
            "B Std16 Left\nB Std17 Right\nB Std0 0\nB Std10 .\n");
  EXPECT_TRUE(s.request(messages().language, 1031).delivered);
  EXPECT_EQ(client.children(s.showPad(s.fields[0], kDecimalField))[0], "Zehnerblock");
  s.terminate();
}

namespace {

// The keyboard's own code in this process, its host window on this thread: what main_win does,
// without the message loop, which the test's waiting runs.
struct KeyboardHere {
  KeyboardHere() {
    field = host.addField(20, 20, 200, 24);
    winHost.setProcedure(
        [this](pmx::WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
          return keyboard.KeyboardWindowProc(w, m, wp, lp);
        });
    const std::string arguments =
        keyboardArguments("Automation", host.hwnd(), GetCurrentThreadId());
    if (host.activate(field) && keyboard.Main(arguments, ".") &&
        host.count(messages().keyboardHandle) == 1)
      window = reinterpret_cast<HWND>(host.received(messages().keyboardHandle)[0].wParam);
  }
  // Ends the keyboard as its host would, also where a test stops early.
  ~KeyboardHere() {
    if (IsWindow(window)) sendRequest(window, messages().terminateKeyboard, 0, 0);
  }
  // Shows the pad of the field kind and asks for its provider as UI Automation does.
  HWND show(const FieldKind& kind) {
    sendRequest(window, messages().touchShowLimits, 0, 1);
    sendNotify(window, field, makeNotifyRecord(kind.fieldType, kind.valueFormat, "0", "100"));
    const HWND pad = findVisibleWindow(GetCurrentProcessId(), kind.padClass);
    EXPECT_NE(SendMessageW(pad, WM_GETOBJECT, 0, uia::kRootObjectId), 0);
    return pad;
  }

  pmx::win32::PadWindowFactory windows;  // destroyed last, with the windows it keeps
  host_client::HostWindow host;
  HWND field = nullptr, window = nullptr;
  pmx::win32::Win32Host winHost;
  pmx::Win32KeyInjector keys;
  pmx::win32::Win32Screen screen;
  pmx::win32::Win32Profile profile;
  pmx::win32::Win32Layouts layouts;
  pmx::Platform platform{winHost, keys, screen, profile, layouts, windows};
  pmx::Keyboard keyboard{platform};
};

// The elements of a pad's provider by automation id, each with a reference.
std::map<std::string, Fragment*> elements(HWND pad) {
  std::map<std::string, Fragment*> out;
  Simple* root = pmx::win32::automationProvider(pad);
  Fragment* node = nullptr;
  if (root == nullptr ||
      root->QueryInterface(uia::kIidFragment, reinterpret_cast<void**>(&node)) != S_OK)
    return out;
  root->Release();
  for (int direction = uia::kNavigateFirstChild; node != nullptr;
       direction = uia::kNavigateNextSibling) {
    Fragment* next = nullptr;
    node->Navigate(direction, &next);
    node->Release();
    if (next == nullptr) break;
    Simple* simple = nullptr;
    VARIANT id;
    next->QueryInterface(uia::kIidSimple, reinterpret_cast<void**>(&simple));
    simple->GetPropertyValue(uia::kAutomationIdProperty, &id);
    out[pmx::win32::utf8FromWide(id.bstrVal, SysStringLen(id.bstrVal))] = next;
    VariantClear(&id);
    simple->Release();
    next->AddRef();
    node = next;
  }
  return out;
}

RECT rectOf(Fragment* e) {
  pmx::win32::UiaRect r{};
  e->get_BoundingRectangle(&r);
  return {static_cast<LONG>(r.left), static_cast<LONG>(r.top), static_cast<LONG>(r.left + r.width),
          static_cast<LONG>(r.top + r.height)};
}

template <typename Pattern>
Pattern* pattern(Fragment* e, int id) {
  Simple* simple = nullptr;
  IUnknown* found = nullptr;
  e->QueryInterface(uia::kIidSimple, reinterpret_cast<void**>(&simple));
  simple->GetPatternProvider(id, &found);
  simple->Release();
  return static_cast<Pattern*>(found);
}

}  // namespace

// The providers themselves: a key's rectangle is where a real click types it; Invoke, from any
// thread, types as a touch does and leaves the focus in the host's field; the sticky modifiers
// toggle and show their state; a provider lives on across a reload of its pad, and refuses once
// its pad is hidden or gone. (The references are left to the end of the process.)
TEST(Automation, the_providers_invoke_toggle_and_place_each_key) {
  KeyboardHere k;
  ASSERT_NE(k.window, nullptr);
  auto keys = elements(k.show(kDecimalField));
  ASSERT_EQ(keys.size(), 30u);
  const RECT eight = rectOf(keys["Std8"]);
  EXPECT_TRUE(clickAt({(eight.left + eight.right) / 2, (eight.top + eight.bottom) / 2}));
  EXPECT_TRUE(waitFor([&] { return windowText(k.field) == "8"; }, kTypeTimeoutMs));
  auto* seven = pattern<pmx::win32::IInvokeProviderApi>(keys["Std7"], uia::kInvokePattern);
  ASSERT_NE(seven, nullptr);
  std::thread([&] { EXPECT_EQ(seven->Invoke(), S_OK); }).join();
  EXPECT_TRUE(waitFor([&] { return windowText(k.field) == "87"; }, kTypeTimeoutMs));
  EXPECT_EQ(GetFocus(), k.field);
  EXPECT_EQ(pattern<IUnknown>(keys["Max"], uia::kInvokePattern), nullptr);

  auto letters = elements(k.show(kTextField));
  auto* shift = pattern<pmx::win32::IToggleProviderApi>(letters["Shift1"], uia::kTogglePattern);
  ASSERT_NE(shift, nullptr);
  EXPECT_EQ(pattern<IUnknown>(letters["Shift1"], uia::kInvokePattern), nullptr);
  int state = -1;
  EXPECT_EQ(shift->Toggle(), S_OK);
  EXPECT_TRUE(waitFor([&] { return shift->get_ToggleState(&state) == S_OK && state == 1; },
                      kShowTimeoutMs));
  auto* a = pattern<pmx::win32::IInvokeProviderApi>(letters["Std27"], uia::kInvokePattern);
  const RECT before = rectOf(letters["Std27"]);
  EXPECT_EQ(a->Invoke(), S_OK);
  EXPECT_TRUE(waitFor([&] { return windowText(k.field) == "87A"; }, kTypeTimeoutMs));
  EXPECT_TRUE(waitFor([&] { return shift->get_ToggleState(&state) == S_OK && state == 0; },
                      kShowTimeoutMs));
  EXPECT_EQ(modifierDown(), 0);

  sendRequest(k.window, messages().touchKeySize, 0, floatBits(1.5f));
  k.show(kTextField);  // the same window, the pad loaded anew
  const RECT after = rectOf(letters["Std27"]);
  EXPECT_EQ(after.right - after.left, (before.right - before.left) * 3 / 2);
  sendRequest(k.window, messages().hideKeyboard, 0, 0);
  EXPECT_EQ(a->Invoke(), uia::kElementNotEnabled);
  sendRequest(k.window, messages().terminateKeyboard, 0, 0);
  Simple* gone = nullptr;
  VARIANT name;
  ASSERT_EQ(shift->QueryInterface(uia::kIidSimple, reinterpret_cast<void**>(&gone)), S_OK);
  EXPECT_EQ(gone->GetPropertyValue(uia::kNameProperty, &name), uia::kElementNotAvailable);
}
