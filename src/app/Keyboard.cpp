#include "app/Keyboard.h"

#include "app/CommandLine.h"
#include "common/HostProtocol.h"
#include "common/Trace.h"

namespace pmx {

bool Keyboard::Main(const std::string& arguments, const std::string& exeDirectory) {
  values_.iniFile = exeDirectory + kSettingsFileName;
  values_.keySizeFactor = 1.0f;
  values_.controllerWindow = windowFromInt32(switchValue(arguments, "/Controller:"));
  values_.controllerThread = switchValue(arguments, "/Thread:");

  HostWindows& host = context_.platform.host;
  Trace& trace = context_.platform.trace;
  if (trace.on()) {
    ProfileReader& profile = context_.platform.profile;
    const bool exists = profile.fileExists(values_.iniFile);
    trace.line(settingsFileTraceLine(values_.iniFile, exists,
                                     exists && profile.unicodeFile(values_.iniFile),
                                     !exists && profile.fileExists(values_.iniFile + ".sample")));
  }
  const WindowHandle controller = values_.controllerWindow;
  // No window has the handle 0: a missing switch names no live controller either.
  const HostWatch watch =
      host.windowExists(controller) ? host.watchOwnerProcess(controller) : HostWatch::Gone;
  if (watch == HostWatch::Gone) {
    if (trace.on()) trace.line(endTraceLine("no live controller window", controller));
    return false;
  }
  if (watch == HostWatch::Refused && trace.on()) {
    trace.line("watch: the host's process cannot be watched; only the terminate request ends the "
               "keyboard");
  }

  std::uint32_t* ids[] = {&values_.msg.keyboardHandle,     &values_.msg.terminateKeyboard,
                          &values_.msg.hideKeyboard,       &values_.msg.notifyKeyboard,
                          &values_.msg.language,           &values_.msg.touchKeyboardHides,
                          &values_.msg.touchPosition,      &values_.msg.touchShowLimits,
                          &values_.msg.touchKeySize};
  static_assert(sizeof ids / sizeof ids[0] == kMessageNames.size(), "one id per message name");
  for (std::size_t i = 0; i < kMessageNames.size(); ++i) {
    *ids[i] = host.registerMessage(kMessageNames[i]);
  }

  link_.OpenHostLink();
  return true;
}

}  // namespace pmx
