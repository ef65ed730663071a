#include "app/HostLink.h"

#include "common/HostProtocol.h"
#include "common/Trace.h"
#include "pad_manager/PadManager.h"

namespace pmx {

void HostLink::OpenHostLink() {
  if (linked()) return;
  HostWindows& host = context_.platform.host;
  const ModuleValues& v = context_.values;
  messageWindow_ = host.openMessageWindow();
  host.attachInput(static_cast<ThreadId>(v.controllerThread), true);
  Trace& trace = context_.platform.trace;
  if (trace.on()) {
    trace.line(noticeTraceLine("QDM32_1_KEYBOARDHANDLE", v.controllerWindow, messageWindow_));
  }
  host.sendMessage(v.controllerWindow, v.msg.keyboardHandle, messageWindow_, 0);
}

void HostLink::CloseHostLink() {
  if (!linked()) return;
  HostWindows& host = context_.platform.host;
  host.attachInput(static_cast<ThreadId>(context_.values.controllerThread), false);
  WindowHandle window = messageWindow_;
  messageWindow_ = 0;
  host.closeMessageWindow(window);
}

void HostLink::shutDown(bool windowDestroyed) {
  ModuleValues& v = context_.values;
  if (windowDestroyed) {
    // Destroyed from elsewhere: the window is going anyway, only the link to the host is undone.
    if (linked()) {
      context_.platform.host.attachInput(static_cast<ThreadId>(v.controllerThread), false);
      messageWindow_ = 0;
    }
  } else {
    CloseHostLink();
  }
  v.ended = true;
  context_.pads.UnloadAllPads();
  context_.platform.host.endMessageLoop();
}

void HostLink::HostGone() {
  if (context_.values.ended) return;
  Trace& trace = context_.platform.trace;
  if (trace.on())
    trace.line(endTraceLine("the host's process has ended", context_.values.controllerWindow));
  shutDown(false);
}

std::intptr_t HostLink::KeyboardWindowProc(WindowHandle window, std::uint32_t message,
                                           std::uintptr_t wParam, std::intptr_t lParam) {
  ModuleValues& v = context_.values;
  PadManager& pads = context_.pads;
  // Registered ids are never 0; a registration that failed must not match every message 0.
  auto is = [message](std::uint32_t id) { return isRequest(id, message); };
  Trace& trace = context_.platform.trace;
  if (trace.on()) {
    const std::string line = requestTraceLine(context_, message, wParam, lParam);
    if (!line.empty()) trace.line(line);
  }

  // The terminate request, a polite close (as task managers send it) and the end of the user's
  // session all end the keyboard the same way.
  if (is(v.msg.terminateKeyboard) || message == kWmClose ||
      (message == kWmEndSession && wParam != 0)) {
    shutDown(false);
    return 0;  // the window is gone: nothing to pass on
  }
  if (message == kWmDestroy) {
    shutDown(true);
  } else if (is(v.msg.hideKeyboard)) {
    pads.HideAllPads();
  } else if (is(v.msg.language)) {
    v.languageId = static_cast<std::int32_t>(wParam);
    pads.SetKeyboardLanguage();
    pads.UnloadAllPads();
    pads.LoadAllPads();
    pads.ChangeLanguageAllPads();
    v.languageApplied = true;
  } else if (is(v.msg.touchPosition)) {
    v.touchPosition = static_cast<std::int32_t>(lParam);
  } else if (is(v.msg.touchShowLimits)) {
    v.showLimits = static_cast<std::int32_t>(lParam) != 0 ? kTrue : kFalse;
  } else if (is(v.msg.touchKeySize)) {
    keySizeRequest(lParam);
  } else if (message == kWmCopyData) {
    notifyRequest(wParam, lParam);
  } else if (message == kWmDisplayChange ||
             (message == kWmSettingChange && wParam == kSpiSetWorkArea)) {
    pads.ScreenChanged();
  }
  pads.syncWindows();
  return context_.platform.host.callPrevious(window, message, wParam, lParam);
}

void HostLink::keySizeRequest(std::intptr_t lParam) {
  float factor = 0;
  if (!keySizeFactorFromBits(static_cast<std::uint32_t>(lParam), factor)) return;
  context_.values.keySizeFactor = factor;
  context_.pads.UnloadAllPads();
  context_.pads.LoadAllPads();
  // The reloaded pads keep the language the host chose: what they show and type stays the same.
  if (context_.values.languageApplied) context_.pads.ChangeLanguageAllPads();
}

void HostLink::notifyRequest(std::uintptr_t wParam, std::intptr_t lParam) {
  ModuleValues& v = context_.values;
  HostWindows& host = context_.platform.host;
  CopyData data;
  if (!host.readCopyData(lParam, data)) return;
  if (!isRequest(v.msg.notifyKeyboard, data.dwData)) return;
  // The sender's data is valid only during this call: everything below uses the copy.
  const NotifyRecord record = decodeNotifyRecord(data.lpData, data.cbData);
  v.targetWindow = static_cast<WindowHandle>(wParam);
  v.limitMinText = limitText(record.limitMin);
  v.limitMaxText = limitText(record.limitMax);
  int padNumber = choosePad(record.fieldType, record.valueFormat);
  if (padNumber != kNoPad) context_.pads.ShowPad(padNumber);
  host.setFocus(v.targetWindow);
}

}  // namespace pmx
