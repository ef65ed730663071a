// A fake operating system for the core: it keeps focus, key state, windows and the text a host
// field would receive, so tests can assert the resulting state rather than count calls.
#pragma once

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/Unicode.h"
#include "pads/Pad.h"
#include "platform/Platform.h"
#include "settings/CharacterSets.h"
#include "settings/ProfileText.h"

namespace pmx::test {

struct SentMessage {
  WindowHandle window;
  std::uint32_t message;
  std::uintptr_t wParam;
  std::intptr_t lParam;
};

struct HostWindow {
  PixelRect rect;
  std::string className = "Edit";
  std::uint32_t style = 0;
  std::string text;  // what the field holds, UTF-8
  std::size_t caret = 0;
};

// The wParam that the fake message window's previous procedure returns for a message; lets tests
// see that a message was passed on and its result returned.
constexpr std::intptr_t kPreviousResult = 4711;

class FakeHost : public HostWindows {
 public:
  std::vector<std::string> registered;
  std::map<WindowHandle, HostWindow> windows;
  std::vector<SentMessage> sent;
  std::vector<SentMessage> passedOn;
  std::vector<std::pair<ThreadId, bool>> attachments;
  WindowHandle focus = 0;
  WindowHandle messageWindow = 0;
  int messageWindowsOpened = 0;
  int pendingPumps = 0;
  // Called from sendMessage, as a host that answers a notification with a request of its own.
  std::function<void(const SentMessage&)> onSend;
  std::function<void()> onPump;

  std::string failingRegistration;  // a name whose registration fails (gives 0)
  std::uint32_t registerMessage(const char* name) override {
    if (failingRegistration == name) return 0;
    auto it = std::find(registered.begin(), registered.end(), name);
    if (it == registered.end()) {
      registered.push_back(name);
      it = registered.end() - 1;
    }
    return 0xC000u + static_cast<std::uint32_t>(it - registered.begin());
  }
  std::uint32_t idOf(const std::string& name) { return registerMessage(name.c_str()); }
  WindowHandle openMessageWindow() override {
    ++messageWindowsOpened;
    messageWindow = 0x5000 + static_cast<WindowHandle>(messageWindowsOpened);
    return messageWindow;
  }
  void closeMessageWindow(WindowHandle window) override {
    if (window == messageWindow) messageWindow = 0;
  }
  std::intptr_t callPrevious(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) override {
    passedOn.push_back({window, message, wParam, lParam});
    return kPreviousResult;
  }
  bool readCopyData(std::intptr_t lParam, CopyData& data) override {
    if (lParam == 0) return false;
    data = *reinterpret_cast<const CopyData*>(lParam);
    return true;
  }
  bool attachInput(ThreadId hostThread, bool attach) override {
    attachments.emplace_back(hostThread, attach);
    return true;
  }
  bool windowExists(WindowHandle window) override { return windows.count(window) != 0; }
  HostWatch watch = HostWatch::Watching;  // what watching the host's process comes to
  HostWatch watchOwnerProcess(WindowHandle) override { return watch; }
  std::intptr_t sendMessage(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                            std::intptr_t lParam) override {
    sent.push_back({window, message, wParam, lParam});
    if (onSend) onSend(sent.back());
    return 0;
  }
  void setFocus(WindowHandle window) override {
    if (windows.count(window) != 0) focus = window;
  }
  bool windowRect(WindowHandle window, PixelRect& rect) override {
    auto it = windows.find(window);
    if (it == windows.end()) return false;
    rect = it->second.rect;
    return true;
  }
  std::string className(WindowHandle window) override {
    auto it = windows.find(window);
    return it == windows.end() ? std::string() : it->second.className;
  }
  std::uint32_t windowStyle(WindowHandle window) override {
    auto it = windows.find(window);
    return it == windows.end() ? 0 : it->second.style;
  }
  void processPendingMessages() override {
    ++pendingPumps;
    if (onPump) onPump();
  }
  void endMessageLoop() override { loopEnded = true; }
  bool loopEnded = false;

  int countSent(std::uint32_t message) const {
    return static_cast<int>(std::count_if(
        sent.begin(), sent.end(), [&](const SentMessage& m) { return m.message == message; }));
  }
};

// The system's key state and a single-line field: injected events press and release keys, and the
// focused host field takes what they type, with a US keyboard layout.
class FakeKeys : public KeyInjector {
  struct UsKey {
    std::uint16_t vk;
    char plain, shifted;
  };
  static constexpr UsKey kUsKeys[] = {
      {'A', 'a', 'A'},  {'B', 'b', 'B'},  {'C', 'c', 'C'}, {'D', 'd', 'D'}, {'E', 'e', 'E'},
      {'F', 'f', 'F'},  {'Q', 'q', 'Q'},  {'S', 's', 'S'}, {'X', 'x', 'X'}, {'0', '0', ')'},
      {'1', '1', '!'},  {'2', '2', '@'},  {'3', '3', '#'}, {'4', '4', '$'}, {'5', '5', '%'},
      {'6', '6', '^'},  {'7', '7', '&'},  {'8', '8', '*'}, {'9', '9', '('}, {0x20, ' ', ' '},
      {0xBE, '.', '>'}, {0xBD, '-', '_'}, {0xBC, ',', '<'}};

 public:
  explicit FakeKeys(FakeHost& host) : host_(host) {}
  std::vector<std::vector<KeyEvent>> batches;  // what went into the input stream, batch by batch
  std::map<std::uint16_t, bool> down;
  // The next batch goes in only up to this many events (as SendInput may stop short).
  std::size_t refuseAfter = SIZE_MAX;

  CharacterKey characterKey(char32_t ch) override {
    CharacterKey key;
    for (const UsKey& k : kUsKeys) {
      if (ch == static_cast<char32_t>(k.plain) || ch == static_cast<char32_t>(k.shifted)) {
        key.hasKey = true;
        key.vk = k.vk;
        key.shift = ch != static_cast<char32_t>(k.plain);
      }
    }
    return key;
  }

  std::size_t inject(const std::vector<KeyEvent>& events) override {
    const std::size_t n = std::min(events.size(), refuseAfter);
    refuseAfter = SIZE_MAX;
    batches.emplace_back(events.begin(), events.begin() + static_cast<std::ptrdiff_t>(n));
    for (const KeyEvent& e : batches.back()) apply(e);
    return n;
  }

  bool isDown(std::uint16_t vk) const {
    auto it = down.find(vk);
    return it != down.end() && it->second;
  }
  bool anyKeyDown() const {
    return std::any_of(down.begin(), down.end(), [](const auto& k) { return k.second; });
  }
  // Every event that went in, in order.
  std::vector<KeyEvent> events() const {
    std::vector<KeyEvent> all;
    for (const auto& b : batches) all.insert(all.end(), b.begin(), b.end());
    return all;
  }

 private:
  void apply(const KeyEvent& e) {
    if (e.kind == KeyEvent::Kind::Key) down[e.vk] = !e.up;
    auto it = host_.windows.find(host_.focus);
    if (e.up || it == host_.windows.end()) return;
    HostWindow& field = it->second;
    if (e.kind == KeyEvent::Kind::Unicode) {
      type(field, e.unit);
      return;
    }
    const bool shift = isDown(0x10), ctrl = isDown(0x11) || isDown(0x12);
    const std::size_t size = field.text.size();
    switch (e.vk) {
      case 0x08:
        if (field.caret > 0) field.text.erase(--field.caret, 1);
        return;
      case 0x2E:
        if (field.caret < size) field.text.erase(field.caret, 1);
        return;
      case 0x24:
        field.caret = 0;
        return;
      case 0x23:
        field.caret = size;
        return;
      case 0x25:
        if (field.caret > 0) --field.caret;
        return;
      case 0x27:
        if (field.caret < size) ++field.caret;
        return;
      default:
        break;
    }
    for (const UsKey& k : kUsKeys) {
      if (k.vk == e.vk && !ctrl)
        type(field, static_cast<unsigned char>(shift ? k.shifted : k.plain));
    }
  }
  static void type(HostWindow& field, char16_t unit) {
    std::string utf8;
    appendUtf8(utf8, unit);
    field.text.insert(field.caret, utf8);
    field.caret += utf8.size();
  }

  FakeHost& host_;
};

class FakeScreen : public Screen {
 public:
  std::vector<Monitor> monitors = {{{0, 0, 1024, 768}, 96}};  // the primary one first
  Monitor primary() override { return monitors.front(); }
  // As the system chooses: the largest share of the rectangle, else the least distance to it;
  // the primary monitor on a tie.
  Monitor monitorOf(const PixelRect& r) override {
    const auto score = [&r](const Monitor& m) {
      const auto dx = std::min(r.right, m.bounds.right) - std::max(r.left, m.bounds.left);
      const auto dy = std::min(r.bottom, m.bounds.bottom) - std::max(r.top, m.bounds.top);
      return dx > 0 && dy > 0 ? std::int64_t{dx} * dy : std::min(dx, 0) + std::min(dy, 0);
    };
    return *std::max_element(
        monitors.begin(), monitors.end(),
        [&](const Monitor& a, const Monitor& b) { return score(a) < score(b); });
  }
};

// The protocol trace, off until a test switches it on; it keeps every line it is given.
struct FakeTrace : Trace {
  FakeTrace() : Trace(false) {}
  void switchOn(bool lookups = true) {
    on_ = true;
    lookups_ = lookups;
  }
  void line(const std::string& text) override { lines.push_back(text); }
  std::vector<std::string> lines;
};

// The settings file as text, read the way the profile functions read it (the reading that the
// end-to-end tests hold against the real ones): 8-bit text, or a Unicode file's text in UTF-8.
// Its code pages: 1252 (for every character set but these), 1250 (238, with "ł" where 1252 has
// "³") and a few characters of 932 (128, Shift-JIS).
class FakeProfile : public ProfileReader {
 public:
  std::string file;
  bool unicode = false;
  // Puts a value into its section of the file, the section after the others when it is new.
  void set(const std::string& section, const std::string& key, const std::string& value) {
    auto it = std::find_if(sections_.begin(), sections_.end(),
                           [&](const auto& s) { return sameProfileName(s.first, section); });
    if (it == sections_.end()) it = sections_.insert(sections_.end(), {section, ""});
    it->second += key + "=" + value + "\n";
    file.clear();
    for (const auto& s : sections_) file += "[" + s.first + "]\n" + s.second;
  }
  int readInt(const std::string&, const std::string& section, const std::string& key,
              int defaultValue) override {
    return profileInt(parseProfileText(file), section, key).value_or(defaultValue);
  }
  std::string readString(const std::string&, const std::string& section, const std::string& key,
                         const std::string& defaultValue) override {
    return profileString(parseProfileText(file), section, key).value_or(defaultValue);
  }
  bool unicodeFile(const std::string&) override { return unicode; }
  bool present = true, samplePresent = false;  // the file, and a .sample beside it
  bool fileExists(const std::string& f) override {
    return f.size() > 7 && f.compare(f.size() - 7, 7, ".sample") == 0 ? samplePresent : present;
  }
  bool leadByte(std::int16_t charset, unsigned char b) override {
    return charset == 128 && ((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
  }
  char32_t character(std::int16_t charset, unsigned char b, int trail) override {
    if (charset == 128 && trail >= 0) {
      const std::map<int, char32_t> pairs = {
          {0x82A0, U'\u3042'}, {0x93FA, U'\u65E5'}, {0x837B, U'\u30DC'}, {0x835C, U'\u30BD'}};
      const auto it = pairs.find(b << 8 | trail);
      return it != pairs.end() ? it->second : 0;
    }
    if (charset == 128 && b >= 0x80) return 0;
    if (b >= 0x80 && b < 0xA0) return codePageCharacter(1252, b);
    return charset == 238 && b == 0xB3 ? U'\u0142' : b;
  }

 private:
  std::vector<std::pair<std::string, std::string>> sections_;
};

class FakeLayouts : public KeyboardLayouts {
 public:
  std::vector<LayoutHandle> installed = {0x04090409};
  std::size_t active = 0;
  int switches = 0;
  LayoutHandle current() override { return installed[active]; }
  LayoutHandle activateNext() override {
    ++switches;
    active = (active + 1) % installed.size();
    return installed[active];
  }
};

// A pad window with a screen of its own: the client area in pixels of 15 twips, each showing the
// control the pad had on top there when the pixel was last painted. Like a real window, it paints
// only what was invalidated, a window that grows has only its new part invalidated, and a window
// that is shown is invalidated as a whole.
class FakeWindows;

class FakeWindow : public NativeWindow {
 public:
  static constexpr float kCell = 15;
  FakeWindow(FakeWindows& owner, const Pad& pad, WindowHandle handle)
      : owner_(owner), pad_(pad), handle_(handle) {}
  ~FakeWindow() override;
  WindowHandle handle() const override { return handle_; }
  void setOuterBounds(const PixelRect& b, std::int32_t d) override;
  void show() override {
    if (!shown) std::fill(dirty_.begin(), dirty_.end(), true);
    shown = true;
  }
  void hide() override { shown = false; }
  bool visible() const override { return shown; }
  void makeTopmost() override { topmost = true; }
  void invalidate(float l, float t, float w, float h) override {
    for (int row = std::max(0, cellFloor(t)); row < std::min(rows_, cellCeil(t + h)); ++row)
      for (int col = std::max(0, cellFloor(l)); col < std::min(cols_, cellCeil(l + w)); ++col)
        dirty_[index(row, col)] = true;
  }
  // Paints the invalidated cells of a visible window, as it does when its queue is empty.
  void paint() {
    if (!shown) return;
    const std::vector<std::string> looks = controlLooks();
    for (std::size_t i = 0; i < cells_.size(); ++i)
      if (dirty_[i]) cells_[i] = look(looks, i);
    std::fill(dirty_.begin(), dirty_.end(), false);
  }
  int invalidated() const {
    return static_cast<int>(std::count(dirty_.begin(), dirty_.end(), true));
  }
  // The cells of a visible window where the screen differs from a fresh paint of the pad.
  int stale() const {
    if (!shown) return 0;
    const std::vector<std::string> looks = controlLooks();
    int n = 0;
    for (std::size_t i = 0; i < cells_.size(); ++i) n += cells_[i] != look(looks, i);
    return n;
  }

  PixelRect bounds;
  std::int32_t dpi = 0;
  bool shown = false, topmost = false;

 private:
  static int cellFloor(float v) { return static_cast<int>(std::floor(v / kCell)); }
  static int cellCeil(float v) { return static_cast<int>(std::ceil(v / kCell)); }
  std::size_t index(int row, int col) const { return static_cast<std::size_t>(row * cols_ + col); }
  // How each control of the pad looks, and what the pad shows at the middle of a cell: the look
  // of the topmost control there.
  std::vector<std::string> controlLooks() const;
  const std::string& look(const std::vector<std::string>& looks, std::size_t cell) const;

  FakeWindows& owner_;
  const Pad& pad_;
  WindowHandle handle_;
  int rows_ = 0, cols_ = 0;
  std::vector<std::string> cells_;
  std::vector<bool> dirty_;
};

class FakeWindows : public NativeWindowFactory {
 public:
  bool screens = false;  // true: windows keep what they paint (for repaint tests)
  int created = 0;
  std::map<const Pad*, FakeWindow*> windowOf;  // the windows that exist

  // A thin frame: 4 pixels across at 96 DPI, 5 at 144.
  std::int32_t frameWidth(std::int32_t dpi) override { return 2 + 2 * dpi / 96; }
  std::int32_t frameHeight(std::int32_t dpi) override { return 2 + 2 * dpi / 96; }
  std::unique_ptr<NativeWindow> createPadWindow(Pad& pad, PadWindowEvents&) override {
    ++created;
    auto window =
        std::make_unique<FakeWindow>(*this, pad, 0x9000 + static_cast<WindowHandle>(created));
    windowOf[&pad] = window.get();
    return window;
  }
  int alive() const { return static_cast<int>(windowOf.size()); }
  // Every window paints what was invalidated, as when the message queue runs empty.
  void paint() {
    for (auto& w : windowOf) w.second->paint();
  }
  // The cells of all windows where the screen differs from what the pads now hold.
  int stale() const {
    int n = 0;
    for (const auto& w : windowOf) n += w.second->stale();
    return n;
  }
};

inline FakeWindow::~FakeWindow() { owner_.windowOf.erase(&pad_); }

inline void FakeWindow::setOuterBounds(const PixelRect& b, std::int32_t d) {
  bounds = b;
  dpi = d;
  const int rows = cellCeil(pad_.ScaleHeight()), cols = cellCeil(pad_.ScaleWidth());
  if ((rows == rows_ && cols == cols_) || !owner_.screens) return;
  std::vector<std::string> cells(static_cast<std::size_t>(rows * cols));
  std::vector<bool> dirty(cells.size(), true);
  for (int row = 0; row < std::min(rows, rows_); ++row) {
    for (int col = 0; col < std::min(cols, cols_); ++col) {
      const std::size_t i = static_cast<std::size_t>(row * cols + col);
      cells[i] = cells_[index(row, col)];
      dirty[i] = dirty_[index(row, col)];
    }
  }
  rows_ = rows;
  cols_ = cols;
  cells_.swap(cells);
  dirty_.swap(dirty);
}

inline std::vector<std::string> FakeWindow::controlLooks() const {
  std::vector<std::string> looks;
  for (const Control& c : pad_.controls()) {
    std::ostringstream out;
    out << pad_.originLeft(c) + c.left << ',' << pad_.originTop(c) + c.top << ',' << c.width << ','
        << c.height << ' ' << c.caption << ' ' << c.font.name << c.font.size << c.font.charset
        << ' ' << c.backColor << ' ' << c.pressed << ' ' << static_cast<int>(c.picture);
    looks.push_back(out.str());
  }
  looks.emplace_back();  // the pad's own background
  return looks;
}

inline const std::string& FakeWindow::look(const std::vector<std::string>& looks,
                                           std::size_t cell) const {
  const int row = static_cast<int>(cell) / cols_, col = static_cast<int>(cell) % cols_;
  const Control* c = pad_.controlAt((col + 0.5f) * kCell, (row + 0.5f) * kCell);
  const std::size_t i =
      c != nullptr ? static_cast<std::size_t>(c - pad_.controls().data()) : pad_.controls().size();
  return looks[i];
}

// The whole fake platform in one piece.
struct FakePlatform {
  FakeHost host;
  FakeKeys keys{host};
  FakeScreen screen;
  FakeProfile profile;
  FakeLayouts layouts;
  FakeWindows windows;
  FakeTrace trace;
  Platform platform{host, keys, screen, profile, layouts, windows, trace};
};

}  // namespace pmx::test
