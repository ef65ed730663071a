#include "pad_manager/PadManager.h"

#include "common/HostProtocol.h"
#include "common/Rounding.h"
#include "layouts/ValuePadLayouts.h"
#include "pad_manager/Language.h"
#include "pads/AlphaPad.h"
#include "pads/ValuePad.h"

namespace pmx {

namespace {

// The order in which the all-pad operations visit the pads.
constexpr int kAllPadsOrder[] = {kPadHex, kPadAlpha, kPadNum, kPadBin};

}  // namespace

PadManager::PadManager(Context& context) : context_(context) {}

PadManager::~PadManager() = default;

Pad* PadManager::existingPad(int padNumber) const {
  if (padNumber < 0 || padNumber >= static_cast<int>(pads_.size())) return nullptr;
  return pads_[static_cast<std::size_t>(padNumber)].get();
}

Pad* PadManager::pad(int padNumber) {
  if (padNumber < 0 || padNumber >= static_cast<int>(pads_.size())) return nullptr;
  std::unique_ptr<Pad>& slot = pads_[static_cast<std::size_t>(padNumber)];
  if (!slot) {
    switch (padNumber) {
      case kPadNum:
        slot = std::make_unique<ValuePad>(context_, numPadLayout());
        break;
      case kPadHex:
        slot = std::make_unique<ValuePad>(context_, hexPadLayout());
        break;
      case kPadBin:
        slot = std::make_unique<ValuePad>(context_, binPadLayout());
        break;
      default:
        slot = std::make_unique<AlphaPad>(context_);
        break;
    }
  }
  slot->Load();
  return slot.get();
}

Pad* PadManager::activeForm() const {
  if (activeForm_ == nullptr || !activeForm_->Visible()) return nullptr;
  return activeForm_;
}

bool PadManager::fieldRect(TwipRect& rect) {
  PixelRect px;
  const bool isWindow = context_.platform.host.windowRect(context_.values.targetWindow, px);
  Screen& screen = context_.platform.screen;
  const double tx = screen.twipsPerPixelX();
  const double ty = screen.twipsPerPixelY();
  rect.left = roundHalfEven(px.left * tx);
  rect.top = roundHalfEven(px.top * ty);
  rect.right = roundHalfEven(px.right * tx);
  rect.bottom = roundHalfEven(px.bottom * ty);
  return isWindow;
}

void PadManager::ShowPad(int padNumber) {
  Pad* previous = activeForm();
  Pad* chosen = pad(padNumber);
  if (chosen == nullptr) return;
  if (previous != nullptr && previous != chosen) previous->Hide();

  chosen->CheckLimits();

  Screen& screen = context_.platform.screen;
  const std::int32_t mode = context_.values.touchPosition;
  PlacementInput in;
  in.padLeft = chosen->Left();
  in.padTop = chosen->Top();
  in.padWidth = chosen->Width();
  in.padHeight = chosen->Height();
  in.pixelX = screen.twipsPerPixelX();
  in.pixelY = screen.twipsPerPixelY();
  // The pad goes on the monitor that holds the field, or on the primary one without a field.
  const MonitorArea monitor =
      fieldRect(in.field) ? screen.monitorOf(in.field) : primaryMonitor(screen);
  in.screenLeft = monitor.left;
  in.screenTop = monitor.top;
  in.screenWidth = monitor.width;
  in.screenHeight = monitor.height;
  if (mode == kPlaceKeepClear) {
    in.padOnScreen =
        screen.monitorOf(outerRect(in.padLeft, in.padTop, in.padWidth, in.padHeight)) == monitor;
  }
  Placement placement = placePad(mode, in);
  if (placement.move) chosen->Move(placement.left, placement.top);

  chosen->Show();
  activeForm_ = chosen;
}

void PadManager::HideAllPads() {
  for (int n : kAllPadsOrder) pad(n)->Hide();
}

void PadManager::LoadAllPads() {
  for (int n : kAllPadsOrder) pad(n);
}

void PadManager::UnloadAllPads() {
  for (int n : kAllPadsOrder) {
    if (Pad* p = existingPad(n)) p->Unload();
  }
}

void PadManager::ChangeLanguageAllPads() {
  for (int n : kAllPadsOrder) pad(n)->ChangeLanguage();
}

void PadManager::syncWindows() {
  for (const std::unique_ptr<Pad>& p : pads_) {
    if (p) p->syncWindow();
  }
}

void PadManager::SetKeyboardLanguage() { pmx::SetKeyboardLanguage(context_); }

}  // namespace pmx
