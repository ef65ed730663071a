#include "pad_manager/ScalePad.h"

#include "pads/Pad.h"

namespace pmx {

void ScalePad(Pad& pad, float k) {
  for (Control& c : pad.controls()) {
    float left = c.left * k;
    float top = c.top * k;
    float width = c.width * k;
    float height = c.height * k;
    c.moveResize(left, top, width, height);
    c.font.size = c.font.size * k;
  }
  float clientWidth = pad.ScaleWidth();
  pad.SetWidth(pad.Width() - clientWidth + clientWidth * k);
  float clientHeight = pad.ScaleHeight();
  pad.SetHeight(pad.Height() - clientHeight + clientHeight * k);
  pad.makeTopmost();
}

}  // namespace pmx
