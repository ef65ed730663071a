// The pad manager: which pad is on screen, where it goes, and the operations on all pads.
#pragma once

#include <array>
#include <memory>

#include "common/MPMXTouchKeyBoard.h"
#include "pad_manager/Placement.h"

namespace pmx {

class Pad;

class PadManager {
 public:
  explicit PadManager(Context& context);
  ~PadManager();
  PadManager(const PadManager&) = delete;
  PadManager& operator=(const PadManager&) = delete;

  // The pad of a pad number (0 FNumPad, 1 FAlphaPad, 2 FHexPad, 3 FBinPad), created and loaded on
  // first reference; null for any other number.
  Pad* pad(int padNumber);
  // The pad object if it has been created, loaded or not; never creates one.
  Pad* existingPad(int padNumber) const;

  // Shows a pad for the host's field: hides the active pad, refreshes the limits, places and
  // shows it. Numbers outside 0 to 3 show nothing.
  void ShowPad(int padNumber);

  // The screen has changed under the pads (a monitor's size, orientation, DPI or work area; a
  // monitor added or removed): every pad on screen is laid out for the monitor it goes on and
  // placed again by the rule that placed it. Hidden pads are placed when they are shown.
  void ScreenChanged();

  // The all-pad operations visit FHexPad, FAlphaPad, FNumPad, FBinPad in this order.
  void HideAllPads();
  void LoadAllPads();
  void UnloadAllPads();
  void ChangeLanguageAllPads();
  // Has every loaded pad's window paint what changed since the last call.
  void syncWindows();

  // Maps the host language through the settings file, takes its character set and switches the
  // keyboard layout of this thread to it.
  void SetKeyboardLanguage();

  // The active form: the visible pad that was last shown or touched, or null.
  Pad* activeForm() const;
  void setActiveForm(Pad* pad) { activeForm_ = pad; }

 private:
  // Lays the pad out for the monitor it goes on and places it by its rule.
  void place(Pad& pad);

  Context& context_;
  std::array<std::unique_ptr<Pad>, 4> pads_;
  Pad* activeForm_ = nullptr;
};

}  // namespace pmx
