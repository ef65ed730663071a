// The host link: start-up with /Controller: and /Thread:, the announcement, requests during the
// announcement, the notify request's focus hand-back, malformed WM_COPYDATA and the shutdown.
#include "host.h"

using namespace e2e;

TEST(HostLink, announces_its_message_window_once) {
  Session s;
  ASSERT_TRUE(s.start());
  const auto announcements = s.host.received(messages().keyboardHandle);
  EXPECT_EQ(announcements.front().lParam, LPARAM{0});
  EXPECT_TRUE(IsWindow(s.keyboardWindow)) << "wParam of the announcement is no window";
  EXPECT_EQ(windowText(s.keyboardWindow), std::string("_QDTouchKeyboard_"));
  EXPECT_EQ(windowProcessId(s.keyboardWindow), s.keyboard.pid());
  EXPECT_TRUE(!IsWindowVisible(s.keyboardWindow)) << "the message window is on screen";
  EXPECT_TRUE(s.answers());

  s.terminate();
  // Everything the process sent is in by now: it has ended, and its sends were synchronous.
  EXPECT_EQ(s.host.count(messages().keyboardHandle), 1);
}

TEST(HostLink, switches_in_any_order) {
  Session s;
  const std::string reordered =
      "/Thread:" + std::to_string(GetCurrentThreadId()) + " /Controller:" +
      std::to_string(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(s.host.hwnd()))) +
      " /Project:E2E";
  ASSERT_TRUE(s.start(reordered));
  EXPECT_EQ(windowText(s.keyboardWindow), std::string("_QDTouchKeyboard_"));
  // The thread switch was read too: the focus hand-back needs the input attachment.
  ASSERT_TRUE(s.host.activate(s.fields[0]));
  EXPECT_TRUE(s.notify(s.fields[1], kTextField).delivered);
  EXPECT_TRUE(waitFor([&] { return GetFocus() == s.fields[1]; }, 2000))
      << "the notified field did not get the focus";
  s.terminate();
}

TEST(HostLink, request_during_announcement_is_handled) {
  Session s;
  SendResult inner;
  bool innerSent = false;
  s.host.onKeyboardHandle = [&](HWND keyboard) {
    innerSent = true;
    inner = sendRequest(keyboard, messages().touchPosition, 0, 2);
  };
  ASSERT_TRUE(s.start());
  ASSERT_TRUE(innerSent);
  EXPECT_TRUE(inner.delivered) << "QDM32_1_TOUCHPOSITION sent during the announcement hung";
  EXPECT_TRUE(s.answers()) << "the keyboard no longer answers after the nested request";
  // Still fully working: a notify request is served and the keyboard ends normally.
  ASSERT_TRUE(s.host.activate(s.fields[0]));
  EXPECT_TRUE(s.notify(s.fields[1], kDecimalField).delivered);
  EXPECT_TRUE(waitFor([&] { return GetFocus() == s.fields[1]; }, 2000));
  s.terminate();
}

TEST(HostLink, terminate_during_announcement_ends_the_process) {
  Session s;
  SendResult inner;
  bool innerSent = false;
  s.host.onKeyboardHandle = [&](HWND keyboard) {
    innerSent = true;
    inner = sendRequest(keyboard, messages().terminateKeyboard, 0, 0);
  };
  ASSERT_TRUE(s.start());
  ASSERT_TRUE(innerSent);
  EXPECT_TRUE(inner.delivered) << "the terminate request sent during the announcement hung";
  EXPECT_EQ(inner.result, LRESULT{0});
  EXPECT_TRUE(waitForProcessExit(s.keyboard.handle(), 2000))
      << "the keyboard did not exit within 2 s";
  EXPECT_EQ(s.keyboard.exitCode(), DWORD{0});
}

// The focus stays in (or moves to) the field a notify request names, for every kind of field,
// and the host window stays the active window: pads never take the activation.
TEST(HostLink, notify_gives_the_focus_to_the_field) {
  Session s;
  ASSERT_TRUE(s.start());
  const FieldKind kinds[] = {kDecimalField, kHexField, kBinaryField, kTextField};
  for (const FieldKind& kind : kinds) {
    SCOPED_TRACE(std::string("field kind ") + kind.name);
    // The usual case: the field that got the focus is the one named.
    ASSERT_TRUE(s.focus(s.fields[0]));
    EXPECT_TRUE(s.notify(s.fields[0], kind).delivered);
    s.settle();
    EXPECT_EQ(GetFocus(), s.fields[0]);
    EXPECT_EQ(GetForegroundWindow(), s.host.hwnd());

    // The focus is elsewhere: the keyboard itself puts it into the named field.
    ASSERT_TRUE(s.focus(s.fields[3]));
    EXPECT_TRUE(s.notify(s.fields[1], kind).delivered);
    EXPECT_TRUE(waitFor([&] { return GetFocus() == s.fields[1]; }, 2000))
        << "the focus did not move to the notified field";
    s.settle();
    EXPECT_EQ(GetForegroundWindow(), s.host.hwnd());
  }
  EXPECT_TRUE(s.answers());
  s.terminate();
}

TEST(HostLink, terminate_ends_the_process_without_hides) {
  Session s;
  ASSERT_TRUE(s.start());
  // A pad on screen (if the keyboard shows one) goes away with the process, without a notice.
  ASSERT_TRUE(s.focus(s.fields[0]));
  EXPECT_TRUE(s.notify(s.fields[0], kDecimalField).delivered);
  s.settle();
  const HWND messageWindow = s.keyboardWindow;

  s.terminate(2000);
  EXPECT_TRUE(!IsWindow(messageWindow)) << "the message window still exists";
  EXPECT_TRUE(s.visibleWindows().empty());
  pumpMessages();
  EXPECT_EQ(s.host.count(messages().touchKeyboardHides), 0);
}

// WM_COPYDATA that is no notify request changes nothing: no focus change, no pad.
TEST(HostLink, copydata_with_another_tag_is_ignored) {
  Session s;
  ASSERT_TRUE(s.start());
  const NotifyRecord record = makeNotifyRecord(306, 0, "0", "100");
  const ULONG_PTR otherTags[] = {0, messages().hideKeyboard, messages().notifyKeyboard + 1000};
  for (ULONG_PTR tag : otherTags) {
    SCOPED_TRACE("dwData " + std::to_string(static_cast<unsigned long long>(tag)));
    ASSERT_TRUE(s.focus(s.fields[0]));
    EXPECT_TRUE(sendCopyData(s.keyboardWindow, s.fields[1], tag, &record, sizeof record).delivered);
    s.settle();
    EXPECT_EQ(GetFocus(), s.fields[0]);
    EXPECT_TRUE(s.visibleWindows().empty());
    EXPECT_TRUE(s.answers());
  }
  s.terminate();
}

// A notify request with too little data must not bring the keyboard down.
TEST(HostLink, short_notify_payload_is_survived) {
  Session s;
  ASSERT_TRUE(s.start());
  const NotifyRecord record = makeNotifyRecord(306, 0, "0", "100");
  ASSERT_TRUE(s.focus(s.fields[0]));

  SCOPED_TRACE("8 bytes");
  EXPECT_TRUE(
      sendCopyData(s.keyboardWindow, s.fields[0], messages().notifyKeyboard, &record, 8).delivered);
  EXPECT_TRUE(s.answers()) << "the keyboard stopped answering after an 8-byte notify";

  SCOPED_TRACE("no data at all");
  EXPECT_TRUE(
      sendCopyData(s.keyboardWindow, s.fields[0], messages().notifyKeyboard, nullptr, 0).delivered);
  EXPECT_TRUE(s.answers()) << "the keyboard stopped answering after an empty notify";

  // A proper request afterwards is still served.
  ASSERT_TRUE(s.focus(s.fields[3]));
  EXPECT_TRUE(s.notify(s.fields[1], kDecimalField).delivered);
  EXPECT_TRUE(waitFor([&] { return GetFocus() == s.fields[1]; }, 2000));
  s.terminate();
}
