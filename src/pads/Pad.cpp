#include "pads/Pad.h"

#include "pad_manager/PadManager.h"
#include "pad_manager/ScalePad.h"

namespace pmx {

namespace {

Control controlFromDef(const ControlDef& def) {
  Control c;
  c.kind = def.kind;
  c.array = def.array;
  c.index = def.index;
  c.inPicKeys = def.inPicKeys;
  c.left = static_cast<float>(def.left);
  c.top = static_cast<float>(def.top);
  c.width = static_cast<float>(def.width);
  c.height = static_cast<float>(def.height);
  c.caption = def.caption != nullptr ? def.caption : "";
  c.tag = def.tag != nullptr ? def.tag : "";
  c.font.name = def.fontName != nullptr ? def.fontName : "";
  c.font.size = def.fontSize;
  c.font.bold = def.bold;
  c.font.charset = def.charset;
  c.backColor = def.backColor;
  c.picture = def.picture;
  c.visible = def.visible;
  return c;
}

bool contains(const Control& c, float x, float y, float originLeft, float originTop) {
  float l = originLeft + c.left;
  float t = originTop + c.top;
  return x >= l && x < l + c.width && y >= t && y < t + c.height;
}

}  // namespace

Pad::Pad(Context& context, const PadDef& layout) : context_(context), layout_(layout) {}

Pad::~Pad() = default;

void Pad::Load() {
  if (loaded()) return;
  NativeWindowFactory& factory = context_.platform.windows;
  frameWidth_ = factory.frameWidthTwips();
  frameHeight_ = factory.frameHeightTwips();
  controls_.clear();
  controls_.reserve(layout_.controlCount);
  for (std::size_t i = 0; i < layout_.controlCount; ++i) {
    controls_.push_back(controlFromDef(layout_.controls[i]));
  }
  // The frame is equally wide on all four sides; the layout places the client area.
  width_ = static_cast<float>(layout_.clientWidth) + frameWidth_;
  height_ = static_cast<float>(layout_.clientHeight) + frameHeight_;
  left_ = static_cast<float>(layout_.designLeft) - frameWidth_ / 2;
  top_ = static_cast<float>(layout_.designTop) - frameHeight_ / 2;
  pressed_ = nullptr;
  window_ = factory.createPadWindow(*this, *this);
  pushBounds();
  Form_Load();
}

void Pad::Unload() {
  if (!loaded()) return;
  pressed_ = nullptr;
  window_.reset();
  controls_.clear();
}

void Pad::Show() {
  Load();
  window_->show();
}

void Pad::Hide() {
  Load();
  window_->hide();
}

bool Pad::Visible() const { return window_ != nullptr && window_->visible(); }

void Pad::Move(float left, float top) {
  left_ = left;
  top_ = top;
  pushBounds();
}

void Pad::SetWidth(float width) {
  width_ = width;
  pushBounds();
}

void Pad::SetHeight(float height) {
  height_ = height;
  pushBounds();
}

Control* Pad::find(ControlArray array, int index) {
  for (Control& c : controls_) {
    if (c.array == array && c.index == index) return &c;
  }
  return nullptr;
}

const Control* Pad::find(ControlArray array, int index) const {
  return const_cast<Pad*>(this)->find(array, index);
}

float Pad::originLeft(const Control& control) const {
  if (!control.inPicKeys) return 0;
  const Control* keys = find(ControlArray::PicKeys);
  return keys != nullptr ? keys->left : 0;
}

float Pad::originTop(const Control& control) const {
  if (!control.inPicKeys) return 0;
  const Control* keys = find(ControlArray::PicKeys);
  return keys != nullptr ? keys->top : 0;
}

Control* Pad::keyAt(float x, float y) {
  const Control* keys = find(ControlArray::PicKeys);
  // Later controls are drawn on top of earlier ones, so they are hit first.
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    Control& c = *it;
    if (!c.isKey() || !c.visible) continue;
    if (c.inPicKeys) {
      if (keys == nullptr || !keys->visible) continue;
      if (!contains(*keys, x, y, 0, 0)) continue;
    }
    if (contains(c, x, y, originLeft(c), originTop(c))) return &c;
  }
  return nullptr;
}

void Pad::Touch(ControlArray array, int index) {
  // The handler may hide or even unload this pad (a host request that arrives while the pad
  // notifies the host): nothing of the pad is used after it.
  switch (array) {
    case ControlArray::Move:
      keyMoveTouch(index);
      break;
    case ControlArray::Close:
      keyCloseTouch();
      break;
    case ControlArray::PadSwitch:
      keyPadTouch();
      break;
    default:
      onTouch(array, index);
      break;
  }
}

void Pad::pointerDown(float x, float y) {
  context_.pads.setActiveForm(this);
  if (pressed_ != nullptr) pressed_->pressed = false;
  pressed_ = keyAt(x, y);
  if (pressed_ != nullptr) pressed_->pressed = true;
  repaint();
}

void Pad::pointerUp(float x, float y) {
  if (pressed_ == nullptr) return;
  Control* key = pressed_;
  pressed_ = nullptr;
  key->pressed = false;
  repaint();
  if (keyAt(x, y) != key) return;  // released outside the key: no touch
  Touch(key->array, key->index);
}

void Pad::pointerCancel() {
  if (pressed_ == nullptr) return;
  pressed_->pressed = false;
  pressed_ = nullptr;
  repaint();
}

void Pad::Form_Load() { ScalePad(*this, context_.values.keySizeFactor); }

void Pad::makeTopmost() {
  if (window_ != nullptr) window_->makeTopmost();
}

void Pad::keyMoveTouch(int index) {
  Screen& screen = context_.platform.screen;
  float sw = screen.widthTwips();
  float sh = screen.heightTwips();
  switch (index) {
    case 0:
      Move(0, 0);
      break;
    case 1:
      Move(sw - width_, 0);
      break;
    case 2:
      Move(0, sh - height_);
      break;
    case 3:
      Move(sw - width_, sh - height_);
      break;
    default:
      break;
  }
  context_.platform.host.setFocus(context_.values.targetWindow);
}

void Pad::keyCloseTouch() {
  Hide();
  context_.platform.host.setFocus(context_.values.targetWindow);
  notifyHostHidden();
}

void Pad::keyPadTouch() {
  context_.pads.ShowPad(switchPadNumber());
  context_.platform.host.setFocus(context_.values.targetWindow);
}

void Pad::notifyHostHidden() {
  const ModuleValues& v = context_.values;
  context_.platform.host.sendMessage(v.controllerWindow, v.msg.touchKeyboardHides, 0, 0);
}

bool Pad::showLimitTexts() {
  const ModuleValues& v = context_.values;
  Control* labelMax = find(ControlArray::LabelLimits, 0);
  Control* labelMin = find(ControlArray::LabelLimits, 1);
  Control* limitMax = find(ControlArray::LimitMax);
  Control* limitMin = find(ControlArray::LimitMin);
  if (labelMax == nullptr || labelMin == nullptr || limitMax == nullptr || limitMin == nullptr) {
    return false;
  }
  const bool show = v.showLimits != kFalse;
  // The host writes its limits in the system's ANSI code page.
  limitMin->caption = v.limitMinText;
  limitMin->systemText = true;
  limitMax->caption = v.limitMaxText;
  limitMax->systemText = true;
  limitMax->visible = show && !v.limitMaxText.empty();
  labelMax->visible = limitMax->visible;
  limitMin->visible = show && !v.limitMinText.empty();
  labelMin->visible = limitMin->visible;
  return true;
}

void Pad::pushBounds() {
  if (window_ != nullptr) window_->setOuterBounds(left_, top_, width_, height_);
}

void Pad::repaint() {
  if (window_ != nullptr) window_->repaint();
}

}  // namespace pmx
