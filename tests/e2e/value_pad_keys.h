// Where the keys of the value pads are, at design size (twips inside the key container), as the
// tests expect them. Written down here on purpose, not taken from the product's tables: a key
// that moved is a fault these tests should see.
#pragma once

#include "Host.h"

namespace pad_keys {

using host_client::PadDesign;
using host_client::PadKey;

inline constexpr PadDesign kNumPad{3600, 3000};
inline constexpr PadDesign kHexPad{3600, 3600};
inline constexpr PadDesign kBinPad{5400, 2400};

namespace num {
inline constexpr PadKey kPad{"pad", 2400, 0, 600, 600};
inline constexpr PadKey k7{"7", 1200, 600, 600, 600};
inline constexpr PadKey k9{"9", 2400, 600, 600, 600};
inline constexpr PadKey kMinus{"-", 3000, 600, 600, 600};
inline constexpr PadKey kBackspace{"Backspace", 0, 1200, 600, 600};
inline constexpr PadKey kHome{"Pos1", 600, 1200, 600, 600};
inline constexpr PadKey k5{"5", 1800, 1200, 600, 600};
inline constexpr PadKey kEnter{"Enter", 3000, 1200, 600, 1800};
inline constexpr PadKey kDelete{"Entf", 0, 1800, 600, 600};
inline constexpr PadKey kEnd{"Ende", 600, 1800, 600, 600};
inline constexpr PadKey k1{"1", 1200, 1800, 600, 600};
inline constexpr PadKey k3{"3", 2400, 1800, 600, 600};
inline constexpr PadKey kLeft{"left", 0, 2400, 600, 600};
inline constexpr PadKey kRight{"right", 600, 2400, 600, 600};
inline constexpr PadKey k0{"0", 1200, 2400, 1200, 600};
inline constexpr PadKey kPoint{".", 2400, 2400, 600, 600};
}  // namespace num

namespace hex {
inline constexpr PadKey kClose{"close", 3000, 0, 600, 600};
inline constexpr PadKey kA{"A", 0, 600, 600, 600};
inline constexpr PadKey kF{"F", 3000, 600, 600, 600};
inline constexpr PadKey kEsc{"Esc", 0, 1200, 1200, 600};
inline constexpr PadKey k9{"9", 2400, 1200, 600, 600};
inline constexpr PadKey k0{"0", 1200, 3000, 1200, 600};
}  // namespace hex

namespace bin {
inline constexpr PadKey kBit15{"bit 15", 0, 600, 600, 600};
inline constexpr PadKey kBit8{"bit 8", 4200, 600, 600, 600};
inline constexpr PadKey kBit3{"bit 3", 2400, 1200, 600, 600};
inline constexpr PadKey kBit0{"bit 0", 4200, 1200, 600, 600};
inline constexpr PadKey k1{"1", 3600, 1800, 1200, 600};
}  // namespace bin

}  // namespace pad_keys
