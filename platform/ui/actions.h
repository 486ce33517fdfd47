#pragma once
// Actions: a command with a caption, an enabled and a checked state, a help
// context and an image index, shared by the controls linked to it. Each control
// holds an action link; the action tells its links of every change before it
// stores the new value, so a link can ask whether its client still shows the
// old one (a client that differs is no longer linked in that respect).
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/control.h"

namespace tlb {

class TBasicActionLink;

class TBasicAction : public TComponent {
 public:
  explicit TBasicAction(TComponent* AOwner);
  ~TBasicAction() override;
  const char* ClassName() const override { return "TBasicAction"; }

  TNotifyEvent OnExecute;
  // Runs OnExecute; false when there is nothing to run.
  virtual bool Execute();

  void RegisterChanges(TBasicActionLink* link);
  void UnRegisterChanges(TBasicActionLink* link);
  int ClientCount() const { return int(clients_.size()); }

  // Tells every link that the action as a whole changed: each client takes all
  // of the action's values again.
  void Change();
  // Told after each property of the action changed (the links were told of that
  // property first, through their setters).
  TNotifyEvent OnChange;

 protected:
  void PropertyChanged() {
    if (OnChange) OnChange(this);
  }
  std::vector<TBasicActionLink*> clients_;
};

class TActionLink;

class TCustomAction : public TBasicAction {
 public:
  explicit TCustomAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  const char* ClassName() const override { return "TCustomAction"; }

  // A disabled action does not execute.
  bool Execute() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int value);
  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

 private:
  template <typename Fn>
  void ForEachLink(Fn fn);
  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  int helpContext_ = 0;
  std::string hint_;
  int imageIndex_ = -1;
  bool visible_ = true;
};

class TAction : public TCustomAction {
 public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
  const char* ClassName() const override { return "TAction"; }
};

class TBasicActionLink : public TObject {
 public:
  TBasicActionLink() = default;
  ~TBasicActionLink() override;
  TBasicActionLink(const TBasicActionLink&) = delete;
  TBasicActionLink& operator=(const TBasicActionLink&) = delete;

  // Binds the link to the object it serves. Made a separate step so that the
  // override of the link class in use runs (see NewActionLink).
  virtual void AssignClient(TObject* AClient) {}

  TBasicAction* Action() const { return action_; }
  void SetAction(TBasicAction* value);
  // Runs the action; false when there is none or it ran nothing.
  virtual bool Execute();

  // Called when the action changed (any property); Sender is the action.
  TNotifyEvent OnChange;
  virtual void Change();

 private:
  friend class TBasicAction;
  TBasicAction* action_ = nullptr;
};

class TActionLink : public TBasicActionLink {
 public:
  // Linked in a respect: the action is a TCustomAction. Client links narrow this
  // to "and the client still shows the action's value".
  virtual bool IsCaptionLinked();
  virtual bool IsCheckedLinked();
  virtual bool IsEnabledLinked();
  virtual bool IsHelpContextLinked();
  virtual bool IsHintLinked();
  virtual bool IsImageIndexLinked();
  virtual bool IsVisibleLinked();

  // Told by the action before it stores a new value.
  virtual void SetCaption(const std::string& value) {}
  virtual void SetChecked(bool value) {}
  virtual void SetEnabled(bool value) {}
  virtual void SetHelpContext(int value) {}
  virtual void SetHint(const std::string& value) {}
  virtual void SetImageIndex(int value) {}
  virtual void SetVisible(bool value) {}

 protected:
  TCustomAction* CustomAction() const { return dynamic_cast<TCustomAction*>(Action()); }
};

// The link of a control: caption, enabled, hint and visible follow the action.
class TControlActionLink : public TActionLink {
 public:
  // The client must be a TControl; anything else raises EInvalidCast.
  void AssignClient(TObject* AClient) override;
  TControl* Client() const { return client_; }

  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHintLinked() override;
  bool IsVisibleLinked() override;
  void SetCaption(const std::string& value) override;
  void SetEnabled(bool value) override;
  void SetHint(const std::string& value) override;
  void SetVisible(bool value) override;

 protected:
  TControl* client_ = nullptr;
};

// The link class a control asks for: a function that makes an unbound link.
using TControlActionLinkClass = std::unique_ptr<TControlActionLink> (*)();

// Makes a link of that class and binds it to `client` (AssignClient of the class made).
std::unique_ptr<TControlActionLink> NewActionLink(TControlActionLinkClass linkClass, TObject* client);

// The class library's part of a control's ActionChange: caption, enabled, hint and
// visible are taken from the action; with `checkDefaults`, only where the control
// still has its default (empty caption and hint, enabled, visible).
void ApplyActionToControl(TControl& control, TBasicAction* action, bool checkDefaults);

// The class library's invalid type cast message.
extern const char* const SInvalidCast;

}  // namespace tlb
