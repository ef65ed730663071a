#include "layouts/AlphaPadLayout.h"
namespace pmx {
namespace {
constexpr PadDef kAlpha{"FAlphaPad", 9000, 4200, 45, 45, kColorPadBack, nullptr, 0};
}
const PadDef& alphaPadLayout() { return kAlpha; }
}  // namespace pmx
