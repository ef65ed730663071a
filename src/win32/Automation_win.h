// UI Automation for the pad windows: the pad as a fragment root, each key and label a fragment,
// wrapped around the tree the pad computes (pads/Accessible.h).
//
// Providers are called on threads of UI Automation's, not on the window's: they read a snapshot
// of the tree that the window's thread publishes, and hand invokes to that thread as posted
// messages, which touch the key as a finger does. Nothing is computed for a window until a client
// has asked for it. uiautomationcore.dll (and oleaut32.dll for its strings and arrays) is loaded
// on the first request, so the program starts on systems without it.
#pragma once

#include <ole2.h>
#include <windows.h>

namespace pmx {
class Pad;
}

namespace pmx::win32 {

// The provider interfaces as uiautomationcore.dll calls them (the platform SDK's
// IRawElementProviderSimple, IRawElementProviderFragment, IRawElementProviderFragmentRoot,
// IInvokeProvider and IToggleProvider; enumerations passed as int).
struct UiaRect {
  double left, top, width, height;
};
struct IRawElementProviderFragmentRootApi;
struct IRawElementProviderSimpleApi : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_ProviderOptions(int* options) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPatternProvider(int patternId, IUnknown** pattern) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetPropertyValue(int propertyId, VARIANT* value) = 0;
  virtual HRESULT STDMETHODCALLTYPE
  get_HostRawElementProvider(IRawElementProviderSimpleApi** host) = 0;
};
struct IRawElementProviderFragmentApi : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Navigate(int direction,
                                             IRawElementProviderFragmentApi** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** id) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* rect) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** roots) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetFocus() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRootApi** root) = 0;
};
struct IRawElementProviderFragmentRootApi : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE
  ElementProviderFromPoint(double x, double y, IRawElementProviderFragmentApi** element) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragmentApi** element) = 0;
};
struct IInvokeProviderApi : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke() = 0;
};
struct IToggleProviderApi : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Toggle() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ToggleState(int* state) = 0;
};

// Identifiers of UI Automation that the providers use.
namespace uia {
constexpr LONG kRootObjectId = -25;  // UiaRootObjectId
constexpr int kNavigateParent = 0, kNavigateNextSibling = 1, kNavigatePreviousSibling = 2,
              kNavigateFirstChild = 3, kNavigateLastChild = 4;
constexpr int kInvokePattern = 10000, kTogglePattern = 10015;
constexpr int kControlTypeProperty = 30003, kNameProperty = 30005,
              kHasKeyboardFocusProperty = 30008, kIsKeyboardFocusableProperty = 30009,
              kIsEnabledProperty = 30010, kAutomationIdProperty = 30011,
              kIsOffscreenProperty = 30022, kToggleStateProperty = 30086;
constexpr int kButtonControl = 50000, kTextControl = 50020, kPaneControl = 50033;
constexpr HRESULT kElementNotEnabled = static_cast<HRESULT>(0x80040200UL);
constexpr HRESULT kElementNotAvailable = static_cast<HRESULT>(0x80040201UL);
extern const IID kIidUnknown, kIidSimple, kIidFragment, kIidFragmentRoot, kIidInvoke, kIidToggle;
}  // namespace uia

// The pad window's part of a message: answers UI Automation's WM_GETOBJECT with the pad's
// provider, runs the invokes handed over from the providers (the pad is null for a window whose
// pad has been unloaded) and lets the providers go with the window. True when the message is
// answered with `result`.
bool automationMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Pad* pad,
                       LRESULT& result);

// Publishes the pad's tree anew for the clients that have asked for the window, and tells those
// that listen what changed. At the end of every host request and pointer message.
void automationUpdate(HWND hwnd, Pad& pad);

// The provider of the pad window for a client in this process (the tests): the fragment root,
// with a reference for the caller; null until a client has asked for the window.
IRawElementProviderSimpleApi* automationProvider(HWND hwnd);

}  // namespace pmx::win32
