#include "common/Trace.h"

#include <sstream>

#include "common/HostProtocol.h"

namespace pmx {

namespace {

constexpr const char* kPadNames[] = {"FNumPad", "FAlphaPad", "FHexPad", "FBinPad"};

std::string hex(std::uint64_t value) {
  std::ostringstream out;
  out << "0x" << std::hex << std::uppercase << value;
  return out.str();
}

const char* placementMode(std::int32_t mode) {
  switch (mode) {
    case 0:
      return "keep the pad clear of the field";
    case 1:
      return "place the pad next to the field";
    case 2:
      return "centre the pad";
    default:
      return "leave the pad where it is";
  }
}

void describeNotify(Context& context, std::uintptr_t wParam, std::intptr_t lParam,
                    std::ostringstream& out) {
  CopyData data;
  if (!context.platform.host.readCopyData(lParam, data)) {
    out << "WM_COPYDATA without data: ignored";
    return;
  }
  if (!isRequest(context.values.msg.notifyKeyboard, data.dwData)) {
    out << "WM_COPYDATA dwData=" << hex(data.dwData) << " cbData=" << data.cbData
        << ": no notify request, ignored";
    return;
  }
  const NotifyRecord record = decodeNotifyRecord(data.lpData, data.cbData);
  const int pad = choosePad(record.fieldType, record.valueFormat);
  out << "WM_COPYDATA QDM32_1_NOTIFYKEYBOARD field=" << hex(wParam) << " cbData=" << data.cbData
      << " fieldType=" << record.fieldType << " valueFormat=" << record.valueFormat
      << " limitMin=" << traceText(limitText(record.limitMin))
      << " limitMax=" << traceText(limitText(record.limitMax))
      << " pad=" << (pad == kNoPad ? "none" : kPadNames[pad]);
}

}  // namespace

std::string traceText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      const char* digits = "0123456789ABCDEF";
      out += "\\x";
      out += digits[byte >> 4];
      out += digits[byte & 0xF];
    } else {
      out += c;  // bytes from 0x80 up are characters of the system's ANSI code page
    }
  }
  return out + "\"";
}

std::string requestTraceLine(Context& context, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
  const MessageIds& m = context.values.msg;
  auto is = [message](std::uint32_t id) { return isRequest(id, message); };
  std::ostringstream out;
  out << "request ";
  // In the order in which the window procedure tells the requests apart.
  if (is(m.terminateKeyboard)) {
    out << "QDM32_1_TERMINATEKEYBOARD: end the keyboard";
  } else if (message == kWmClose) {
    out << "WM_CLOSE: end the keyboard";
  } else if (message == kWmEndSession && wParam != 0) {
    out << "WM_ENDSESSION: end the keyboard";
  } else if (message == kWmDestroy) {
    out << "WM_DESTROY: end the keyboard";
  } else if (is(m.hideKeyboard)) {
    out << "QDM32_1_HIDEKEYBOARD: hide every pad";
  } else if (is(m.language)) {
    out << "QDM1_LANGUAGE wParam=" << static_cast<std::int32_t>(wParam)
        << ": switch the language";
  } else if (is(m.touchPosition)) {
    const auto mode = static_cast<std::int32_t>(lParam);
    out << "QDM32_1_TOUCHPOSITION lParam=" << mode << ": " << placementMode(mode);
  } else if (is(m.touchShowLimits)) {
    const auto show = static_cast<std::int32_t>(lParam);
    out << "QDM32_1_TOUCHSHOWLIMITS lParam=" << show << ": "
        << (show != 0 ? "show the limits" : "hide the limits");
  } else if (is(m.touchKeySize)) {
    const auto bits = static_cast<std::uint32_t>(lParam);
    float factor = 0;
    out << "QDM32_1_TOUCHKEYSIZE lParam=" << hex(bits) << ": ";
    if (keySizeFactorFromBits(bits, factor)) {
      out << "key size " << factor;
    } else {
      out << "no usable key size, ignored";
    }
  } else if (message == kWmCopyData) {
    describeNotify(context, wParam, lParam, out);
  } else {
    return std::string();
  }
  return out.str();
}

std::string noticeTraceLine(const char* name, WindowHandle controller, std::uintptr_t wParam) {
  std::ostringstream out;
  out << "notice " << name << " to " << hex(controller) << " wParam=" << hex(wParam);
  return out.str();
}

std::string endTraceLine(const char* why, WindowHandle controller) {
  return std::string("end: ") + why + " (controller " + hex(controller) + ")";
}

std::string settingsFileTraceLine(const std::string& file, bool exists, bool unicode,
                                  bool sampleBeside) {
  // A path holds no control characters, and quoted, its backslashes would be doubled.
  std::string line = "settings file " + file + ": ";
  if (exists) {
    return line + (unicode ? "Unicode (UTF-16), every language in its own characters"
                           : "8-bit text, each language in the code page of its CharSet");
  }
  line += "not found, the built-in texts apply";
  if (sampleBeside) line += "; a .sample file is beside it: rename it to use it";
  return line;
}

std::string settingTraceLine(const std::string& section, const std::string& key,
                             const std::string& value, bool found) {
  return "setting [" + section + "] " + key + (found ? " = " + value : ": default");
}

}  // namespace pmx
