// The native pad windows: topmost, no title bar, a thin frame, never activated, painted with GDI.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/Platform.h"

namespace pmx::win32 {

class PadWindowFactory : public NativeWindowFactory {
 public:
  PadWindowFactory() = default;
  PadWindowFactory(const PadWindowFactory&) = delete;
  PadWindowFactory& operator=(const PadWindowFactory&) = delete;
  ~PadWindowFactory() override;  // destroys the windows kept for reuse

  std::int32_t frameWidth(std::int32_t dpi) override;
  std::int32_t frameHeight(std::int32_t dpi) override;
  std::unique_ptr<NativeWindow> createPadWindow(Pad& pad, PadWindowEvents& events) override;
};

// The window class name of a pad's window: "PMXTouchKeyboard." followed by the pad's name.
std::string padWindowClass(const char* padName);

// Makes the changes of place and size that the pad windows have gathered (and of z-order, for
// those on screen). Called at the end of every host request and of every pointer message.
void flushPadWindows();

// The pixels of a pad window's client area that the window paints a part of it (in twips) in, at
// the twips per pixel of the DPI the pad is laid out for.
RECT padClientPixels(float left, float top, float width, float height, float twipsPerPixel);
float twipsPerPixelAt(std::int32_t dpi);

// Destroys the windows of unloaded pads that are kept for reuse, keeps none from now on and lets
// go of the shared fonts, brushes and pens: the keyboard has ended.
void destroyParkedPadWindows();

}  // namespace pmx::win32
