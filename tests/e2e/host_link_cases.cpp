// The host link: start-up with /Controller: and /Thread:, the announcement, requests during the
// announcement, malformed WM_COPYDATA and the ways the keyboard is ended from outside.
#include <string>

#include "host.h"

using namespace e2e;

// One announcement of a hidden "_QDTouchKeyboard_" window. The terminate request, a polite close
// (as task managers send it) and the end of the session each end the process with 0 and take
// the message window and a pad on screen with them, without a notice to the host.
TEST(HostLink, announces_once_and_ends_on_terminate_close_and_session_end) {
  const char* ways[] = {"terminate", "WM_CLOSE", "WM_ENDSESSION"};
  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(ways[way]);
    Session s;
    ASSERT_TRUE(s.start());
    EXPECT_EQ(s.host.received(messages().keyboardHandle).front().lParam, LPARAM{0});
    EXPECT_EQ(windowText(s.keyboardWindow), std::string("_QDTouchKeyboard_"));
    EXPECT_EQ(windowProcessId(s.keyboardWindow), s.keyboard.pid());
    EXPECT_TRUE(!IsWindowVisible(s.keyboardWindow)) << "the message window is on screen";
    ASSERT_TRUE(s.showPad(s.fields[0], kDecimalField));
    const HWND messageWindow = s.keyboardWindow;
    if (way == 0) {
      s.terminate();
    } else if (way == 1) {
      EXPECT_TRUE(PostMessageA(messageWindow, WM_CLOSE, 0, 0));
    } else {
      EXPECT_TRUE(s.request(WM_QUERYENDSESSION, 0, 0).result != 0);  // it may end
      EXPECT_TRUE(s.answers());
      s.request(WM_ENDSESSION, TRUE, 0);
    }
    EXPECT_TRUE(waitForProcessExit(s.keyboard.handle(), 5000));
    EXPECT_EQ(s.keyboard.exitCode(), DWORD{0});
    EXPECT_TRUE(!IsWindow(messageWindow)) << "the message window still exists";
    EXPECT_TRUE(s.visibleWindows().empty());
    pumpMessages();
    // Everything the process sent is in by now: it has ended, and its sends were synchronous.
    EXPECT_EQ(s.host.count(messages().keyboardHandle), 1);
    EXPECT_EQ(s.hides(), 0);
  }
}

// A request the host sends while it handles the announcement is served. A terminate request
// ends the process with 0. A placement request is kept, here with the switches in another order:
// both read, the input attached (the focus hand-back needs it).
TEST(HostLink, a_request_during_the_announcement) {
  for (bool terminate : {true, false}) {
    SCOPED_TRACE(terminate ? "terminate" : "placement, switches in another order");
    Session s;
    SendResult inner;
    s.host.onKeyboardHandle = [&](HWND keyboard) {
      inner = terminate ? sendRequest(keyboard, messages().terminateKeyboard, 0, 0)
                        : sendRequest(keyboard, messages().touchPosition, 0, 2);
    };
    const std::string reordered =
        "/Thread:" + std::to_string(GetCurrentThreadId()) + " /Controller:" +
        std::to_string(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(s.host.hwnd()))) +
        " /Project:E2E";
    ASSERT_TRUE(s.start(terminate ? std::string() : reordered));
    EXPECT_TRUE(inner.delivered) << "the request sent during the announcement hung or never went";
    EXPECT_EQ(inner.result, LRESULT{0});
    if (terminate) {
      EXPECT_TRUE(waitForProcessExit(s.keyboard.handle(), 2000)) << "no exit within 2 s";
      EXPECT_EQ(s.keyboard.exitCode(), DWORD{0});
      continue;
    }
    ASSERT_TRUE(s.host.activate(s.fields[0]));
    HWND pad = s.showPad(s.fields[1], kDecimalField);
    ASSERT_TRUE(pad);
    EXPECT_TRUE(waitFor([&] { return GetFocus() == s.fields[1]; }, 2000))
        << "the notified field did not get the focus";
    const RECT p = windowRect(pad);  // mode 2, as asked during the announcement: centred
    EXPECT_NEAR(p.left + p.right, GetSystemMetrics(SM_CXSCREEN), 1);
    s.terminate();
  }
}

// A WM_COPYDATA with another tag changes nothing; a notify request with too little data or none
// does not bring the keyboard down, and a proper request afterwards is served.
TEST(HostLink, malformed_copydata_is_survived) {
  Session s;
  ASSERT_TRUE(s.start());
  const NotifyRecord record = makeNotifyRecord(306, 0, "0", "100");
  const ULONG_PTR otherTags[] = {0, messages().hideKeyboard, messages().notifyKeyboard + 1000};
  ASSERT_TRUE(s.focus(s.fields[0]));
  for (ULONG_PTR tag : otherTags) {
    SCOPED_TRACE("dwData " + std::to_string(static_cast<unsigned long long>(tag)));
    EXPECT_TRUE(sendCopyData(s.keyboardWindow, s.fields[1], tag, &record, sizeof record).delivered);
    s.settle();
    EXPECT_EQ(GetFocus(), s.fields[0]);
    EXPECT_TRUE(s.visibleWindows().empty());
  }
  for (DWORD size : {8, 0}) {
    EXPECT_TRUE(sendCopyData(s.keyboardWindow, s.fields[0], messages().notifyKeyboard,
                             size != 0 ? &record : nullptr, size)
                    .delivered);
    EXPECT_TRUE(s.answers()) << "the keyboard stopped answering after a notify of " << size;
  }
  EXPECT_TRUE(s.showPad(s.fields[1], kHexField));  // not the pad the short record may show
  s.terminate();
}

// A host that crashes or is killed sends no terminate request: the keyboard sees its process end
// and ends within a second, with 0, taking its pad and every window with it. The host here is a
// process of its own (this program, serveKilledHost below), killed with TerminateProcess.
TEST(HostLink, ends_when_its_host_is_killed) {
  char self[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
  KeyboardProcess host;
  ASSERT_TRUE(host.start(self, "/keyboard:\"" + keyboardExe() + "\" --serve-killed-host"));
  HWND pad = nullptr;
  ASSERT_TRUE(
      waitFor([&] { return (pad = FindWindowA(kNumPadClass, nullptr)) != nullptr; }, 20000));
  const DWORD pid = windowProcessId(pad);
  const HANDLE keyboard =
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE, FALSE, pid);
  ASSERT_TRUE(keyboard);
  host.kill();
  EXPECT_TRUE(waitForProcessExit(keyboard, 3000)) << "the keyboard outlived its host by 3 s";
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(keyboard, &code);
  EXPECT_EQ(code, DWORD{0});
  EXPECT_TRUE(topLevelWindows(pid).empty());
  TerminateProcess(keyboard, 99);
  CloseHandle(keyboard);
}

int e2e::serveKilledHost() {
  KeyboardHost s;
  if (!s.start(keyboardExe()) || !s.showPad(s.fields[0], kDecimalField)) return 1;
  for (;;) {  // until killed
    MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
    pumpMessages();
  }
}
