#pragma once
#include "platform/Platform.h"
namespace pmx::win32 {
class Win32KeyInjector : public KeyInjector {
 public:
  void sendKeys(const std::vector<KeyStroke>&) override {}
  void keyEvent(std::uint8_t, bool) override {}
};
}  // namespace pmx::win32
