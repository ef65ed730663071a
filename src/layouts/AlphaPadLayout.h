#pragma once
#include "layouts/LayoutTypes.h"
namespace pmx {
const PadDef& alphaPadLayout();
}
