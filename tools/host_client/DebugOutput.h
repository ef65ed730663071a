// The debug output of a process that this program starts as its debugger: what the process
// writes with OutputDebugString arrives here line by line, and every other debug event is
// passed back to the process unchanged (its exceptions go to its own handlers).
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace host_client {

class DebugOutput {
 public:
  DebugOutput() = default;
  // Stops debugging; a debuggee that still runs then ends too.
  ~DebugOutput();
  DebugOutput(const DebugOutput&) = delete;
  DebugOutput& operator=(const DebugOutput&) = delete;

  // Calls `create` with the creation flags of a debuggee on a thread of its own, which then
  // serves as the process's debugger (only the thread that created a debuggee receives its debug
  // events). Returns what `create` returned.
  bool start(const std::function<bool(DWORD creationFlags)>& create);
  // The lines so far, without their line ends.
  std::vector<std::string> lines() const;

 private:
  void debugLoop();
  void collect(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info);

  std::thread thread_;
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

}  // namespace host_client
