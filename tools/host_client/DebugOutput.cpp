#include "DebugOutput.h"

#include <future>

namespace host_client {

DebugOutput::~DebugOutput() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

bool DebugOutput::start(const std::function<bool(DWORD)>& create) {
  std::promise<bool> created;
  std::future<bool> result = created.get_future();
  // `create` is called before the result is set, while start() still waits for it.
  thread_ = std::thread(
      [this, &create](std::promise<bool> done) {
        const bool ok = create(DEBUG_ONLY_THIS_PROCESS);
        done.set_value(ok);
        if (ok) debugLoop();
      },
      std::move(created));
  return result.get();
}

std::vector<std::string> DebugOutput::lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

void DebugOutput::debugLoop() {
  HANDLE process = nullptr;
  for (;;) {
    DEBUG_EVENT event{};
    if (!WaitForDebugEvent(&event, 50)) {
      if (stop_) return;
      continue;
    }
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        process = event.u.CreateProcessInfo.hProcess;
        if (event.u.CreateProcessInfo.hFile) CloseHandle(event.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile) CloseHandle(event.u.LoadDll.hFile);
        break;
      case OUTPUT_DEBUG_STRING_EVENT:
        collect(process, event.u.DebugString);
        break;
      case EXCEPTION_DEBUG_EVENT:
        // The breakpoint the system sets at the start is the debugger's; anything else is the
        // process's own business.
        if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
          status = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) return;
  }
}

void DebugOutput::collect(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
  const SIZE_T unit = info.fUnicode ? sizeof(wchar_t) : 1;
  std::vector<char> bytes(info.nDebugStringLength * unit + sizeof(wchar_t), '\0');
  SIZE_T read = 0;
  if (process == nullptr || !ReadProcessMemory(process, info.lpDebugStringData, bytes.data(),
                                               info.nDebugStringLength * unit, &read)) {
    return;
  }
  std::string text;
  if (info.fUnicode) {
    const auto* wide = reinterpret_cast<const wchar_t*>(bytes.data());
    const int n = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (n > 0) {
      text.resize(static_cast<std::size_t>(n));
      WideCharToMultiByte(CP_ACP, 0, wide, -1, &text[0], n, nullptr, nullptr);
    }
  } else {
    text.assign(bytes.data(), read);
  }
  while (!text.empty() && (text.back() == '\0' || text.back() == '\n' || text.back() == '\r')) {
    text.pop_back();
  }
  std::lock_guard<std::mutex> lock(mutex_);
  lines_.push_back(text);
}

}  // namespace host_client
