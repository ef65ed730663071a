// The full alphanumeric keyboard (FAlphaPad) with sticky Shift, Shift lock, Ctrl, Alt and Alt Gr.
#pragma once

#include <cstdint>

#include "pads/Pad.h"

namespace pmx {

class AlphaPad : public Pad {
 public:
  explicit AlphaPad(Context& context);

  void CheckLimits() override;
  void ChangeLanguage() override;

  // The modifier state belongs to the pad object: it survives hiding and reloading the window.
  struct Modifiers {
    std::int16_t shiftLock = 0;
    std::int16_t shiftLatch = 0;
    std::int16_t ctrlLatch = 0;
    std::int16_t altLatch = 0;
    std::int16_t altGrLatch = 0;
    bool shift() const { return shiftLatch != 0 || shiftLock != 0; }
    bool ctrl() const { return ctrlLatch != 0 || altGrLatch != 0; }
    bool alt() const { return altLatch != 0 || altGrLatch != 0; }
  };
  const Modifiers& modifiers() const { return modifiers_; }
  // A modifier key is on while it shows its flag red.
  ToggleState toggleState(const Control& key) const override;

 protected:
  void Form_Load() override;
  void onTouch(ControlArray array, int index) override;
  int switchPadNumber() const override;

 private:
  void keyStandardTouch(int index);
  void keyShiftTouch(int index);
  void keyExtraTouch(int index);
  void keyEndTouch(int index);
  void clearLatches();
  void ShowModifierState();
  // The flag a key of the Shift array shows, or null for the keys that show none.
  const std::int16_t* shownFlag(const Control& key) const;

  Modifiers modifiers_;
};

}  // namespace pmx
