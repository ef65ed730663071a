#include "host.h"

namespace e2e {

std::string sampleSettings(bool unicode) {
  HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(unicode ? 2 : 1), MAKEINTRESOURCEA(10));
  HGLOBAL loaded = found != nullptr ? LoadResource(nullptr, found) : nullptr;
  const char* bytes = loaded != nullptr ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  return bytes != nullptr ? std::string(bytes, SizeofResource(nullptr, found)) : std::string();
}

std::string exampleHostExe() {
  const std::string& keyboard = keyboardExe();
  const std::string exe = keyboard.substr(0, keyboard.find_last_of("\\/") + 1) + "ExampleHost.exe";
  return GetFileAttributesA(exe.c_str()) != INVALID_FILE_ATTRIBUTES ? exe : std::string();
}

std::pair<DWORD, DWORD> selection(HWND field) {
  DWORD start = 0, end = 0;
  SendMessageA(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {start, end};
}

::testing::AssertionResult typeKeys(HWND pad, HWND field, const std::vector<TypeStep>& steps) {
  const auto caret = [field] { return static_cast<int>(selection(field).second); };
  for (const TypeStep& step : steps) {
    if (!clickKey(pad, step.key)) {
      return ::testing::AssertionFailure() << "the click on " << step.key.name << " failed";
    }
    const bool typed =
        waitFor([&] { return windowText(field) == step.expected && caret() == step.caret; },
                kTypeTimeoutMs);
    if (!typed) {
      return ::testing::AssertionFailure()
             << "after key " << step.key.name << ": \"" << windowText(field) << "\" caret "
             << caret() << ", expected \"" << step.expected << "\" caret " << step.caret;
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace e2e
