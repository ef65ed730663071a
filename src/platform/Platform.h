// The seam between the keyboard's decisions and the operating system.
//
// The core talks to the platform only through the small interfaces below. They are named for what
// the keyboard needs, not for the Win32 functions behind them; win32/ implements them and
// the unit tests implement them with a fake that keeps focus, key state, windows and field text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pmx {

// A window handle as the keyboard keeps it. Hosts pass 32-bit handles; on 64-bit Windows they
// are sign-extended, so this is wide enough for either.
using WindowHandle = std::uintptr_t;
using ThreadId = std::uint32_t;
using LayoutHandle = std::uint64_t;

// A rectangle in pixels; right and bottom lie just outside, as the platform reports them.
struct PixelRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// A rectangle in twips; right and bottom lie just outside.
struct TwipRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// One monitor of the desktop: its whole area (task bars included) in the pixels of the desktop,
// where the primary monitor starts at 0, 0 and others may lie left of or above it, and its DPI.
// Each monitor counts in its own pixels: the keyboard is aware of every monitor's DPI.
struct Monitor {
  PixelRect bounds;
  std::int32_t dpi = 96;  // above 0
};

// The payload of a WM_COPYDATA as the sender described it.
struct CopyData {
  std::uintptr_t dwData = 0;
  std::uint32_t cbData = 0;
  const void* lpData = nullptr;  // valid only while the message is handled
};

// What watching the host's process came to.
enum class HostWatch {
  Watching,  // the message loop reports the end of the process (Keyboard::HostGone)
  Gone,      // the process has ended already
  Refused,   // the system lets the keyboard not watch it
};

// The host's windows and the hidden message window that receives the host's requests.
class HostWindows {
 public:
  virtual ~HostWindows() = default;
  virtual std::uint32_t registerMessage(const char* name) = 0;
  // Creates the hidden message window and routes its messages to the core's window procedure.
  virtual WindowHandle openMessageWindow() = 0;
  // Puts the window's own procedure back and destroys the window.
  virtual void closeMessageWindow(WindowHandle window) = 0;
  // The message window's own handling for a message the keyboard passes on.
  virtual std::intptr_t callPrevious(WindowHandle window, std::uint32_t message,
                                     std::uintptr_t wParam, std::intptr_t lParam) = 0;
  // Reads the COPYDATASTRUCT that the lParam of a WM_COPYDATA points to; false for none.
  virtual bool readCopyData(std::intptr_t lParam, CopyData& data) = 0;
  virtual bool attachInput(ThreadId hostThread, bool attach) = 0;
  // True while the window exists.
  virtual bool windowExists(WindowHandle window) = 0;
  // Starts watching the process that owns the window, until the keyboard ends.
  virtual HostWatch watchOwnerProcess(WindowHandle window) = 0;
  virtual std::intptr_t sendMessage(WindowHandle window, std::uint32_t message,
                                    std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual void setFocus(WindowHandle window) = 0;
  virtual bool windowRect(WindowHandle window, PixelRect& rect) = 0;
  // The window's class name as ANSI text; empty when the query fails.
  virtual std::string className(WindowHandle window) = 0;
  virtual std::uint32_t windowStyle(WindowHandle window) = 0;
  // Handles the window messages already queued for this thread, once.
  virtual void processPendingMessages() = 0;
  // Ends the message loop once the current message has been handled: the process exits.
  virtual void endMessageLoop() = 0;
};

// One event of the input stream.
struct KeyEvent {
  enum class Kind : std::uint8_t { Key, Unicode };
  Kind kind = Kind::Key;
  std::uint16_t vk = 0;  // Key: the virtual-key code
  char16_t unit = 0;     // Unicode: one UTF-16 code unit
  bool up = false;
  bool extended = false;  // Key: with the extended-key flag
  bool scanCode = false;  // Key: with the scan code the keyboard layout gives the key; else 0
};

// How the active keyboard layout types one character.
struct CharacterKey {
  bool hasKey = false;   // false: no plain key types it; it goes as a Unicode event
  std::uint16_t vk = 0;  // the key that types it, with these modifiers:
  bool shift = false, ctrl = false, alt = false;
  // The key is a dead key in that shift state: it would wait for the next key and merge with it.
  bool dead = false;
  // Caps Lock is on and turns this key's letter to the other case: unless the stroke holds
  // modifiers of its own, Shift is inverted so that the character arrives as written.
  bool capsLockInverts = false;
};

// Key injection into the system's input stream; the keys go to the window with the focus.
class KeyInjector {
 public:
  virtual ~KeyInjector() = default;
  // How the active keyboard layout of this thread types a character of the first Unicode plane.
  virtual CharacterKey characterKey(char32_t character) = 0;
  // Puts the events into the input stream in one piece, so that no real key press lands in their
  // middle. Returns how many of them went in: the first ones, all or fewer.
  virtual std::size_t inject(const std::vector<KeyEvent>& events) = 0;
};

// The monitors of the desktop as they are now. When any of them changes (its size, its
// orientation, its DPI, its work area; a monitor added or removed) the core hears of it as one
// event: PadManager::ScreenChanged.
class Screen {
 public:
  virtual ~Screen() = default;
  virtual Monitor primary() = 0;
  // The monitor that holds the larger part of the rectangle, or the one nearest to it when it
  // lies on none.
  virtual Monitor monitorOf(const PixelRect& rect) = 0;
};

// The settings file, read with the platform's profile semantics. A file that starts with the
// byte-order mark of UTF-16 (little-endian) is a Unicode file: it is read with the profile
// functions' wide forms and its texts arrive in UTF-8. Any other file is 8-bit text: its texts
// arrive as its bytes, written in the code page of the language's font character set.
class ProfileReader {
 public:
  virtual ~ProfileReader() = default;
  virtual int readInt(const std::string& file, const std::string& section, const std::string& key,
                      int defaultValue) = 0;
  // At most 254 characters (UTF-16 code units in a Unicode file) of a value arrive. Names and the
  // default are ASCII.
  virtual std::string readString(const std::string& file, const std::string& section,
                                 const std::string& key, const std::string& defaultValue) = 0;
  virtual bool unicodeFile(const std::string& file) = 0;
  virtual bool fileExists(const std::string& file) = 0;

  // The code page of a font character set, one character at a time: whether a byte leads a
  // double-byte character, and the Unicode character of one byte (trail < 0) or of a lead byte
  // and its trail byte; 0 when the code page defines none.
  virtual bool leadByte(std::int16_t charset, unsigned char byte) = 0;
  virtual char32_t character(std::int16_t charset, unsigned char byte, int trail) = 0;
};

// The keyboard layouts of the keyboard's own thread.
class KeyboardLayouts {
 public:
  virtual ~KeyboardLayouts() = default;
  virtual LayoutHandle current() = 0;
  virtual LayoutHandle activateNext() = 0;  // returns the layout now active
};

// One contact with a pad window: the mouse, or a finger or a pen on a touch screen, from its
// down to its up or cancel. Fingers and pens carry the system's 16-bit pointer ids, which it
// reuses once a contact has ended; the mouse has an id above all of them.
using ContactId = std::uint32_t;
constexpr ContactId kMouseContact = 0x10000;

// What a native pad window reports back to its pad. Positions are in twips relative to the
// client area; several contacts may be down at once, their events interleaved.
class PadWindowEvents {
 public:
  virtual ~PadWindowEvents() = default;
  virtual void contactDown(ContactId id, float xTwips, float yTwips) = 0;
  virtual void contactMove(ContactId id, float xTwips, float yTwips) = 0;
  virtual void contactUp(ContactId id, float xTwips, float yTwips) = 0;
  // The system took the contact away (cancelled it, or the window lost its capture).
  virtual void contactCancel(ContactId id) = 0;
  // The system changed the DPI of the window: its monitor's, or it is on another monitor now.
  virtual void dpiChanged() = 0;
};

// One top-level pad window: topmost, no title bar, thin frame, never activated.
class NativeWindow {
 public:
  virtual ~NativeWindow() = default;
  virtual WindowHandle handle() const = 0;
  // Outer bounds in pixels of the desktop, and the DPI the pad is laid out for: the client
  // area is painted and hit at 1440 / dpi twips a pixel.
  virtual void setOuterBounds(const PixelRect& bounds, std::int32_t dpi) = 0;
  virtual void show() = 0;  // without activating
  virtual void hide() = 0;
  virtual bool visible() const = 0;
  virtual void makeTopmost() = 0;
  // Marks a part of the client area, in twips, to be painted anew from the pad's controls.
  virtual void invalidate(float left, float top, float width, float height) = 0;
};

class Pad;

class NativeWindowFactory {
 public:
  virtual ~NativeWindowFactory() = default;
  // Frame width and height in pixels at a DPI: outer size minus client size of a pad window.
  virtual std::int32_t frameWidth(std::int32_t dpi) = 0;
  virtual std::int32_t frameHeight(std::int32_t dpi) = 0;
  // Creates the window of a pad; the pad paints through it and receives its pointer events.
  virtual std::unique_ptr<NativeWindow> createPadWindow(Pad& pad, PadWindowEvents& events) = 0;
};

// The protocol trace for integrators: one line for each request of the host, each notice to the
// host and each settings lookup, for a debug-output viewer. Whether it is on is fixed when the
// platform starts; the core asks on() before it formats anything, so a trace that is off costs a
// single branch and no formatting. A trace that is on all the time (kept for a crash report)
// leaves out the settings lookups, each of which costs a second lookup, until they are asked for.
class Trace {
 public:
  virtual ~Trace() = default;
  bool on() const { return on_; }
  bool lookups() const { return lookups_; }
  // One line, without a line end.
  virtual void line(const std::string& text) = 0;

 protected:
  explicit Trace(bool on) : Trace(on, on) {}
  Trace(bool on, bool lookups) : on_(on), lookups_(on && lookups) {}
  bool on_;
  bool lookups_;
};

// A trace that is always off.
class NoTrace : public Trace {
 public:
  NoTrace() : Trace(false) {}
  void line(const std::string&) override {}
};

inline Trace& noTrace() {
  static NoTrace none;
  return none;
}

// Everything the core needs of the platform, handed around by reference.
struct Platform {
  HostWindows& host;
  KeyInjector& keys;
  Screen& screen;
  ProfileReader& profile;
  KeyboardLayouts& layouts;
  NativeWindowFactory& windows;
  Trace& trace = noTrace();
};

}  // namespace pmx
