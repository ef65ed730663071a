// The host side of the end-to-end tests: the shared host of tools/host_client with the tests'
// checks, and typing with real clicks.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Host.h"
#include "layouts/AlphaPadLayout.h"
#include "layouts/ValuePadLayouts.h"

namespace e2e {

using namespace host_client;

// The keyboard executable under test (a Windows path).
const std::string& keyboardExe();
// The sample settings file the package ships, carried by this program: 8-bit text, or UTF-16.
std::string sampleSettings(bool unicode);
// The package's example host, which the check puts beside the keyboard under test; empty when
// there is none.
std::string exampleHostExe();

// A KeyboardHost of the keyboard under test that records in the running test what goes wrong.
class Session : public KeyboardHost {
 public:
  bool start(const std::string& arguments = std::string()) {
    return check(KeyboardHost::start(keyboardExe(), arguments));
  }
  bool startWithSettings(const std::string& settings) {
    return check(KeyboardHost::startWithSettings(keyboardExe(), settings));
  }
  void terminate(DWORD exitTimeoutMs = 2000) { check(KeyboardHost::terminate(exitTimeoutMs)); }
  HWND showPad(HWND field, const FieldKind& kind, const char* limitMin = "0",
               const char* limitMax = "100") {
    return check(KeyboardHost::showPad(field, kind, limitMin, limitMax));
  }
  // start() and then showPad().
  HWND startWithPad(HWND field, const FieldKind& kind, const char* limitMin = "0",
                    const char* limitMax = "100") {
    return start() ? showPad(field, kind, limitMin, limitMax) : nullptr;
  }

 private:
  template <typename Result>
  Result check(Result ok) {
    EXPECT_TRUE(ok) << why;
    return ok;
  }
};

// The keys of the pads, by their array and index in the layouts the pads are made from.
using A = pmx::ControlArray;
inline PadKey num(int i, A a = A::Standard) { return padKey(pmx::numPadLayout(), a, i); }
inline PadKey hex(int i, A a = A::Standard) { return padKey(pmx::hexPadLayout(), a, i); }
inline PadKey bin(int i, A a = A::Standard) { return padKey(pmx::binPadLayout(), a, i); }
inline PadKey alpha(int i, A a = A::Standard) { return padKey(pmx::alphaPadLayout(), a, i); }
// The Standard keys of the value pads that type no digit.
constexpr int kPoint = 10, kMinus = 11, kBackspace = 14, kDelete = 15, kLeft = 16, kRight = 17,
              kHome = 18, kEnd = 19;

// A key's area in a grab of the pad, inside its bevel.
inline RECT keyArea(const Grab& g, const PadKey& key) {
  const double scale = static_cast<double>(g.width) / key.clientWidth;
  const auto x = [scale](int twips) { return static_cast<LONG>(twips * scale); };
  const auto y = [&](int twips) { return g.height - x(key.keysHeight - twips); };
  return {x(key.left) + 3, y(key.top) + 3, x(key.left + key.width) - 3,
          y(key.top + key.height) - 3};
}

// A key to click, with the text and the caret position the field has afterwards.
struct TypeStep {
  PadKey key;
  const char* expected;
  int caret;
};
// Clicks the keys in turn and after each waits until the field holds the expected text with the
// caret where expected; fails at the first step where it does not. Every step changes one of the
// two, so the wait also paces the clicks like a person typing.
::testing::AssertionResult typeKeys(HWND pad, HWND field, const std::vector<TypeStep>& steps);

// The host that ends_when_its_host_is_killed kills: starts the keyboard, shows a pad and waits to
// be killed (started with the argument --serve-killed-host).
int serveKilledHost();

// The selection of an EDIT field: where it starts and where it ends (the caret).
std::pair<DWORD, DWORD> selection(HWND field);

}  // namespace e2e
