#include "pads/Pad.h"

#include <algorithm>

#include "common/Trace.h"
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
  if (loaded() || context_.values.ended) return;
  ++loads_;
  title_.clear();
  monitor_ = context_.platform.screen.primary();
  setFrame();
  // Unload left no controls and no contacts behind.
  controls_.reserve(layout_.controlCount);
  for (std::size_t i = 0; i < layout_.controlCount; ++i) {
    controls_.push_back(controlFromDef(layout_.controls[i]));
  }
  // The frame is equally wide on all four sides; the layout places the client area.
  width_ = static_cast<float>(layout_.clientWidth) + frameWidth_;
  height_ = static_cast<float>(layout_.clientHeight) + frameHeight_;
  left_ = static_cast<float>(layout_.designLeft) - frameWidth_ / 2;
  top_ = static_cast<float>(layout_.designTop) - frameHeight_ / 2;
  shown_.clear();
  window_ = context_.platform.windows.createPadWindow(*this, *this);
  pushBounds();
  Form_Load();
}

void Pad::Unload() {
  if (!loaded()) return;
  contacts_.clear();
  window_.reset();
  controls_.clear();
}

void Pad::Show() {
  Load();
  if (window_ != nullptr) window_->show();
}

void Pad::Hide() {
  Load();
  dropAllContacts();
  if (window_ != nullptr) window_->hide();
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

bool Pad::drawn(const Control& control) const {
  if (!control.visible) return false;
  if (!control.inPicKeys) return true;
  const Control* keys = find(ControlArray::PicKeys);
  return keys != nullptr && keys->visible;
}

const Control* Pad::controlAt(float x, float y) const {
  const Control* keys = find(ControlArray::PicKeys);
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    const Control& c = *it;
    if (!drawn(c)) continue;
    // The container clips what lies inside it.
    if (c.inPicKeys && !contains(*keys, x, y, 0, 0)) continue;
    if (contains(c, x, y, originLeft(c), originTop(c))) return &c;
  }
  return nullptr;
}

Control* Pad::keyAt(float x, float y) {
  const Control* c = controlAt(x, y);
  return c != nullptr && c->isKey() ? const_cast<Control*>(c) : nullptr;
}

void Pad::syncWindow() {
  if (window_ == nullptr) return;
  if (shown_.size() != controls_.size()) {
    // A new window: it is painted whole when it is shown.
    window_->invalidate(0, 0, ScaleWidth(), ScaleHeight());
  } else {
    // Old and new place of each changed control; a moved container covers all it holds.
    const Control* keys = find(ControlArray::PicKeys);
    const Control* shownKeys = nullptr;
    for (const Control& c : shown_) {
      if (c.array == ControlArray::PicKeys) shownKeys = &c;
    }
    bool changed = false;
    for (std::size_t i = 0; i < controls_.size(); ++i) {
      const Control& now = controls_[i];
      const Control& before = shown_[i];
      if (sameLook(now, before)) continue;
      changed = true;
      const auto invalidate = [this](const Control& c, const Control* container) {
        const float l = c.inPicKeys && container != nullptr ? container->left : 0;
        const float t = c.inPicKeys && container != nullptr ? container->top : 0;
        window_->invalidate(l + c.left, t + c.top, c.width, c.height);
      };
      invalidate(before, shownKeys);
      invalidate(now, keys);
    }
    if (!changed) return;
  }
  shown_ = controls_;
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

void Pad::contactDown(ContactId id, float x, float y) {
  // A second down without an up: the first one ends untouched.
  dropContact(id);
  // A contact that reaches a pad after it was hidden (it was queued before) touches nothing.
  if (!Visible()) return;
  context_.pads.setActiveForm(this);
  if (const Control* key = keyAt(x, y)) {
    contacts_.push_back(Contact{id, static_cast<std::size_t>(key - controls_.data()), true});
  }
  showHeldKeys();
  context_.pads.syncWindows();
}

void Pad::contactMove(ContactId id, float x, float y) {
  const auto it = findContact(id);
  if (it == contacts_.end()) return;
  const bool over = keyAt(x, y) == &controls_[it->key];
  if (over == it->over) return;
  it->over = over;
  showHeldKeys();
  context_.pads.syncWindows();
}

void Pad::contactUp(ContactId id, float x, float y) {
  const auto it = findContact(id);
  if (it == contacts_.end()) return;
  const Control& key = controls_[it->key];
  contacts_.erase(it);
  showHeldKeys();
  // Lifted off the key: no touch. The handler may hide or unload any pad, this one too.
  if (keyAt(x, y) == &key) Touch(key.array, key.index);
  context_.pads.syncWindows();
}

void Pad::contactCancel(ContactId id) {
  if (!dropContact(id)) return;
  context_.pads.syncWindows();
}

std::vector<Pad::Contact>::iterator Pad::findContact(ContactId id) {
  return std::find_if(contacts_.begin(), contacts_.end(),
                      [id](const Contact& c) { return c.id == id; });
}

bool Pad::dropContact(ContactId id) {
  const auto it = findContact(id);
  if (it == contacts_.end()) return false;
  contacts_.erase(it);
  showHeldKeys();
  return true;
}

void Pad::dropAllContacts() {
  contacts_.clear();
  showHeldKeys();
}

void Pad::showHeldKeys() {
  for (Control& c : controls_) c.pressed = false;
  for (const Contact& c : contacts_) {
    if (c.over) controls_[c.key].pressed = true;
  }
}

void Pad::Form_Load() { ScalePad(*this, context_.values.keySizeFactor); }

void Pad::makeTopmost() {
  if (window_ != nullptr) window_->makeTopmost();
}

void Pad::setFrame() {
  NativeWindowFactory& factory = context_.platform.windows;
  const MonitorArea area(monitor_);
  frameWidth_ = static_cast<float>(factory.frameWidth(monitor_.dpi)) * area.pixel;
  frameHeight_ = static_cast<float>(factory.frameHeight(monitor_.dpi)) * area.pixel;
}

PixelRect Pad::pixelBounds() const {
  return MonitorArea(monitor_).pixels(left_, top_, width_, height_);
}

void Pad::setMonitor(const Monitor& monitor) {
  if (sameMonitor(monitor, monitor_)) return;
  const PixelRect at = pixelBounds();
  const float clientWidth = ScaleWidth(), clientHeight = ScaleHeight();
  monitor_ = monitor;
  setFrame();
  const MonitorArea area(monitor_);
  left_ = area.twipsX(at.left);
  top_ = area.twipsY(at.top);
  width_ = clientWidth + frameWidth_;
  height_ = clientHeight + frameHeight_;
  pushBounds();
}

bool Pad::moveToCorner(int corner) {
  if (corner < 0 || corner > 3) return false;
  setMonitor(context_.platform.screen.monitorOf(pixelBounds()));
  const MonitorArea m(monitor_);
  const bool right = corner % 2 == 1, lower = corner >= 2;
  Move(right ? m.left + m.width - width_ : m.left, lower ? m.top + m.height - height_ : m.top);
  return true;
}

void Pad::keyMoveTouch(int index) {
  // Until the pad is placed for a field again, the screen changing under it keeps it there.
  if (moveToCorner(index)) rule.corner = index;
  context_.platform.host.setFocus(context_.values.targetWindow);
}

void Pad::dpiChanged() { context_.pads.ScreenChanged(); }

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
  if (v.ended) return;  // the host has let go of the keyboard
  Trace& trace = context_.platform.trace;
  if (trace.on()) trace.line(noticeTraceLine("QDM32_1_TOUCHKEYBOARDHIDES", v.controllerWindow, 0));
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
  if (window_ != nullptr) window_->setOuterBounds(pixelBounds(), monitor_.dpi);
}

}  // namespace pmx
