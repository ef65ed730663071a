// The host link: start-up with /Controller: and /Thread:, the announcement, requests during the
// announcement, the notify request's focus hand-back, malformed WM_COPYDATA and the shutdown.
#include "host.h"

using namespace e2e;

E2E_CASE(announces_its_message_window_once) {
  Session s(t);
  E2E_REQUIRE(s.start());
  const auto announcements = s.host.received(messages().keyboardHandle);
  E2E_CHECK_EQ(announcements.front().lParam, LPARAM{0});
  E2E_CHECK_MSG(IsWindow(s.keyboardWindow), "wParam of the announcement is no window");
  E2E_CHECK_EQ(windowText(s.keyboardWindow), std::string("_QDTouchKeyboard_"));
  E2E_CHECK_EQ(windowProcessId(s.keyboardWindow), s.keyboard.pid());
  E2E_CHECK_MSG(!IsWindowVisible(s.keyboardWindow), "the message window is on screen");
  E2E_CHECK(s.answers());

  s.terminate();
  // Everything the process sent is in by now: it has ended, and its sends were synchronous.
  E2E_CHECK_EQ(s.host.count(messages().keyboardHandle), 1);
}

E2E_CASE(switches_in_any_order) {
  Session s(t);
  const std::string reordered =
      "/Thread:" + std::to_string(GetCurrentThreadId()) + " /Controller:" +
      std::to_string(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(s.host.hwnd()))) +
      " /Project:E2E";
  E2E_REQUIRE(s.start(reordered));
  E2E_CHECK_EQ(windowText(s.keyboardWindow), std::string("_QDTouchKeyboard_"));
  // The thread switch was read too: the focus hand-back needs the input attachment.
  E2E_REQUIRE(s.host.activate(s.fields[0]));
  E2E_CHECK(s.notify(s.fields[1], kTextField).delivered);
  E2E_CHECK_MSG(waitFor([&] { return GetFocus() == s.fields[1]; }, 2000),
                "the notified field did not get the focus");
  s.terminate();
}

E2E_CASE(request_during_announcement_is_handled) {
  Session s(t);
  SendResult inner;
  bool innerSent = false;
  s.host.onKeyboardHandle = [&](HWND keyboard) {
    innerSent = true;
    inner = sendRequest(keyboard, messages().touchPosition, 0, 2);
  };
  E2E_REQUIRE(s.start());
  E2E_REQUIRE(innerSent);
  E2E_CHECK_MSG(inner.delivered, "QDM32_1_TOUCHPOSITION sent during the announcement hung");
  E2E_CHECK_MSG(s.answers(), "the keyboard no longer answers after the nested request");
  // Still fully working: a notify request is served and the keyboard ends normally.
  E2E_REQUIRE(s.host.activate(s.fields[0]));
  E2E_CHECK(s.notify(s.fields[1], kDecimalField).delivered);
  E2E_CHECK(waitFor([&] { return GetFocus() == s.fields[1]; }, 2000));
  s.terminate();
}

E2E_CASE(terminate_during_announcement_ends_the_process) {
  Session s(t);
  SendResult inner;
  bool innerSent = false;
  s.host.onKeyboardHandle = [&](HWND keyboard) {
    innerSent = true;
    inner = sendRequest(keyboard, messages().terminateKeyboard, 0, 0);
  };
  E2E_REQUIRE(s.start());
  E2E_REQUIRE(innerSent);
  E2E_CHECK_MSG(inner.delivered, "the terminate request sent during the announcement hung");
  E2E_CHECK_EQ(inner.result, LRESULT{0});
  E2E_CHECK_MSG(waitForProcessExit(s.keyboard.handle(), 2000),
                "the keyboard did not exit within 2 s");
  E2E_CHECK_EQ(s.keyboard.exitCode(), DWORD{0});
}

// The focus stays in (or moves to) the field a notify request names, for every kind of field,
// and the host window stays the active window: pads never take the activation.
E2E_CASE(notify_gives_the_focus_to_the_field) {
  Session s(t);
  E2E_REQUIRE(s.start());
  const FieldKind kinds[] = {kDecimalField, kHexField, kBinaryField, kTextField};
  for (const FieldKind& kind : kinds) {
    t.note(std::string("field kind ") + kind.name);
    // The usual case: the field that got the focus is the one named.
    E2E_REQUIRE(s.focus(s.fields[0]));
    E2E_CHECK(s.notify(s.fields[0], kind).delivered);
    s.settle();
    E2E_CHECK_EQ(GetFocus(), s.fields[0]);
    E2E_CHECK_EQ(GetForegroundWindow(), s.host.hwnd());

    // The focus is elsewhere: the keyboard itself puts it into the named field.
    E2E_REQUIRE(s.focus(s.fields[3]));
    E2E_CHECK(s.notify(s.fields[1], kind).delivered);
    E2E_CHECK_MSG(waitFor([&] { return GetFocus() == s.fields[1]; }, 2000),
                  "the focus did not move to the notified field");
    s.settle();
    E2E_CHECK_EQ(GetForegroundWindow(), s.host.hwnd());
  }
  E2E_CHECK(s.answers());
  s.terminate();
}

E2E_CASE(terminate_ends_the_process_without_hides) {
  Session s(t);
  E2E_REQUIRE(s.start());
  // A pad on screen (if the keyboard shows one) goes away with the process, without a notice.
  E2E_REQUIRE(s.focus(s.fields[0]));
  E2E_CHECK(s.notify(s.fields[0], kDecimalField).delivered);
  s.settle();
  const HWND messageWindow = s.keyboardWindow;

  E2E_REQUIRE(s.terminate(2000));
  E2E_CHECK_MSG(!IsWindow(messageWindow), "the message window still exists");
  E2E_CHECK(s.visibleWindows().empty());
  pumpMessages();
  E2E_CHECK_EQ(s.host.count(messages().touchKeyboardHides), 0);
}

// WM_COPYDATA that is no notify request changes nothing: no focus change, no pad.
E2E_CASE(copydata_with_another_tag_is_ignored) {
  Session s(t);
  E2E_REQUIRE(s.start());
  const NotifyRecord record = makeNotifyRecord(306, 0, "0", "100");
  const ULONG_PTR otherTags[] = {0, messages().hideKeyboard, messages().notifyKeyboard + 1000};
  for (ULONG_PTR tag : otherTags) {
    t.note("dwData " + std::to_string(static_cast<unsigned long long>(tag)));
    E2E_REQUIRE(s.focus(s.fields[0]));
    E2E_CHECK(sendCopyData(s.keyboardWindow, s.fields[1], tag, &record, sizeof record).delivered);
    s.settle();
    E2E_CHECK_EQ(GetFocus(), s.fields[0]);
    E2E_CHECK(s.visibleWindows().empty());
    E2E_CHECK(s.answers());
  }
  s.terminate();
}

// A notify request with too little data must not bring the keyboard down.
E2E_CASE(short_notify_payload_is_survived) {
  Session s(t);
  E2E_REQUIRE(s.start());
  const NotifyRecord record = makeNotifyRecord(306, 0, "0", "100");
  E2E_REQUIRE(s.focus(s.fields[0]));

  t.note("8 bytes");
  E2E_CHECK(sendCopyData(s.keyboardWindow, s.fields[0], messages().notifyKeyboard, &record, 8)
                .delivered);
  E2E_CHECK_MSG(s.answers(), "the keyboard stopped answering after an 8-byte notify");

  t.note("no data at all");
  E2E_CHECK(sendCopyData(s.keyboardWindow, s.fields[0], messages().notifyKeyboard, nullptr, 0)
                .delivered);
  E2E_CHECK_MSG(s.answers(), "the keyboard stopped answering after an empty notify");

  // A proper request afterwards is still served.
  E2E_REQUIRE(s.focus(s.fields[3]));
  E2E_CHECK(s.notify(s.fields[1], kDecimalField).delivered);
  E2E_CHECK(waitFor([&] { return GetFocus() == s.fields[1]; }, 2000));
  s.terminate();
}
