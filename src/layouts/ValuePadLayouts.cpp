#include "layouts/ValuePadLayouts.h"
namespace pmx {
namespace {
constexpr ControlDef kKeys[] = {
    {ControlKind::Container, ControlArray::PicKeys, 0, 0, 600, 3600, 3000, "", "", "", 0, false, 0,
     kColorPadBack, Pictogram::None, true, false},
};
constexpr PadDef kNum{"FNumPad", 3600, 3600, 3945, 3825, kColorPadBack, kKeys, 1};
constexpr PadDef kHex{"FHexPad", 3600, 4200, 3945, 3825, kColorPadBack, kKeys, 1};
constexpr PadDef kBin{"FBinPad", 5400, 3000, 3945, 3825, kColorPadBack, kKeys, 1};
}  // namespace
const PadDef& numPadLayout() { return kNum; }
const PadDef& hexPadLayout() { return kHex; }
const PadDef& binPadLayout() { return kBin; }
}  // namespace pmx
