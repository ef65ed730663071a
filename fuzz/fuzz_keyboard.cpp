// The whole keyboard on the fake platform, driven by a sequence of host requests, touches of the
// mouse and of several fingers at once, hosts that answer with requests of their own, settings
// values and a system that refuses key events. After every step: no key is left down, at most one
// pad is on screen, a closing touch tells the host at most once and any other step not at all,
// only a contact's lift types, each contact's at most once and none whose pad was hidden or
// unloaded while it was down, and after the end nothing of the keyboard lives and nothing more
// reaches the host. No line of the trace holds a control byte.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

#include "Check.h"
#include "KeyboardRig.h"

namespace {

using namespace pmx;
using pmx::test::kField;

// Reads the fuzzer's bytes; zeros once they run out.
struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t byte() { return size > 0 ? (--size, *data++) : 0; }
  std::uint32_t u32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | byte();
    return v;
  }
  // A text of up to 495 bytes: long enough to pass the 254 characters a value may have.
  std::string text() {
    std::string s;
    std::size_t n = byte();
    if (n > 240) n += byte();
    for (; n > 0 && size > 0; --n) s += static_cast<char>(byte());
    return s;
  }
};

constexpr const char* kMessages[] = {"QDM32_1_TERMINATEKEYBOARD", "QDM32_1_HIDEKEYBOARD",
                                     "QDM1_LANGUAGE", "QDM32_1_TOUCHKEYSIZE"};
constexpr std::int32_t kLanguages[] = {1031, 1045, 2055, 7, 0};
constexpr const char* kPadNames[] = {"NumPad", "AlphaPad"};
constexpr const char* kArrays[] = {"Std", "End", "Shift", "Extra"};

std::int32_t language(Input& in) { return kLanguages[in.byte() % 5]; }

// A value of the settings file: one of the names the keyboard looks up, mostly; or a whole file.
void setSetting(test::KeyboardRig& rig, Input& in) {
  if (in.byte() % 8 == 0) {
    rig.fake.profile.file = in.text();
    return;
  }
  const std::string lang = std::to_string(language(in));
  std::string section, key;
  switch (in.byte() % 4) {
    case 0:
      section = "Replace";
      key = lang;
      break;
    case 1:
      section = "CharSet";
      key = lang;
      break;
    case 2:
      section = lang + " Text";
      key = in.byte() % 2 ? "Max" : "Min";
      break;
    default:
      section = lang + " " + kPadNames[in.byte() % 2] + (in.byte() % 2 ? " Text" : " KeyCode");
      key = kArrays[in.byte() % 4] + std::to_string(in.byte() % 64);
      break;
  }
  rig.fake.profile.set(section, key, in.text());
}

// A contact that is down: where it came down on which pad, and whether that pad has been on
// screen ever since. Only such a contact may type.
struct Held {
  Pad* pad;
  float x, y;
  bool onScreen;
};

// The mouse or one of three fingers comes down, moves, lifts or is cancelled on a control of a pad,
// somewhere on it, or where it came down. A contact that is down goes on with its pad, as the
// system sends all of it to that window.
void contact(test::KeyboardRig& rig, Input& in, std::map<ContactId, Held>& held, bool& closing) {
  const std::uint8_t padByte = in.byte(), controlByte = in.byte(), where = in.byte() % 4;
  const float ax = where == 0 ? in.byte() * 40.0f - 500 : 0,
              ay = where == 0 ? in.byte() * 20.0f - 200 : 0;
  const std::uint8_t how = in.byte();
  const ContactId id = how / 6 % 4 == 0 ? kMouseContact : how / 6 % 4;
  const int kind = how % 6;  // down, up, cancel, down and up (twice as likely), move
  const auto down = held.find(id);
  Pad* pad = down != held.end() ? down->second.pad : rig.keyboard.pads().existingPad(padByte % 4);
  if (pad == nullptr || !pad->loaded()) return;
  const Control& c = pad->controls()[controlByte % pad->controls().size()];
  float x = pad->originLeft(c) + c.left + c.width / 2, y = pad->originTop(c) + c.top + c.height / 2;
  if (where == 0) x = ax, y = ay;
  if (where >= 2 && down != held.end()) x = down->second.x, y = down->second.y;
  const Control* hit = pad->keyAt(x, y);
  const std::size_t typed = rig.fake.keys.batches.size();
  if (kind == 0 || kind == 3 || kind == 4) {
    held[id] = Held{pad, x, y, pad->Visible()};
    pad->contactDown(id, x, y);
  }
  if (kind == 5) pad->contactMove(id, x, y);
  if (kind == 2) pad->contactCancel(id);
  CHECK(rig.fake.keys.batches.size() == typed);  // nothing but a lift types
  if (kind == 1 || kind == 3 || kind == 4) {
    const bool mayType = held.count(id) != 0 && held[id].onScreen;
    closing =
        hit != nullptr && (hit->array == ControlArray::End || hit->array == ControlArray::Close);
    pad->contactUp(id, x, y);
    CHECK(mayType || rig.fake.keys.batches.size() == typed);
  }
  if (kind >= 1 && kind <= 4) held.erase(id);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in{data, size};
  test::KeyboardRig rig;
  if (size % 2 == 1) rig.fake.trace.switchOn();  // every other input is traced
  rig.start();
  const std::uint32_t hidesId = rig.id("QDM32_1_TOUCHKEYBOARDHIDES");
  std::map<ContactId, Held> held;
  bool ended = false;
  while (in.size > 0) {
    const bool endedBefore = ended;
    const int sentBefore = static_cast<int>(rig.fake.host.sent.size());
    const int hidesBefore = rig.fake.host.countSent(hidesId);
    bool closing = false;
    switch (in.byte() % 14) {
      case 0: {
        const std::int16_t types[] = {306, 307, 295, 265, 374, 0};
        const std::int16_t type =
            in.byte() % 2 ? types[in.byte() % 6] : static_cast<std::int16_t>(in.u32());
        const std::int16_t format = static_cast<std::int16_t>(in.byte() % 6) - 1;
        const std::string min = in.text(), max = in.text();
        rig.notify(kField, type, format, min.c_str(), max.c_str(), in.byte() * 3u % 517);
        break;
      }
      case 1:
        rig.request("QDM32_1_HIDEKEYBOARD");
        break;
      case 2:
        rig.request("QDM1_LANGUAGE", static_cast<std::uintptr_t>(language(in)));
        break;
      case 3: {
        const std::uint32_t sizes[] = {0x3F800000, 0x3FC00000, 0x40000000, 0x3F000000};
        const std::uint32_t bits = in.byte() % 2 ? sizes[in.byte() % 4] : in.u32();
        rig.request("QDM32_1_TOUCHKEYSIZE", 0, static_cast<std::int32_t>(bits));
        break;
      }
      case 4:
        rig.request("QDM32_1_TOUCHPOSITION", 0, static_cast<std::int8_t>(in.byte()) % 4);
        break;
      case 5:
        rig.request("QDM32_1_TOUCHSHOWLIMITS", 0, in.byte() % 2);
        break;
      case 6:
      case 7:
      case 8:
        contact(rig, in, held, closing);
        break;
      case 9:
        setSetting(rig, in);
        break;
      case 10: {
        const std::uint32_t ends[] = {kWmClose, kWmEndSession, kWmDestroy};
        const std::uint8_t how = in.byte() % 5;
        if (how == 4) {
          rig.keyboard.HostGone();
        } else if (how == 3) {
          rig.request("QDM32_1_TERMINATEKEYBOARD");
        } else {
          rig.keyboard.KeyboardWindowProc(rig.fake.host.messageWindow, ends[how], 1, 0);
        }
        ended = true;
        break;
      }
      case 11: {
        // The host answers the keyboard's notice, or the end key's yield brings a request.
        const char* answer = kMessages[in.byte() % 4];
        const bool onNotice = in.byte() % 2 != 0;
        const auto respond = [&rig, &ended, answer] {
          rig.request(answer, 1031, 0x3FC00000);
          ended = ended || std::strcmp(answer, "QDM32_1_TERMINATEKEYBOARD") == 0;
        };
        if (onNotice) {
          rig.fake.host.onSend = [respond](const test::SentMessage&) { respond(); };
        } else {
          rig.fake.host.onPump = respond;
        }
        break;
      }
      case 12: {
        test::HostWindow& field = rig.fake.host.windows[kField];
        field.className = in.byte() % 2 ? "ThunderRT6TextBox" : "Edit";
        field.style = in.byte() % 2 ? 0x0004 : 0;
        break;
      }
      default:
        rig.fake.keys.refuseAfter = in.byte() % 12;
        break;
    }
    // The host's answer may come inside the step; the notices counted are the keyboard's own.
    CHECK(!rig.fake.keys.anyKeyDown());
    for (auto& h : held) h.second.onScreen = h.second.onScreen && h.second.pad->Visible();
    int visible = 0;
    for (int n = 0; n < 4; ++n) {
      const Pad* pad = rig.keyboard.pads().existingPad(n);
      visible += pad != nullptr && pad->Visible();
    }
    CHECK(visible <= 1);
    const int notices = rig.fake.host.countSent(hidesId) - hidesBefore;
    CHECK(notices <= (closing ? 1 : 0));
    if (ended) {
      CHECK(rig.fake.windows.alive() == 0);
      CHECK(rig.fake.host.loopEnded);
    }
    if (endedBefore) CHECK(static_cast<int>(rig.fake.host.sent.size()) == sentBefore);
  }
  for (const std::string& line : rig.fake.trace.lines) {
    for (char c : line) CHECK(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
  }
  return 0;
}
