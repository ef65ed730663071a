// A pad: one top-level window with a fixed layout of keys and labels.
//
// The pad object lives for the whole run; loading creates its window and controls from the
// layout, unloading destroys them. Geometry is kept in twips; the native window converts.
#pragma once

#include <memory>
#include <vector>

#include "common/MPMXTouchKeyBoard.h"
#include "controls/Control.h"
#include "layouts/LayoutTypes.h"
#include "pads/Accessible.h"
#include "pad_manager/Placement.h"
#include "platform/Platform.h"

namespace pmx {

class Pad : public PadWindowEvents {
 public:
  Pad(Context& context, const PadDef& layout);
  ~Pad() override;
  Pad(const Pad&) = delete;
  Pad& operator=(const Pad&) = delete;

  const char* name() const { return layout_.name; }
  const PadDef& layout() const { return layout_; }

  bool loaded() const { return window_ != nullptr; }
  // Creates the window and the controls from the layout and runs Form_Load. No-op when loaded,
  // and once the keyboard has ended: nothing of it comes back then.
  void Load();
  // Destroys the window and the controls. No-op when not loaded.
  void Unload();

  void Show();  // without activating; loads first if needed
  void Hide();  // loads first if needed, as every reference to a pad does
  bool Visible() const;

  // The outer window, frame included, in twips.
  float Left() const { return left_; }
  float Top() const { return top_; }
  float Width() const { return width_; }
  float Height() const { return height_; }
  void Move(float left, float top);
  void SetWidth(float width);
  void SetHeight(float height);
  float ScaleWidth() const { return width_ - frameWidth_; }     // client width
  float ScaleHeight() const { return height_ - frameHeight_; }  // client height

  // Puts the window into the topmost band without moving, sizing or activating it.
  void makeTopmost();

  // The monitor the pad is laid out for: its twips are that monitor's, its frame is as wide as
  // at that monitor's DPI. A pad is laid out for the primary monitor when it is loaded.
  const Monitor& monitor() const { return monitor_; }
  // Lays the pad out for another monitor, or for its monitor changed; it keeps its place in
  // pixels until it is moved.
  void setMonitor(const Monitor& monitor);
  // Where the window is now, in pixels.
  PixelRect pixelBounds() const;

  // How the pad was last placed, which places it again when the screen changes under it: by a
  // placement mode for a field, or into a corner by a move key (none: -1).
  struct Rule {
    std::int32_t mode = 0;
    WindowHandle field = 0;
    int corner = -1;
  };
  Rule rule;
  // Into a corner (0 upper left, 1 upper right, 2 lower left, 3 lower right) of the monitor it is
  // on, or of the monitor nearest to it. False for any other index: nothing moves.
  bool moveToCorner(int corner);

  std::vector<Control>& controls() { return controls_; }
  const std::vector<Control>& controls() const { return controls_; }
  // The control of an array and index (index 0 for single controls), or null.
  Control* find(ControlArray array, int index = 0);
  const Control* find(ControlArray array, int index = 0) const;
  // The key container of a value pad, or null.
  Control* picKeys() { return find(ControlArray::PicKeys); }

  // The client-area origin of a control's container, in twips.
  float originLeft(const Control& control) const;
  float originTop(const Control& control) const;
  // Whether the window draws the control: it is visible, and so is its container.
  bool drawn(const Control& control) const;
  // The topmost control drawn at a point of the client area (later controls lie on top of earlier
  // ones), or null. What a touch there hits is what the user sees there.
  const Control* controlAt(float x, float y) const;
  // The key under a point of the client area, or null when none is drawn on top there.
  Control* keyAt(float x, float y);

  // Has the window paint anew whatever changed on screen since the last call: the old and the new
  // place of every control whose look or place changed. (Where the window grows, the system has
  // it painted anyway.) Every change to the controls or the window ends in one of these calls, so
  // what is painted is what is hit.
  void syncWindow();

  // The public methods every pad offers.
  virtual void CheckLimits() = 0;
  virtual void ChangeLanguage() = 0;

  // Raises Touch for a key, as a release of a touch inside it does.
  void Touch(ControlArray array, int index);

  // Contacts from the native window, each a touch of its own: it holds the key it lands on, and
  // the key shows pressed while a contact holding it is over it. It raises Touch once when it
  // lifts over that key; lifted elsewhere or cancelled, it touches nothing. A contact that lands
  // on nothing, or arrives while the pad is hidden, touches nothing either. Hiding or unloading
  // the pad ends every contact on it without a touch.
  void contactDown(ContactId id, float x, float y) override;
  void contactMove(ContactId id, float x, float y) override;
  void contactUp(ContactId id, float x, float y) override;
  void contactCancel(ContactId id) override;
  // The pads on screen are placed again, laid out for their monitors as they are now.
  void dpiChanged() override;

  // The pad as assistive technology sees it (pads/Accessible.cpp).
  AccessibleTree accessibleTree();
  // Touches a key of the tree as a finger does, at the middle of where it is seen; false when the
  // pad shows no such key.
  bool invokeAccessible(ControlArray array, int index);
  // The state a key keeps between touches, as the key shows it.
  virtual ToggleState toggleState(const Control& key) const;

 protected:
  // Runs once each time the window is created: scales the pad.
  virtual void Form_Load();
  // The Touch handlers of the pad's own keys; the window keys (move, close, pad switch) are the
  // same on every pad and handled here.
  virtual void onTouch(ControlArray array, int index) = 0;
  // The pad that the pad-switch key shows.
  virtual int switchPadNumber() const = 0;

  // Shared handlers of every pad.
  void keyMoveTouch(int index);
  void keyCloseTouch();
  void keyPadTouch();
  // Tells the host that the pad went away by the user's touch; nothing once the keyboard ended.
  void notifyHostHidden();
  // Puts the host's limit texts on the limit labels and shows each row whose text is not empty
  // while the limit display is on. False when the pad has no limit block.
  bool showLimitTexts();

  Context& context_;

 private:
  // The contacts that hold a key of this pad, each with the index of its control.
  struct Contact {
    ContactId id;
    std::size_t key;
    bool over;  // the contact is over its key now
  };

  void pushBounds();
  // The frame's twips at the DPI of the pad's monitor.
  void setFrame();
  std::vector<Contact>::iterator findContact(ContactId id);
  // Drops a contact without a touch; false when there is none of this id.
  bool dropContact(ContactId id);
  void dropAllContacts();
  // Sets each key's pressed state from the contacts over it.
  void showHeldKeys();

  const PadDef& layout_;
  std::unique_ptr<NativeWindow> window_;
  std::vector<Control> controls_;
  float left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  float frameWidth_ = 0, frameHeight_ = 0;
  Monitor monitor_;
  std::vector<Contact> contacts_;
  // The controls as the window was last told to show them.
  std::vector<Control> shown_;
  unsigned loads_ = 0;
  // The titles of this pad and of the pad its pad key shows, read once a load when first asked.
  std::string title_, switchTitle_;
};

}  // namespace pmx
