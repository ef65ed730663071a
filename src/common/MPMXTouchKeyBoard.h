// The keyboard's module-wide values and the context every part of the core works in.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace pmx {

// The ids of the registered messages of the host protocol.
struct MessageIds {
  std::uint32_t keyboardHandle = 0;
  std::uint32_t terminateKeyboard = 0;
  std::uint32_t hideKeyboard = 0;
  std::uint32_t notifyKeyboard = 0;
  std::uint32_t language = 0;
  std::uint32_t touchKeyboardHides = 0;
  std::uint32_t touchPosition = 0;
  std::uint32_t touchShowLimits = 0;
  std::uint32_t touchKeySize = 0;
};

// One instance of each, owned by the host link and the pad manager.
struct ModuleValues {
  std::string iniFile;
  float keySizeFactor = 1.0f;
  WindowHandle controllerWindow = 0;
  std::int32_t controllerThread = 0;
  MessageIds msg;
  WindowHandle targetWindow = 0;
  std::string limitMinText;
  std::string limitMaxText;
  std::int32_t touchPosition = 0;
  std::int16_t showLimits = 0;  // 0 or -1
  std::int32_t languageId = 0;
  std::int16_t charSet = 0;
  // A language request has set the pads' texts; reloads keep that language from then on.
  bool languageApplied = false;
  // The host link has closed: the keyboard is ending, nothing of it comes back, nothing more is
  // sent to the host.
  bool ended = false;
};

constexpr std::int16_t kTrue = -1;
constexpr std::int16_t kFalse = 0;

class PadManager;

// What pads and handlers reach: the platform, the module-wide values and the pad manager.
struct Context {
  Platform& platform;
  ModuleValues& values;
  PadManager& pads;
};

}  // namespace pmx
