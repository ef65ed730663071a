#include "win32/PadWindow_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "layouts/Pictograms.h"
#include "pads/Pad.h"
#include "win32/Automation_win.h"
#include "win32/Win32Platform.h"

namespace pmx::win32 {

namespace {

constexpr DWORD kPadStyle = WS_POPUP | WS_BORDER;
constexpr DWORD kPadExStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW;

// The pen and touch service asks a window which system gestures it wants, with a message and
// through a window property: no press-and-hold right click, no tap and barrel feedback, no flicks.
// (The message and the flags are declared in a tablet header of their own.)
constexpr UINT kWmTabletQuerySystemGestureStatus = 0x02C0 + 12;
constexpr const char* kTabletProperty = "MicrosoftTabletPenServiceProperty";
constexpr std::uintptr_t kTabletFlags = 0x00000001    // press and hold off
                                        | 0x00000008  // pen tap feedback off
                                        | 0x00000010  // pen barrel feedback off
                                        | 0x00010000;  // flicks off

// Touch and pen input (Windows 8 and later). Headers for older systems lack these.
#ifndef WM_POINTERUPDATE
#define WM_POINTERUPDATE 0x0245
#define WM_POINTERDOWN 0x0246
#define WM_POINTERUP 0x0247
#define WM_POINTERENTER 0x0249
#define WM_POINTERLEAVE 0x024A
#define WM_POINTERACTIVATE 0x024B
#define WM_POINTERCAPTURECHANGED 0x024C
#endif
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
#ifndef PA_NOACTIVATE
#define PA_NOACTIVATE MA_NOACTIVATE
#endif
#ifndef GET_POINTERID_WPARAM
#define GET_POINTERID_WPARAM(wParam) (LOWORD(wParam))
#endif
#ifndef POINTER_MESSAGE_FLAG_CANCELED
#define POINTER_MESSAGE_FLAG_CANCELED 0x00008000
#endif
#ifndef IS_POINTER_CANCELED_WPARAM
#define IS_POINTER_CANCELED_WPARAM(wParam) \
  (((DWORD)HIWORD(wParam) & POINTER_MESSAGE_FLAG_CANCELED) == POINTER_MESSAGE_FLAG_CANCELED)
#endif

COLORREF toColor(std::uint32_t color) {
  // Colours with the high bit set name a system colour, as the button face does.
  if ((color & 0x80000000u) != 0) return GetSysColor(static_cast<int>(color & 0xFF));
  return static_cast<COLORREF>(color & 0x00FFFFFF);
}

COLORREF darker(COLORREF c) {
  return RGB(GetRValue(c) * 3 / 4, GetGValue(c) * 3 / 4, GetBValue(c) * 3 / 4);
}

// An 8-bit text in the code page of a font's character set, or in the system's ANSI code page;
// or UTF-8.
std::wstring widen(const std::string& text, int charset, bool systemText = false,
                   bool utf8 = false) {
  std::wstring wide;
  if (text.empty()) return wide;
  if (charset == SYMBOL_CHARSET && !systemText) {
    // Symbol fonts keep their glyphs at U+F020..U+F0FF.
    if (!utf8) {
      for (char c : text) wide += static_cast<wchar_t>(0xF000 | static_cast<unsigned char>(c));
      return wide;
    }
    wide = wideText(text, CP_UTF8);
    for (wchar_t& c : wide) c = c >= 0x20 && c <= 0xFF ? static_cast<wchar_t>(0xF000 | c) : c;
    return wide;
  }
  if (utf8) return wideText(text, CP_UTF8);
  const UINT codePage = systemText ? CP_ACP : codePageOfCharset(charset);
  int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (n <= 0) return wide;
  wide.resize(static_cast<std::size_t>(n));
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
  return wide;
}

// ---- GDI objects shared by every pad window ---------------------------------------------------

// Fonts, brushes and pens are made once for the process and shared by the pads through all their
// loads. They are selected into a context only while a pad paints, so they can be let go between
// paints: when the keyboard ends, and when their number has grown past what the pads at one key
// size use (every new key size brings fonts and pens of other sizes).
class SharedGdi {
 public:
  SharedGdi() = default;
  SharedGdi(const SharedGdi&) = delete;
  SharedGdi& operator=(const SharedGdi&) = delete;
  ~SharedGdi() { release(); }

  // At a window's twips per pixel.
  HFONT font(const Font& f, float twipsPerPixel) {
    const int height = -std::max(1, static_cast<int>(std::lround(f.size * 20 / twipsPerPixel)));
    const FontKey key(f.name, height, f.bold, static_cast<int>(f.charset));
    const auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = static_cast<BYTE>(f.charset);
    lf.lfQuality = ANTIALIASED_QUALITY;
    // A sans-serif stand-in if the face is missing.
    lf.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    lstrcpynA(lf.lfFaceName, f.name.empty() ? "Arial" : f.name.c_str(), LF_FACESIZE);
    HFONT handle = CreateFontIndirectA(&lf);
    fonts_.emplace(key, handle);
    return handle;
  }

  HBRUSH brush(COLORREF color) {
    const auto it = brushes_.find(color);
    if (it != brushes_.end()) return it->second;
    HBRUSH handle = CreateSolidBrush(color);
    brushes_.emplace(color, handle);
    return handle;
  }

  HPEN pen(COLORREF color, int width) {
    const PenKey key(color, width);
    const auto it = pens_.find(key);
    if (it != pens_.end()) return it->second;
    HPEN handle = CreatePen(PS_SOLID, width, color);
    pens_.emplace(key, handle);
    return handle;
  }

  // Only between paints.
  void trim() {
    if (fonts_.size() + brushes_.size() + pens_.size() > kMaxObjects) release();
  }

  void release() {
    for (auto& entry : fonts_) DeleteObject(entry.second);
    for (auto& entry : brushes_) DeleteObject(entry.second);
    for (auto& entry : pens_) DeleteObject(entry.second);
    fonts_.clear();
    brushes_.clear();
    pens_.clear();
  }

 private:
  // The four pads at one key size use a few dozen.
  static constexpr std::size_t kMaxObjects = 200;
  using FontKey = std::tuple<std::string, int, bool, int>;
  using PenKey = std::pair<COLORREF, int>;
  std::map<FontKey, HFONT> fonts_;
  std::map<COLORREF, HBRUSH> brushes_;
  std::map<PenKey, HPEN> pens_;
};

SharedGdi& sharedGdi() {
  static SharedGdi gdi;
  return gdi;
}

// ---- The back buffer of a window ----------------------------------------------------------------

// A window paints into a bitmap that it keeps while it is on screen, made anew only when the
// window's client size changes, then copies what it painted to the screen. A hidden window keeps
// none: it paints nothing, and most pads are hidden most of the time.
class BackBuffer {
 public:
  BackBuffer() = default;
  BackBuffer(const BackBuffer&) = delete;
  BackBuffer& operator=(const BackBuffer&) = delete;
  ~BackBuffer() { release(); }

  // A memory context of this size, compatible with the screen context.
  HDC get(HDC screen, int width, int height) {
    if (dc_ != nullptr && width == width_ && height == height_) return dc_;
    release();
    dc_ = CreateCompatibleDC(screen);
    bitmap_ = CreateCompatibleBitmap(screen, width, height);
    original_ = SelectObject(dc_, bitmap_);
    width_ = width;
    height_ = height;
    return dc_;
  }

  void release() {
    if (dc_ != nullptr) {
      SelectObject(dc_, original_);
      DeleteDC(dc_);
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    original_ = nullptr;
    width_ = height_ = 0;
  }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ original_ = nullptr;
  int width_ = 0, height_ = 0;
};

// ---- Windows kept for the next load ---------------------------------------------------------

// The window of an unloaded pad waits here, hidden, for the next load of the same pad, which
// takes it over instead of creating a window of its own: the language and key-size requests
// unload and load every pad.
struct ParkedWindow {
  std::string className;
  HWND hwnd;
};

struct Parking {
  std::vector<ParkedWindow> windows;  // at most one of each class
  bool closed = false;                // the keyboard has ended: windows are destroyed, not kept
};

Parking& parking() {
  static Parking p;
  return p;
}

// ---- A pad window -----------------------------------------------------------------------------

class PadWindow;

// The pad windows in use.
std::vector<PadWindow*>& liveWindows() {
  static std::vector<PadWindow*> windows;
  return windows;
}

void registerClassOnce(const std::string& className, WNDPROC procedure) {
  static std::vector<std::string> registered;
  if (std::find(registered.begin(), registered.end(), className) != registered.end()) return;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = className.c_str();
  if (RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) {
    registered.push_back(className);
  }
}

RECT toRect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// Changes of place, size and z-order are gathered and made in one step: when the pad is shown or
// hidden, and at the end of the host request or pointer message that asked for them (see
// flushPadWindows). A pad that is loaded, scaled, fitted to its limits, placed and shown within
// one request is moved once, as it appears.
class PadWindow : public NativeWindow {
 public:
  PadWindow(Pad& pad, PadWindowEvents& events) : pad_(pad), events_(events) {
    const std::string className = padWindowClass(pad.name());
    wanted_ = toRect(pad.pixelBounds());
    pixel_ = twipsPerPixelAt(pad.monitor().dpi);
    std::vector<ParkedWindow>& parked = parking().windows;
    auto it = std::find_if(parked.begin(), parked.end(),
                           [&](const ParkedWindow& w) { return w.className == className; });
    if (it != parked.end() && !IsWindow(it->hwnd)) {
      parked.erase(it);
      it = parked.end();
    }
    if (it != parked.end()) {
      // The window of an earlier load: hidden and without capture. It takes this pad's place and
      // size with the next change, and is painted whole from this pad's controls when it shows.
      hwnd_ = it->hwnd;
      parked.erase(it);
      SetWindowLongPtrA(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      boundsPending_ = true;
    } else {
      registerClassOnce(className, &PadWindow::WndProc);
      // Made where the pad is, hidden, in the topmost band.
      hwnd_ =
          CreateWindowExA(kPadExStyle, className.c_str(), "", kPadStyle, wanted_.left, wanted_.top,
                          wanted_.right - wanted_.left, wanted_.bottom - wanted_.top, nullptr,
                          nullptr, GetModuleHandleA(nullptr), this);
      // A finger held on a key is a held key, not a right click, and a quick swipe is no flick.
      // The property stays with the window while it is kept for reuse, until it is destroyed.
      SetPropA(hwnd_, kTabletProperty, reinterpret_cast<HANDLE>(kTabletFlags));
    }
    liveWindows().push_back(this);
  }

  ~PadWindow() override {
    std::vector<PadWindow*>& live = liveWindows();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
    if (hwnd_ == nullptr) return;
    SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    Parking& park = parking();
    const std::string className = padWindowClass(pad_.name());
    const bool kept = std::any_of(park.windows.begin(), park.windows.end(),
                                  [&](const ParkedWindow& w) { return w.className == className; });
    if (park.closed || kept) {
      DestroyWindow(hwnd_);
      return;
    }
    if (GetCapture() == hwnd_) ReleaseCapture();
    if (visible()) {
      SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE |
                       SWP_DEFERERASE);
    }
    park.windows.push_back(ParkedWindow{className, hwnd_});
  }

  WindowHandle handle() const override { return fromHwnd(hwnd_); }

  void setOuterBounds(const PixelRect& bounds, std::int32_t dpi) override {
    wanted_ = toRect(bounds);
    boundsPending_ = true;
    treeChanged_ = true;
    const float pixel = twipsPerPixelAt(dpi);
    if (pixel == pixel_) return;
    // Laid out for another DPI: every control has other pixels now.
    pixel_ = pixel;
    if (visible()) InvalidateRect(hwnd_, nullptr, FALSE);
  }

  void show() override {
    treeChanged_ = true;
    apply(visible() ? 0 : SWP_SHOWWINDOW);
  }
  void hide() override {
    if (!visible()) return;
    treeChanged_ = true;
    apply(SWP_HIDEWINDOW);
    buffer_.release();  // nothing of a hidden window is painted
  }
  bool visible() const override { return hwnd_ != nullptr && IsWindowVisible(hwnd_) != FALSE; }

  void makeTopmost() override { topmostPending_ = true; }

  // The gathered changes made, and the pad published anew to UI Automation's clients when what
  // they see of it may have changed (not for a finger that only moves).
  void flush() {
    apply(0);
    if (hwnd_ == nullptr || !treeChanged_) return;
    treeChanged_ = false;
    automationUpdate(hwnd_, pad_);
  }

  void invalidate(float left, float top, float width, float height) override {
    // Every change of a control's look, place or caption comes here, shown or not.
    treeChanged_ = true;
    // A hidden window is painted whole when it shows; until then nothing of it is painted.
    if (!visible()) return;
    // Outwards to whole pixels: every pixel the control's painting may touch.
    const float px = pixel_;
    const RECT r = {static_cast<LONG>(std::floor(left / px)),
                    static_cast<LONG>(std::floor(top / px)),
                    static_cast<LONG>(std::ceil((left + width) / px)),
                    static_cast<LONG>(std::ceil((top + height) / px))};
    InvalidateRect(hwnd_, &r, FALSE);
  }

  // Makes the gathered changes in one call, showing or hiding the window with them if asked
  // (SWP_SHOWWINDOW, SWP_HIDEWINDOW or 0). A place and size the window already has are no change.
  // A hidden window keeps its place in the topmost band until it shows: only then does it matter.
  // Its frame and background are painted with the rest of it, when it is painted.
  void apply(UINT showOrHide) {
    if (hwnd_ == nullptr) return;
    const bool appears = showOrHide == SWP_SHOWWINDOW || (showOrHide == 0 && visible());
    RECT now = {};
    const bool move =
        boundsPending_ && !(GetWindowRect(hwnd_, &now) && EqualRect(&now, &wanted_) != FALSE);
    const bool raise = topmostPending_ && appears;
    boundsPending_ = false;
    if (raise) topmostPending_ = false;
    if (!move && !raise && showOrHide == 0) return;
    UINT flags = showOrHide | SWP_NOACTIVATE | SWP_DEFERERASE;
    if (!move) flags |= SWP_NOMOVE | SWP_NOSIZE;
    if (!raise) flags |= SWP_NOZORDER;
    SetWindowPos(hwnd_, raise ? HWND_TOPMOST : nullptr, wanted_.left, wanted_.top,
                 wanted_.right - wanted_.left, wanted_.bottom - wanted_.top, flags);
  }

 private:
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<PadWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    LRESULT answer = 0;
    if (automationMessage(hwnd, message, wParam, lParam, self ? &self->pad_ : nullptr, answer)) {
      return answer;
    }
    switch (message) {
      case WM_CLOSE:
        return 0;  // a pad goes only when the keyboard hides or unloads it
      // The host's field keeps the focus, whatever touches the pad.
      case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
      case WM_POINTERACTIVATE:
        return PA_NOACTIVATE;
      case kWmTabletQuerySystemGestureStatus:
        return static_cast<LRESULT>(kTabletFlags);
      // Every pointer message is the pad's: one left to the system would come back as a mouse
      // click and type the touch a second time.
      case WM_POINTERDOWN:
      case WM_POINTERUPDATE:
      case WM_POINTERUP:
      case WM_POINTERCAPTURECHANGED:
        if (self != nullptr) self->pointer(message, wParam, lParam);
        return 0;
      case WM_POINTERENTER:
      case WM_POINTERLEAVE:
        return 0;
      // The DPI comes in wParam. The suggested rectangle in lParam is not needed: the pads on
      // screen are laid out and placed again by their rules.
      case WM_DPICHANGED:
        announceDpi(hwnd, LOWORD(wParam));
        if (self != nullptr) {
          self->events_.dpiChanged();
          flushPadWindows();
        }
        return 0;
      case WM_DESTROY:
        RemovePropA(hwnd, kTabletProperty);
        break;
      default:
        break;
    }
    if (self == nullptr) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
      case WM_ERASEBKGND:
        return 1;  // painting covers everything
      case WM_PAINT:
        self->paint();
        return 0;
      // The mouse is one more contact, captured while its button is down.
      case WM_LBUTTONDOWN:
        SetCapture(hwnd);
        self->events_.contactDown(kMouseContact, self->toTwipsX(lParam), self->toTwipsY(lParam));
        flushPadWindows();
        return 0;
      case WM_MOUSEMOVE:
        if ((wParam & MK_LBUTTON) == 0) break;
        self->events_.contactMove(kMouseContact, self->toTwipsX(lParam), self->toTwipsY(lParam));
        flushPadWindows();
        return 0;
      case WM_LBUTTONUP: {
        // The touch handler may unload the pad and with it this window: use nothing after it.
        PadWindowEvents& events = self->events_;
        const float x = self->toTwipsX(lParam), y = self->toTwipsY(lParam);
        events.contactUp(kMouseContact, x, y);
        flushPadWindows();
        ReleaseCapture();
        return 0;
      }
      case WM_CAPTURECHANGED:
        self->events_.contactCancel(kMouseContact);
        flushPadWindows();
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        break;
      default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
  }

  // A touch or pen contact: its id and flags in wParam, its point on the screen in lParam.
  void pointer(UINT message, WPARAM wParam, LPARAM lParam) {
    const ContactId id = GET_POINTERID_WPARAM(wParam);
    POINT p = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(hwnd_, &p);
    const float x = static_cast<float>(p.x) * pixel_;
    const float y = static_cast<float>(p.y) * pixel_;
    // The touch handler may unload the pad and with it this window: use nothing after it.
    PadWindowEvents& events = events_;
    if (message == WM_POINTERCAPTURECHANGED || IS_POINTER_CANCELED_WPARAM(wParam)) {
      events.contactCancel(id);
    } else if (message == WM_POINTERDOWN) {
      events.contactDown(id, x, y);
    } else if (message == WM_POINTERUP) {
      events.contactUp(id, x, y);
    } else {
      events.contactMove(id, x, y);
    }
    flushPadWindows();
  }

  float toTwipsX(LPARAM lParam) const {
    return static_cast<float>(GET_X_LPARAM(lParam)) * pixel_;
  }
  float toTwipsY(LPARAM lParam) const {
    return static_cast<float>(GET_Y_LPARAM(lParam)) * pixel_;
  }

  RECT pixelRect(const Control& c) const {
    return padClientPixels(pad_.originLeft(c) + c.left, pad_.originTop(c) + c.top, c.width,
                           c.height, pixel_);
  }

  void paint() {
    PAINTSTRUCT ps;
    HDC screen = BeginPaint(hwnd_, &ps);
    RECT client;
    GetClientRect(hwnd_, &client);
    SharedGdi& gdi = sharedGdi();
    gdi.trim();
    HDC dc = buffer_.get(screen, std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom));
    const HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    const HGDIOBJ oldPen = GetCurrentObject(dc, OBJ_PEN);
    const HGDIOBJ oldBrush = GetCurrentObject(dc, OBJ_BRUSH);

    // Only what was invalidated is painted; the rest of the bitmap is never copied to the screen.
    const RECT area = ps.rcPaint;
    fill(dc, area, toColor(pad_.layout().backColor));
    SetBkMode(dc, TRANSPARENT);
    for (const Control& c : pad_.controls()) {
      RECT overlap;
      const RECT r = pixelRect(c);
      if (!pad_.drawn(c) || !IntersectRect(&overlap, &r, &area)) continue;
      switch (c.kind) {
        case ControlKind::Container:
          fill(dc, r, toColor(c.backColor));
          break;
        case ControlKind::Label:
          paintLabel(dc, c);
          break;
        case ControlKind::Key:
          paintKey(dc, c);
          break;
      }
    }

    BitBlt(screen, area.left, area.top, area.right - area.left, area.bottom - area.top, dc,
           area.left, area.top, SRCCOPY);
    // The shared objects leave the context: they may be let go before the next paint.
    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    EndPaint(hwnd_, &ps);
  }

  static void fill(HDC dc, const RECT& r, COLORREF color) {
    FillRect(dc, &r, sharedGdi().brush(color));
  }

  static void line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color) {
    SelectObject(dc, sharedGdi().pen(color, 1));
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
  }

  // Draws a line of text centred horizontally in an area, its top at y. A line wider than the
  // area starts at its left edge and shows only the characters that fit whole.
  static void centredText(HDC dc, const std::wstring& text, const RECT& area, int y) {
    const int width = area.right - area.left;
    int length = static_cast<int>(text.size());
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), length, &size);
    int x = area.left + (width - size.cx) / 2;
    if (size.cx > width) {
      const int margin = std::min(2, width);
      int fit = 0;
      GetTextExtentExPointW(dc, text.c_str(), length, width - margin, &fit, nullptr, &size);
      length = std::max(0, std::min(fit, length));
      x = area.left + margin;
    }
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &area, text.c_str(), static_cast<UINT>(length), nullptr);
  }

  void paintLabel(HDC dc, const Control& c) {
    RECT r = pixelRect(c);
    fill(dc, r, toColor(c.backColor));
    SelectObject(dc, sharedGdi().font(c.font, pixel_));
    SetTextColor(dc, toColor(c.foreColor));
    std::wstring text = widen(c.caption, c.font.charset, c.systemText, c.utf8);
    SIZE size = {};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ExtTextOutW(dc, r.left + 2, r.top + (r.bottom - r.top - size.cy) / 2, ETO_CLIPPED, &r,
                text.c_str(), static_cast<UINT>(text.size()), nullptr);
  }

  void paintKey(HDC dc, const Control& c) {
    RECT r = pixelRect(c);
    COLORREF face = toColor(c.backColor);
    fill(dc, r, c.pressed ? darker(face) : face);
    // A raised bevel; pressed keys sink.
    const COLORREF light = c.pressed ? RGB(96, 96, 96) : RGB(255, 255, 255);
    const COLORREF dark = c.pressed ? RGB(255, 255, 255) : RGB(96, 96, 96);
    line(dc, r.left, r.top, r.right - 1, r.top, light);
    line(dc, r.left, r.top, r.left, r.bottom - 1, light);
    line(dc, r.right - 1, r.top, r.right - 1, r.bottom, dark);
    line(dc, r.left, r.bottom - 1, r.right, r.bottom - 1, dark);

    RECT textArea = r;
    if (c.picture != Pictogram::None) {
      const KeyFace face = keyFace(c.picture, static_cast<float>(r.right - r.left),
                                   static_cast<float>(r.bottom - r.top));
      paintPictogram(dc, c.picture, r.left + static_cast<int>(face.pictureLeft),
                     r.top + static_cast<int>(face.pictureTop),
                     static_cast<int>(face.pictureSide));
      textArea.left = r.left + static_cast<int>(face.textLeft);
    }
    if (c.caption.empty()) return;

    SelectObject(dc, sharedGdi().font(c.font, pixel_));
    SetTextColor(dc, toColor(c.foreColor));
    TEXTMETRICW tm = {};
    GetTextMetricsW(dc, &tm);
    const int lineHeight = tm.tmHeight;
    const int top = textArea.top, height = textArea.bottom - textArea.top;
    const CaptionLines lines = captionLines(c.kind, c.caption);
    if (!lines.two) {
      captionLine(dc, c, lines.upper, textArea, top + (height - lineHeight) / 2, lineHeight);
    } else {
      const int gap = std::max(0, (height - 2 * lineHeight) / 3);
      captionLine(dc, c, lines.upper, textArea, top + gap, lineHeight);
      captionLine(dc, c, lines.lower, textArea, top + 2 * gap + lineHeight, lineHeight);
    }
  }

  // One line of a key's caption, its top at y. A symbol font that the system lacks, or lacks a
  // glyph of, would show empty boxes: its characters are drawn as pictograms instead.
  void captionLine(HDC dc, const Control& c, const std::string& text, const RECT& area, int y,
                   int lineHeight) {
    const std::wstring wide = widen(text, c.font.charset, false, c.utf8);
    if (c.font.charset != SYMBOL_CHARSET || hasGlyphs(dc, c.font, wide)) {
      centredText(dc, wide, area, y);
      return;
    }
    const int side = std::max(1, lineHeight * 4 / 5);
    const int count = static_cast<int>(wide.size());
    int x = area.left + (area.right - area.left - count * side) / 2;
    for (wchar_t ch : wide) {
      paintDrawing(dc,
                   symbolGlyphDrawing(c.font.name.c_str(), static_cast<unsigned char>(ch & 0xFF)),
                   x, y + (lineHeight - side) / 2, side);
      x += side;
    }
  }

  // Whether the font selected into dc is the one named and has a glyph for every character.
  bool hasGlyphs(HDC dc, const Font& f, const std::wstring& text) {
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    const std::wstring wanted = widen(f.name, ANSI_CHARSET);
    if (lstrcmpiW(face, wanted.c_str()) != 0) return false;
    std::vector<WORD> glyphs(text.size());
    if (GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
      return false;
    }
    return std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end();
  }

  static void paintPictogram(HDC dc, Pictogram picture, int left, int top, int side) {
    paintDrawing(dc, pictogramDrawing(picture), left, top, side);
  }

  static void paintDrawing(HDC dc, const PictogramDrawing& drawing, int left, int top, int side) {
    for (std::size_t i = 0; i < drawing.count; ++i) {
      const PictoShape& shape = drawing.shapes[i];
      POINT points[kMaxShapePoints];
      const std::size_t n = std::min<std::size_t>(shape.pointCount, kMaxShapePoints);
      for (std::size_t p = 0; p < n; ++p) {
        points[p].x = left + shape.points[p].x * side / 100;
        points[p].y = top + shape.points[p].y * side / 100;
      }
      const int width = std::max(1, shape.width * side / 100);
      SelectObject(dc, shape.line == kNoColor
                           ? GetStockObject(NULL_PEN)
                           : sharedGdi().pen(static_cast<COLORREF>(shape.line), width));
      SelectObject(dc, shape.fill == kNoColor
                           ? GetStockObject(NULL_BRUSH)
                           : sharedGdi().brush(static_cast<COLORREF>(shape.fill)));
      if (shape.kind == ShapeKind::Polygon) {
        Polygon(dc, points, static_cast<int>(n));
      } else {
        Polyline(dc, points, static_cast<int>(n));
      }
    }
  }

  Pad& pad_;
  PadWindowEvents& events_;
  HWND hwnd_ = nullptr;
  BackBuffer buffer_;
  RECT wanted_ = {};  // the outer bounds the pad asks for, in pixels
  float pixel_ = 15;  // twips per pixel at the DPI the pad is laid out for
  bool boundsPending_ = false;
  bool topmostPending_ = false;
  bool treeChanged_ = true;  // since the pad was last published to UI Automation
};

// The frame's pixels at a DPI (Windows 10 and later), else at the system's.
std::int32_t framePixels(bool horizontal, std::int32_t dpi) {
  using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = reinterpret_cast<AdjustForDpi>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("user32.dll"), "AdjustWindowRectExForDpi")));
  RECT r = {0, 0, 100, 100};
  if (adjustForDpi == nullptr ||
      !adjustForDpi(&r, kPadStyle, FALSE, kPadExStyle, static_cast<UINT>(dpi))) {
    AdjustWindowRectEx(&r, kPadStyle, FALSE, kPadExStyle);
  }
  return horizontal ? (r.right - r.left - 100) : (r.bottom - r.top - 100);
}

}  // namespace

float twipsPerPixelAt(std::int32_t dpi) { return 1440.0f / static_cast<float>(dpi > 0 ? dpi : 96); }

RECT padClientPixels(float left, float top, float width, float height, float twipsPerPixel) {
  const float px = twipsPerPixel;
  return {static_cast<LONG>(std::lround(left / px)), static_cast<LONG>(std::lround(top / px)),
          static_cast<LONG>(std::lround((left + width) / px)),
          static_cast<LONG>(std::lround((top + height) / px))};
}

std::string padWindowClass(const char* padName) {
  return std::string("PMXTouchKeyboard.") + padName;
}

void flushPadWindows() {
  const std::vector<PadWindow*>& live = liveWindows();
  for (std::size_t i = 0; i < live.size(); ++i) live[i]->flush();
}

void destroyParkedPadWindows() {
  Parking& park = parking();
  park.closed = true;
  for (ParkedWindow& w : park.windows) DestroyWindow(w.hwnd);
  park.windows.clear();
  sharedGdi().release();
}

PadWindowFactory::~PadWindowFactory() { destroyParkedPadWindows(); }

std::int32_t PadWindowFactory::frameWidth(std::int32_t dpi) { return framePixels(true, dpi); }
std::int32_t PadWindowFactory::frameHeight(std::int32_t dpi) { return framePixels(false, dpi); }

std::unique_ptr<NativeWindow> PadWindowFactory::createPadWindow(Pad& pad, PadWindowEvents& events) {
  return std::make_unique<PadWindow>(pad, events);
}

}  // namespace pmx::win32
