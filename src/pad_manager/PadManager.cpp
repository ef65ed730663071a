#include "pad_manager/PadManager.h"

#include "common/HostProtocol.h"
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

void PadManager::place(Pad& pad) {
  const Pad::Rule& rule = pad.rule;
  if (rule.corner >= 0) {
    pad.moveToCorner(rule.corner);
    return;
  }
  Screen& screen = context_.platform.screen;
  const bool byField =
      rule.mode == kPlaceKeepClear || rule.mode == kPlaceNextToField || rule.mode == kPlaceCentred;
  // The monitor the pad is on matters where it may stay there.
  Monitor padMonitor;
  if (rule.mode != kPlaceNextToField && rule.mode != kPlaceCentred) {
    padMonitor = screen.monitorOf(pad.pixelBounds());
  }
  // The pad goes on the monitor that holds the field, or on the primary one without a field; a
  // pad that stays where it is stays on its own.
  PixelRect field;
  const bool isWindow = byField && context_.platform.host.windowRect(rule.field, field);
  const Monitor monitor = !byField   ? padMonitor
                          : isWindow ? screen.monitorOf(field)
                                     : screen.primary();
  pad.setMonitor(monitor);
  const MonitorArea area(monitor);
  PlacementInput in;
  in.setScreen(area);
  // Without a field window the field is the empty rectangle at 0, 0.
  if (isWindow) in.field = area.twips(field);
  in.padLeft = pad.Left();
  in.padTop = pad.Top();
  in.padWidth = pad.Width();
  in.padHeight = pad.Height();
  in.padOnScreen = sameMonitor(padMonitor, monitor);
  const Placement placement = placePad(rule.mode, in);
  if (placement.move) pad.Move(placement.left, placement.top);
}

void PadManager::ShowPad(int padNumber) {
  Pad* previous = activeForm();
  Pad* chosen = pad(padNumber);
  if (chosen == nullptr) return;
  if (previous != nullptr && previous != chosen) previous->Hide();

  chosen->CheckLimits();
  chosen->rule = {context_.values.touchPosition, context_.values.targetWindow, -1};
  place(*chosen);

  chosen->Show();
  activeForm_ = chosen;
}

void PadManager::ScreenChanged() {
  for (const std::unique_ptr<Pad>& p : pads_) {
    if (p && p->Visible()) place(*p);
  }
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
