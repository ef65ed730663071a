// A fake operating system for the core: it keeps focus, key state, windows and the text a host
// field would receive, so tests can assert the resulting state rather than count calls.
#pragma once

#include <algorithm>
#include <cctype>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

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
  std::string text;  // what the field received
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

  std::uint32_t registerMessage(const char* name) override {
    auto it = std::find(registered.begin(), registered.end(), name);
    if (it == registered.end()) {
      registered.push_back(name);
      it = registered.end() - 1;
    }
    return 0xC000u + static_cast<std::uint32_t>(it - registered.begin());
  }
  std::uint32_t idOf(const std::string& name) {
    return registerMessage(name.c_str());
  }
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

  int countSent(std::uint32_t message) const {
    return static_cast<int>(std::count_if(sent.begin(), sent.end(), [&](const SentMessage& m) {
      return m.message == message;
    }));
  }
};

// Keeps the key state like the system does and types characters into the focused host field.
class FakeKeys : public KeyInjector {
 public:
  explicit FakeKeys(FakeHost& host) : host_(host) {}
  std::vector<std::vector<KeyStroke>> strings;  // every sendKeys call
  std::vector<std::pair<std::uint8_t, bool>> events;  // every keyEvent call
  std::map<std::uint8_t, bool> down;

  void sendKeys(const std::vector<KeyStroke>& strokes) override {
    strings.push_back(strokes);
    auto it = host_.windows.find(host_.focus);
    if (it == host_.windows.end()) return;
    for (const KeyStroke& s : strokes) {
      if (s.kind == KeyStroke::Kind::Character) it->second.text += s.ch;
    }
  }
  void keyEvent(std::uint8_t vk, bool up) override {
    events.emplace_back(vk, up);
    down[vk] = !up;
  }
  bool anyKeyDown() const {
    return std::any_of(down.begin(), down.end(), [](const auto& k) { return k.second; });
  }

 private:
  FakeHost& host_;
};

class FakeScreen : public Screen {
 public:
  float width = 15360, height = 11520, px = 15, py = 15;  // 1024 x 768 pixels
  float widthTwips() override { return width; }
  float heightTwips() override { return height; }
  float twipsPerPixelX() override { return px; }
  float twipsPerPixelY() override { return py; }
};

// An in-memory settings file with the profile API's case-insensitive names.
class FakeProfile : public ProfileReader {
 public:
  void set(const std::string& section, const std::string& key, const std::string& value) {
    values[lower(section) + "\n" + lower(key)] = value;
  }
  int readInt(const std::string&, const std::string& section, const std::string& key,
              int defaultValue) override {
    auto it = values.find(lower(section) + "\n" + lower(key));
    return it == values.end() ? defaultValue : std::atoi(it->second.c_str());
  }
  std::string readString(const std::string&, const std::string& section, const std::string& key,
                         const std::string& defaultValue) override {
    auto it = values.find(lower(section) + "\n" + lower(key));
    std::string value = it == values.end() ? defaultValue : it->second;
    return value.substr(0, 254);
  }
  std::map<std::string, std::string> values;

 private:
  static std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
  }
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

class FakeWindow : public NativeWindow {
 public:
  FakeWindow(WindowHandle handle, int* alive) : handle_(handle), alive_(alive) { ++*alive_; }
  ~FakeWindow() override { --*alive_; }
  WindowHandle handle() const override { return handle_; }
  void setOuterBounds(float l, float t, float w, float h) override {
    left = l;
    top = t;
    width = w;
    height = h;
  }
  void show() override { shown = true; }
  void hide() override { shown = false; }
  bool visible() const override { return shown; }
  void makeTopmost() override { topmost = true; }
  void repaint() override { ++repaints; }

  float left = 0, top = 0, width = 0, height = 0;
  bool shown = false, topmost = false;
  int repaints = 0;

 private:
  WindowHandle handle_;
  int* alive_;
};

class FakeWindows : public NativeWindowFactory {
 public:
  float frameW = 60, frameH = 60;  // a thin frame of 2 pixels on every side
  int alive = 0;
  int created = 0;
  std::map<const Pad*, FakeWindow*> windowOf;

  float frameWidthTwips() override { return frameW; }
  float frameHeightTwips() override { return frameH; }
  std::unique_ptr<NativeWindow> createPadWindow(Pad& pad, PadWindowEvents&) override {
    ++created;
    auto window = std::make_unique<FakeWindow>(0x9000 + static_cast<WindowHandle>(created), &alive);
    windowOf[&pad] = window.get();
    return window;
  }
};

// The whole fake platform in one piece.
struct FakePlatform {
  FakeHost host;
  FakeKeys keys{host};
  FakeScreen screen;
  FakeProfile profile;
  FakeLayouts layouts;
  FakeWindows windows;
  Platform platform{host, keys, screen, profile, layouts, windows};
};

}  // namespace pmx::test
