// The alphanumeric pad and the hidden message window as constant data.
#pragma once

#include <cstdint>

#include "layouts/LayoutTypes.h"

namespace pmx {

const PadDef& alphaPadLayout();

// FPMXTouchKeyboard: the never-shown window that owns the handle the host sends its requests to.
// The host finds it by this title.
constexpr const char* kMessageWindowTitle = "_QDTouchKeyboard_";
constexpr std::int32_t kMessageWindowClientWidth = 3210;   // twips
constexpr std::int32_t kMessageWindowClientHeight = 1170;  // twips

}  // namespace pmx
