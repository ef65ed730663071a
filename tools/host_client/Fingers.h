// Fingers on a pad. Where the system injects touch input (Windows 8 and later) they are real
// contacts: every frame holds every finger that is down, and fingers held while the caller waits
// are renewed (the system drops a contact that is not renewed within 100 ms). Elsewhere (Wine has
// no touch injection) the pointer messages that Windows would send are posted to the pad.
#pragma once

#include <windows.h>

#include <string>

#include "Host.h"

namespace host_client {

class Fingers {
 public:
  explicit Fingers(HWND pad) : pad_(pad) {}
  ~Fingers();  // lifts every finger still down
  Fingers(const Fingers&) = delete;
  Fingers& operator=(const Fingers&) = delete;

  // "injected", or "posted" and why.
  static std::string how();
  // The pad that posted messages go to (injected contacts land where the screen shows the key).
  void setPad(HWND pad) { pad_ = pad; }

  // WM_POINTERDOWN, WM_POINTERUPDATE or WM_POINTERUP of a finger at the centre of a key.
  bool touch(UINT message, WORD id, const PadKey& key);
  // The system cancels the finger: it lifts, flagged as cancelled.
  bool cancel(WORD id, const PadKey& key);
  // The pad loses the finger while it is down: posted, the pad loses its capture and the finger
  // lifts; injected, the finger is cancelled while it moves.
  bool loseCapture(WORD id, const PadKey& key);

 private:
  HWND pad_;
};

}  // namespace host_client
