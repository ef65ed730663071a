#pragma once
#include "layouts/LayoutTypes.h"
namespace pmx {
const PadDef& alphaPadLayout();
constexpr const char* kMessageWindowTitle = "_QDTouchKeyboard_";
constexpr float kMessageWindowClientWidth = 3210;
constexpr float kMessageWindowClientHeight = 1170;
}
