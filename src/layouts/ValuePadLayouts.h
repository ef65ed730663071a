// The decimal, hexadecimal and binary pads as constant data.
#pragma once

#include "layouts/LayoutTypes.h"

namespace pmx {

const PadDef& numPadLayout();
const PadDef& hexPadLayout();
const PadDef& binPadLayout();

}  // namespace pmx
