#include "Fingers.h"

#include <map>
#include <mutex>
#include <thread>
#include <vector>

namespace host_client {

namespace {

constexpr POINTER_FLAGS kDown = POINTER_FLAG_INRANGE | POINTER_FLAG_INCONTACT | POINTER_FLAG_DOWN;
constexpr POINTER_FLAGS kMove = POINTER_FLAG_INRANGE | POINTER_FLAG_INCONTACT | POINTER_FLAG_UPDATE;
constexpr DWORD kRenewMs = 30;

// The process's touch injection, where the system has it; one for the process, never destroyed
// (its thread renews held contacts until the process ends).
class Injection {
 public:
  static Injection& get() {
    static Injection* injection = new Injection;
    return *injection;
  }
  bool available() const { return inject_ != nullptr; }
  const std::string& why() const { return why_; }

  // One frame: the finger with these flags and every other finger that is down, unmoved.
  bool frame(WORD id, POINT at, POINTER_FLAGS flags) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<POINTER_TOUCH_INFO> contacts;
    for (const auto& [other, point] : down_) {
      if (other != id) contacts.push_back(contact(other, point, kMove));
    }
    contacts.push_back(contact(id, at, flags));
    if ((flags & (POINTER_FLAG_UP | POINTER_FLAG_CANCELED)) != 0) {
      down_.erase(id);
    } else {
      down_[id] = at;
    }
    return injectLocked(contacts);
  }

  void liftAll() {
    while (true) {
      WORD id = 0;
      POINT at{};
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (down_.empty()) return;
        id = down_.begin()->first;
        at = down_.begin()->second;
      }
      frame(id, at, POINTER_FLAG_UP);
    }
  }

 private:
  Injection() {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    using Initialize = BOOL(WINAPI*)(UINT32, DWORD);
    const auto initialize = reinterpret_cast<Initialize>(
        reinterpret_cast<void*>(GetProcAddress(user32, "InitializeTouchInjection")));
    const auto inject = reinterpret_cast<Inject>(
        reinterpret_cast<void*>(GetProcAddress(user32, "InjectTouchInput")));
    if (initialize == nullptr || inject == nullptr) {
      why_ = "posted pointer messages (the system has no touch injection)";
    } else if (!initialize(10, TOUCH_FEEDBACK_NONE)) {
      why_ = "posted pointer messages (InitializeTouchInjection failed with error " +
             std::to_string(GetLastError()) + ")";
    } else {
      why_ = "injected";
      inject_ = inject;
      std::thread([this] { renew(); }).detach();
    }
  }

  static POINTER_TOUCH_INFO contact(WORD id, POINT at, POINTER_FLAGS flags) {
    POINTER_TOUCH_INFO c{};
    c.pointerInfo.pointerType = PT_TOUCH;
    c.pointerInfo.pointerId = id;
    c.pointerInfo.ptPixelLocation = at;
    c.pointerInfo.pointerFlags = flags;
    c.touchFlags = TOUCH_FLAG_NONE;
    c.touchMask = TOUCH_MASK_CONTACTAREA;
    c.rcContact = RECT{at.x - 2, at.y - 2, at.x + 2, at.y + 2};
    return c;
  }

  bool injectLocked(const std::vector<POINTER_TOUCH_INFO>& contacts) {
    last_ = GetTickCount();
    return inject_(static_cast<UINT32>(contacts.size()), contacts.data()) != FALSE;
  }

  void renew() {
    for (;;) {
      Sleep(kRenewMs / 3);
      std::lock_guard<std::mutex> lock(mutex_);
      if (down_.empty() || GetTickCount() - last_ < kRenewMs) continue;
      std::vector<POINTER_TOUCH_INFO> contacts;
      for (const auto& [id, point] : down_) contacts.push_back(contact(id, point, kMove));
      injectLocked(contacts);
    }
  }

  using Inject = BOOL(WINAPI*)(UINT32, const POINTER_TOUCH_INFO*);
  Inject inject_ = nullptr;
  std::string why_;
  std::mutex mutex_;
  std::map<WORD, POINT> down_;
  DWORD last_ = 0;
};

}  // namespace

Fingers::~Fingers() {
  if (Injection::get().available()) Injection::get().liftAll();
}

std::string Fingers::how() { return Injection::get().why(); }

bool Fingers::touch(UINT message, WORD id, const PadKey& key) {
  if (!Injection::get().available()) return postContact(pad_, message, id, key);
  POINT at;
  const POINTER_FLAGS flags = message == WM_POINTERDOWN     ? kDown
                              : message == WM_POINTERUPDATE ? kMove
                                                            : POINTER_FLAG_UP;
  return keyCentre(pad_, key, at) && Injection::get().frame(id, at, flags);
}

bool Fingers::cancel(WORD id, const PadKey& key) {
  if (!Injection::get().available()) {
    return postContact(pad_, WM_POINTERUP, id, key, POINTER_MESSAGE_FLAG_CANCELED);
  }
  POINT at;
  return keyCentre(pad_, key, at) &&
         Injection::get().frame(id, at, POINTER_FLAG_UP | POINTER_FLAG_CANCELED);
}

bool Fingers::loseCapture(WORD id, const PadKey& key) {
  if (!Injection::get().available()) {
    return PostMessageW(pad_, WM_POINTERCAPTURECHANGED, id, 0) &&
           postContact(pad_, WM_POINTERUP, id, key);
  }
  POINT at;
  return keyCentre(pad_, key, at) && Injection::get().frame(id, at, kMove | POINTER_FLAG_CANCELED);
}

}  // namespace host_client
