#include <gtest/gtest.h>

#include "KeyboardRig.h"

namespace pmx {
namespace {

using test::kController;
using test::kField;
using test::kPreviousResult;

class HostLinkTest : public ::testing::Test, public test::KeyboardRig {};

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

// Without a live controller window (one that no longer exists, or one whose process ends as it is
// watched) the keyboard has no host: it opens and sends nothing, and says why. A host whose process
// cannot be watched is served all the same.
TEST_F(HostLinkTest, StartsOnlyWithALiveController) {
  for (HostWatch watch : {HostWatch::Gone, HostWatch::Refused}) {
    test::KeyboardRig rig;
    rig.fake.trace.switchOn();
    rig.fake.host.watch = watch;
    const bool served = watch == HostWatch::Refused;
    EXPECT_EQ(rig.keyboard.Main("/Controller:4660 /Thread:567", ""), served);
    EXPECT_EQ(rig.fake.host.messageWindowsOpened + rig.fake.host.sent.size() +
                  rig.fake.host.attachments.size(),
              served ? 3u : 0u);
    EXPECT_EQ(rig.fake.trace.lines.at(1),
              served ? "watch: the host's process cannot be watched; only the terminate request "
                       "ends the keyboard"
                     : "end: no live controller window (controller 0x1234)");
  }
  EXPECT_FALSE(keyboard.Main("/Controller:4661", ""));  // no such window
  EXPECT_EQ(fake.host.messageWindowsOpened, 0);
}

// The terminate request, a polite close, the end of the session and the end of the host's process
// end the keyboard alike; a message window destroyed any other way takes the pads with it.
// Nothing comes back afterwards, and nothing more is sent to the host.
TEST_F(HostLinkTest, EveryWayToTheEndClosesEverything) {
  struct Row {
    const char* request;  // or a window message, or with neither the host's process ended:
    std::uint32_t message;
    std::uintptr_t wParam;
    bool answered;  // with 0, not passed on
  };
  for (const Row& row :
       {Row{"QDM32_1_TERMINATEKEYBOARD", 0, 0, true}, Row{"", 0x0010, 0, true},
        Row{"", 0x0016, 1, true}, Row{"", 0x0002, 0, false}, Row{"", 0, 0, true}}) {
    SCOPED_TRACE(row.message);
    test::KeyboardRig rig;
    rig.fake.trace.switchOn();
    rig.start();
    rig.notify(kField, 265, 0);
    ASSERT_TRUE(rig.shown(kPadAlpha));
    rig.fake.host.passedOn.clear();
    const std::uint32_t message = *row.request != '\0' ? rig.id(row.request) : row.message;
    if (message == 0) {
      rig.keyboard.HostGone();
      EXPECT_EQ(rig.fake.trace.lines.back(),
                "end: the host's process has ended (controller 0x1234)");
      rig.keyboard.HostGone();  // told twice: nothing more happens
    } else {
      EXPECT_EQ(
          rig.keyboard.KeyboardWindowProc(rig.fake.host.messageWindow, message, row.wParam, 0),
          row.answered ? 0 : kPreviousResult);
    }
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
    rig.keyboard.HostGone();
    EXPECT_EQ(rig.fake.host.sent.size(), 1u);  // only the announcement, ever
  }
  // The session goes on when it is only asked whether it may end, or ends without us.
  start();
  notify(kField, 265, 0);
  request("QDM32_1_HIDEKEYBOARD");
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
    EXPECT_EQ(request(name, 7, 0x3F800000), kPreviousResult) << name;
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
  request("QDM32_1_TOUCHPOSITION", 99, -1);
  EXPECT_EQ(keyboard.values().touchPosition, -1);
  request("QDM32_1_TOUCHSHOWLIMITS", 0, 2);
  EXPECT_EQ(keyboard.values().showLimits, kTrue);
  request("QDM32_1_TOUCHSHOWLIMITS", 5, 0);
  EXPECT_EQ(keyboard.values().showLimits, kFalse);
  request("QDM32_1_TOUCHKEYSIZE", 0, 0x3FC00000);
  EXPECT_EQ(keyboard.values().keySizeFactor, 1.5f);
  const int created = fake.windows.created;
  for (std::uint32_t bits :
       {0x7FC00000u, 0x7F800000u, 0x00000000u, 0xBF800000u, 0x00000001u, 0x42C80000u /* 100 */}) {
    request("QDM32_1_TOUCHKEYSIZE", 0, static_cast<std::intptr_t>(static_cast<std::int32_t>(bits)));
    EXPECT_EQ(keyboard.values().keySizeFactor, 1.5f) << std::hex << bits;
  }
  EXPECT_EQ(fake.windows.created, created);
  for (const auto& [bits, factor] :
       {std::pair{0x3DCCCCCD, 0.1f}, std::pair{0x41200000, 10.0f}, std::pair{0x3F800000, 1.0f}}) {
    request("QDM32_1_TOUCHKEYSIZE", 0, bits);
    EXPECT_EQ(keyboard.values().keySizeFactor, factor);
  }
  EXPECT_EQ(fake.windows.created, created + 3 * 4);  // each usable size reloads the four pads
  request("QDM1_LANGUAGE", 1031, 55);
  EXPECT_EQ(keyboard.values().languageId, 1031);
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

}  // namespace
}  // namespace pmx
