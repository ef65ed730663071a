// Sizing a pad by the key-size factor.
#pragma once

namespace pmx {

class Pad;

// Multiplies the geometry and font size of every control of a freshly created pad, and its client
// area, by k (the frame keeps its size), then makes the pad a topmost window. Runs once per
// creation: it scales whatever it finds.
void ScalePad(Pad& pad, float k);

}  // namespace pmx
