#include "controls/Keystrokes.h"
namespace pmx {
KeystrokeParse parseKeystrokes(const std::string&) { return {}; }
void sendKeystrokes(KeyInjector&, const std::string&) {}
}  // namespace pmx
