#pragma once
// The popup menu: a list of items shown in a small window of its own at a screen
// point, run modally until it closes.
//
// While it is open the menu takes the mouse and the keyboard. A press outside the
// menu closes it and stays in the queue, so the window under the pointer still
// receives it after the menu has gone; this is why a control that opens a menu on
// a press may have to remove that press itself. A release over an item chooses it
// (with tbLeftButton only the left button chooses, with tbRightButton either
// button does); Up, Down and Return choose from the keyboard, Esc closes. The
// chosen item's OnClick runs after the menu window has closed. Timers, paint and
// other messages are dispatched as usual meanwhile; a quit request closes the menu
// and stays posted for the loop outside.
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/control.h"

namespace tlb {

enum TPopupAlignment { paLeft, paRight, paCenter };
enum TTrackButton { tbRightButton, tbLeftButton };

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner) : TComponent(AOwner) {}
  const char* ClassName() const override { return "TMenuItem"; }
  std::string Caption;  // code page 1250; "-" is a separator line
  bool Enabled = true;
  bool Visible = true;
  TNotifyEvent OnClick;
  virtual void Click();
};

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* AOwner) : TComponent(AOwner) {}
  ~TPopupMenu() override;
  const char* ClassName() const override { return "TPopupMenu"; }

  // Where X of Popup lies: the menu's left edge, its right edge or its middle.
  TPopupAlignment Alignment = paLeft;
  TTrackButton TrackButton = tbRightButton;
  TNotifyEvent OnPopup;

  // The component the menu was last opened for; cleared when that component goes.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* component);

  // Appends an item owned by the menu.
  TMenuItem* Add(const std::string& caption, TNotifyEvent onClick = nullptr);
  int Count() const { return int(items_.size()); }
  TMenuItem* Items(int i) const { return items_.at(size_t(i)); }

  // Shows the menu with its top at Y and runs it until it closes (OnPopup first).
  virtual void Popup(int X, int Y);
  bool IsOpen() const { return open_; }
  // The screen rectangle of the menu window while it is open (and after, the last one).
  Rect MenuBounds() const { return bounds_; }
  // The screen rectangle of item i in the last menu shown (empty for a hidden item).
  Rect ItemBounds(int i) const;

  void Notification(TComponent* component, TOperation operation) override;

 private:
  std::vector<TMenuItem*> items_;
  TComponent* popupComponent_ = nullptr;
  bool open_ = false;
  Rect bounds_;
  std::vector<std::pair<TMenuItem*, Rect>> itemBounds_;
};

}  // namespace tlb
