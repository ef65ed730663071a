#include <gtest/gtest.h>

#include "KeyboardRig.h"

namespace pmx {
namespace {

using test::kController;
using test::kField;
using test::kPreviousResult;

class HostLinkTest : public ::testing::Test, public test::KeyboardRig {
 protected:
  std::intptr_t send(const char* name, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
    return request(name, wParam, lParam);
  }
};

TEST_F(HostLinkTest, StartUpRegistersTheProtocolAndAnnouncesTheWindowOnce) {
  start();
  ASSERT_EQ(fake.host.registered.size(), kMessageNames.size());
  for (std::size_t i = 0; i < kMessageNames.size(); ++i) {
    EXPECT_EQ(fake.host.registered[i], kMessageNames[i]);
  }
  const ModuleValues& v = keyboard.values();
  EXPECT_EQ(v.iniFile, "C:\\Panel\\QD4TouchKeyboard.ini");
  EXPECT_EQ(v.keySizeFactor, 1.0f);
  EXPECT_EQ(v.controllerWindow, kController);
  EXPECT_EQ(v.controllerThread, 567);

  ASSERT_EQ(fake.host.sent.size(), 1u);
  EXPECT_EQ(fake.host.sent[0].window, kController);
  EXPECT_EQ(fake.host.sent[0].message, id("QDM32_1_KEYBOARDHANDLE"));
  EXPECT_EQ(fake.host.sent[0].wParam, fake.host.messageWindow);
  EXPECT_EQ(fake.host.sent[0].lParam, 0);
  ASSERT_EQ(fake.host.attachments.size(), 1u);
  EXPECT_EQ(fake.host.attachments[0], std::make_pair(ThreadId{567}, true));

  // A second open changes and sends nothing.
  keyboard.hostLink().OpenHostLink();
  EXPECT_EQ(fake.host.messageWindowsOpened, 1);
  EXPECT_EQ(fake.host.sent.size(), 1u);
  EXPECT_EQ(fake.host.attachments.size(), 1u);
}

TEST_F(HostLinkTest, RequestSentWhileTheHostHandlesTheAnnouncementIsHandled) {
  fake.host.onSend = [&](const test::SentMessage& m) {
    if (m.message == id("QDM32_1_KEYBOARDHANDLE")) {
      keyboard.KeyboardWindowProc(m.wParam, id("QDM32_1_TOUCHPOSITION"), 0, 2);
    }
  };
  start();
  EXPECT_EQ(keyboard.values().touchPosition, 2);
}

// The terminate request, a polite close and the end of the session end the keyboard alike; a
// message window destroyed any other way takes the pads with it. Nothing comes back afterwards.
TEST_F(HostLinkTest, EveryWayToTheEndClosesEverything) {
  struct Row {
    const char* request;  // or a window message:
    std::uint32_t message;
    std::uintptr_t wParam;
    bool answered;  // with 0, not passed on
  };
  for (const Row& row : {Row{"QDM32_1_TERMINATEKEYBOARD", 0, 0, true}, Row{"", 0x0010, 0, true},
                         Row{"", 0x0016, 1, true}, Row{"", 0x0002, 0, false}}) {
    SCOPED_TRACE(row.message);
    test::KeyboardRig rig;
    rig.start();
    rig.notify(kField, 265, 0);
    ASSERT_TRUE(rig.shown(kPadAlpha));
    rig.fake.host.passedOn.clear();
    const std::uint32_t message = *row.request != '\0' ? rig.id(row.request) : row.message;
    EXPECT_EQ(rig.keyboard.KeyboardWindowProc(rig.fake.host.messageWindow, message, row.wParam, 0),
              row.answered ? 0 : kPreviousResult);
    EXPECT_EQ(rig.fake.host.passedOn.empty(), row.answered);
    EXPECT_EQ(rig.fake.host.messageWindow == 0, row.answered);  // closed by us, or going anyway
    EXPECT_FALSE(rig.keyboard.hostLink().linked());
    EXPECT_EQ(rig.fake.windows.alive(), 0);
    EXPECT_TRUE(rig.fake.host.loopEnded);
    EXPECT_EQ(rig.fake.host.attachments.back(), std::make_pair(ThreadId{567}, false));
    rig.notify(kField, 306, 0);
    rig.keyboard.pads().HideAllPads();
    rig.keyboard.hostLink().CloseHostLink();  // closing again does nothing
    EXPECT_EQ(rig.fake.windows.alive(), 0);
    EXPECT_EQ(rig.fake.host.attachments.size(), 2u);
    EXPECT_EQ(rig.fake.host.sent.size(), 1u);  // only the announcement, ever
  }
  // The session goes on when it is only asked whether it may end, or ends without us.
  start();
  notify(kField, 265, 0);
  send("QDM32_1_HIDEKEYBOARD");
  EXPECT_EQ(keyboard.KeyboardWindowProc(fake.host.messageWindow, 0x0016, 0, 0), kPreviousResult);
  EXPECT_TRUE(keyboard.hostLink().linked());
  EXPECT_EQ(fake.windows.alive(), 4);
}

TEST_F(HostLinkTest, EveryOtherMessageIsPassedOnAndItsResultReturned) {
  start();
  const char* requests[] = {"QDM32_1_HIDEKEYBOARD",  "QDM1_LANGUAGE",
                            "QDM32_1_TOUCHPOSITION", "QDM32_1_TOUCHSHOWLIMITS",
                            "QDM32_1_TOUCHKEYSIZE",  "QDM32_1_KEYBOARDHANDLE"};
  for (const char* name : requests) {
    fake.host.passedOn.clear();
    EXPECT_EQ(send(name, 7, 0x3F800000), kPreviousResult) << name;
    ASSERT_EQ(fake.host.passedOn.size(), 1u) << name;
    EXPECT_EQ(fake.host.passedOn[0].message, id(name));
    EXPECT_EQ(fake.host.passedOn[0].wParam, 7u);
  }
  fake.host.passedOn.clear();
  EXPECT_EQ(notify(kField, 265, 0), kPreviousResult);
  EXPECT_EQ(keyboard.KeyboardWindowProc(fake.host.messageWindow, 0x0111, 1, 2), kPreviousResult);
  EXPECT_EQ(fake.host.passedOn.size(), 2u);
}

// The settings requests are stored as sent; a key size that is no usable factor (NaN, infinity,
// zero, negative, tiny, huge) is ignored and reloads nothing, 0.1 and 10 are the ends.
TEST_F(HostLinkTest, SettingsRequestsAreStored) {
  start();
  send("QDM32_1_TOUCHPOSITION", 99, -1);
  EXPECT_EQ(keyboard.values().touchPosition, -1);
  send("QDM32_1_TOUCHSHOWLIMITS", 0, 2);
  EXPECT_EQ(keyboard.values().showLimits, kTrue);
  send("QDM32_1_TOUCHSHOWLIMITS", 5, 0);
  EXPECT_EQ(keyboard.values().showLimits, kFalse);
  send("QDM1_LANGUAGE", 1031, 55);
  EXPECT_EQ(keyboard.values().languageId, 1031);
  send("QDM32_1_TOUCHKEYSIZE", 0, 0x3FC00000);
  EXPECT_EQ(keyboard.values().keySizeFactor, 1.5f);
  const int created = fake.windows.created;
  for (std::uint32_t bits :
       {0x7FC00000u, 0x7F800000u, 0x00000000u, 0xBF800000u, 0x00000001u, 0x42C80000u /* 100 */}) {
    send("QDM32_1_TOUCHKEYSIZE", 0, static_cast<std::intptr_t>(static_cast<std::int32_t>(bits)));
    EXPECT_EQ(keyboard.values().keySizeFactor, 1.5f) << std::hex << bits;
  }
  EXPECT_EQ(fake.windows.created, created);
  for (const auto& [bits, factor] :
       {std::pair{0x3DCCCCCD, 0.1f}, std::pair{0x41200000, 10.0f}, std::pair{0x3F800000, 1.0f}}) {
    send("QDM32_1_TOUCHKEYSIZE", 0, bits);
    EXPECT_EQ(keyboard.values().keySizeFactor, factor);
  }
}

// A name whose registration failed has the id 0, which no message may match: not WM_NULL as a
// terminate request, not a WM_COPYDATA tagged 0 as a notify request.
TEST_F(HostLinkTest, AFailedRegistrationMatchesNothing) {
  for (const char* name : {"QDM32_1_TERMINATEKEYBOARD", "QDM32_1_NOTIFYKEYBOARD"}) {
    test::KeyboardRig rig;
    rig.fake.host.failingRegistration = name;
    rig.start();
    EXPECT_EQ(rig.keyboard.KeyboardWindowProc(rig.fake.host.messageWindow, 0, 0, 0),
              kPreviousResult);
    CopyData data{0, 0, nullptr};
    rig.keyboard.KeyboardWindowProc(rig.fake.host.messageWindow, kWmCopyData, kField,
                                    reinterpret_cast<std::intptr_t>(&data));
    EXPECT_TRUE(rig.keyboard.hostLink().linked()) << name;
    EXPECT_EQ(rig.fake.windows.created, 0) << name;
  }
}

TEST_F(HostLinkTest, HideBeforeAnyNotifyLoadsEveryPadHiddenAndTellsNobody) {
  start();
  send("QDM32_1_HIDEKEYBOARD");
  for (int n = 0; n < 4; ++n) {
    Pad* pad = keyboard.pads().existingPad(n);
    ASSERT_NE(pad, nullptr) << n;
    EXPECT_TRUE(pad->loaded());
    EXPECT_FALSE(pad->Visible());
  }
  EXPECT_EQ(fake.host.sent.size(), 1u);  // only the announcement
}

TEST_F(HostLinkTest, NotifyShowsTheChosenPadAndKeepsTheFocusInTheField) {
  start();
  notify(kField, 306, 2, "-8", "7F");
  EXPECT_EQ(keyboard.values().targetWindow, kField);
  EXPECT_EQ(keyboard.values().limitMinText, "-8");
  EXPECT_EQ(keyboard.values().limitMaxText, "7F");
  EXPECT_TRUE(shown(kPadHex));
  EXPECT_EQ(fake.host.focus, kField);

  // A value format that names no pad leaves the pad on screen, but takes the new field.
  constexpr WindowHandle kOther = 0x2100;
  fake.host.windows[kOther].rect = {0, 0, 10, 10};
  notify(kOther, 306, 4, "1", "2");
  EXPECT_TRUE(shown(kPadHex));
  EXPECT_EQ(keyboard.values().targetWindow, kOther);
  EXPECT_EQ(keyboard.values().limitMaxText, "2");
  EXPECT_EQ(fake.host.focus, kOther);

  notify(kField, 265, 0);
  EXPECT_TRUE(shown(kPadAlpha));
  EXPECT_FALSE(shown(kPadHex));  // the active pad was hidden
}

// A WM_COPYDATA that is no notify request, or has no structure, is passed on untouched; a short
// notify payload counts its missing bytes as zero.
TEST_F(HostLinkTest, CopyDataIsANotifyRequestOnlyWithItsTag) {
  start();
  CopyData data{id("QDM32_1_NOTIFYKEYBOARD") + 1, 4, "abc"};
  for (std::intptr_t lParam : {reinterpret_cast<std::intptr_t>(&data), std::intptr_t{0}}) {
    EXPECT_EQ(keyboard.KeyboardWindowProc(fake.host.messageWindow, kWmCopyData, kField, lParam),
              kPreviousResult);
    EXPECT_EQ(keyboard.values().targetWindow, 0u);
    EXPECT_EQ(fake.host.focus, 0u);
    EXPECT_EQ(fake.windows.created, 0);
  }
  notify(kField, 306, 1, "12345", "9", 8);  // fieldType, valueFormat and two bytes of limitMin
  EXPECT_TRUE(shown(kPadBin));
  EXPECT_EQ(keyboard.values().limitMinText, "12");
  EXPECT_EQ(keyboard.values().limitMaxText, "");
  notify(kField, 306, 1, "", "", 0);  // nothing at all: a field of type 0
  EXPECT_TRUE(shown(kPadAlpha));
  EXPECT_EQ(fake.host.focus, kField);
}

TEST_F(HostLinkTest, LanguageAndKeySizeReloadEveryPadAndHideTheOneOnScreen) {
  start();
  notify(kField, 306, 0);
  ASSERT_TRUE(shown(kPadNum));
  send("QDM1_LANGUAGE", 1031);
  for (int n = 0; n < 4; ++n) {
    EXPECT_TRUE(keyboard.pads().existingPad(n)->loaded());
    EXPECT_FALSE(shown(n));
  }
  EXPECT_EQ(fake.windows.alive(), 4);
  notify(kField, 306, 0);
  send("QDM32_1_TOUCHKEYSIZE", 0, 0x3FC00000);
  EXPECT_FALSE(shown(kPadNum));
  EXPECT_EQ(fake.windows.alive(), 4);
  EXPECT_EQ(fake.host.countSent(id("QDM32_1_TOUCHKEYBOARDHIDES")), 0);
}

}  // namespace
}  // namespace pmx
