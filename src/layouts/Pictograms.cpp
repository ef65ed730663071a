#include "layouts/Pictograms.h"
namespace pmx {
PictogramDrawing pictogramDrawing(Pictogram) { return {nullptr, 0}; }
}  // namespace pmx
