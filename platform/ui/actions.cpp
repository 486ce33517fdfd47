#include "platform/ui/actions.h"

#include <algorithm>

#include "platform/core/exceptions.h"

namespace tlb {

const char* const SInvalidCast = "Invalid class typecast";

// ---- TBasicAction ----

TBasicAction::TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}

TBasicAction::~TBasicAction() {
  // The links forget the action first; their controls hear of it through the free notification.
  for (TBasicActionLink* link : clients_) link->action_ = nullptr;
  clients_.clear();
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  TNotifyEvent handler = OnExecute;
  handler(this);
  return true;
}

void TBasicAction::RegisterChanges(TBasicActionLink* link) {
  if (link && std::find(clients_.begin(), clients_.end(), link) == clients_.end()) clients_.push_back(link);
}

void TBasicAction::UnRegisterChanges(TBasicActionLink* link) {
  clients_.erase(std::remove(clients_.begin(), clients_.end(), link), clients_.end());
}

void TBasicAction::Change() {
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(clients_))
    if (std::find(clients_.begin(), clients_.end(), link) != clients_.end()) link->Change();
}

// ---- TCustomAction ----

bool TCustomAction::Execute() { return enabled_ && TBasicAction::Execute(); }

template <typename Fn>
void TCustomAction::ForEachLink(Fn fn) {
  for (TBasicActionLink* link : std::vector<TBasicActionLink*>(clients_)) {
    if (std::find(clients_.begin(), clients_.end(), link) == clients_.end()) continue;
    if (auto* l = dynamic_cast<TActionLink*>(link)) fn(*l);
  }
}

void TCustomAction::SetCaption(const std::string& value) {
  if (value == caption_) return;
  ForEachLink([&](TActionLink& l) { l.SetCaption(value); });
  caption_ = value;
  PropertyChanged();
}

void TCustomAction::SetChecked(bool value) {
  if (value == checked_) return;
  ForEachLink([&](TActionLink& l) { l.SetChecked(value); });
  checked_ = value;
  PropertyChanged();
}

void TCustomAction::SetEnabled(bool value) {
  if (value == enabled_) return;
  ForEachLink([&](TActionLink& l) { l.SetEnabled(value); });
  enabled_ = value;
  PropertyChanged();
}

void TCustomAction::SetHelpContext(int value) {
  if (value == helpContext_) return;
  ForEachLink([&](TActionLink& l) { l.SetHelpContext(value); });
  helpContext_ = value;
  PropertyChanged();
}

void TCustomAction::SetHint(const std::string& value) {
  if (value == hint_) return;
  ForEachLink([&](TActionLink& l) { l.SetHint(value); });
  hint_ = value;
  PropertyChanged();
}

void TCustomAction::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  ForEachLink([&](TActionLink& l) { l.SetImageIndex(value); });
  imageIndex_ = value;
  PropertyChanged();
}

void TCustomAction::SetVisible(bool value) {
  if (value == visible_) return;
  ForEachLink([&](TActionLink& l) { l.SetVisible(value); });
  visible_ = value;
  PropertyChanged();
}

// ---- TBasicActionLink ----

TBasicActionLink::~TBasicActionLink() {
  if (action_) action_->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* value) {
  if (value == action_) return;
  if (action_) action_->UnRegisterChanges(this);
  action_ = value;
  if (action_) action_->RegisterChanges(this);
}

bool TBasicActionLink::Execute() { return action_ && action_->Execute(); }

void TBasicActionLink::Change() {
  if (OnChange) OnChange(action_);
}

// ---- TActionLink ----

bool TActionLink::IsCaptionLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHelpContextLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() { return CustomAction() != nullptr; }

// ---- TControlActionLink ----

void TControlActionLink::AssignClient(TObject* AClient) {
  auto* control = dynamic_cast<TControl*>(AClient);
  if (!control) throw EInvalidCast(SInvalidCast);
  client_ = control;
}

bool TControlActionLink::IsCaptionLinked() {
  return TActionLink::IsCaptionLinked() && client_ && client_->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() {
  return TActionLink::IsEnabledLinked() && client_ && client_->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsHintLinked() {
  return TActionLink::IsHintLinked() && client_ && client_->Hint == CustomAction()->Hint();
}

bool TControlActionLink::IsVisibleLinked() {
  return TActionLink::IsVisibleLinked() && client_ && client_->Visible() == CustomAction()->Visible();
}

void TControlActionLink::SetCaption(const std::string& value) {
  if (IsCaptionLinked()) client_->SetCaption(value);
}

void TControlActionLink::SetEnabled(bool value) {
  if (IsEnabledLinked()) client_->SetEnabled(value);
}

void TControlActionLink::SetHint(const std::string& value) {
  if (IsHintLinked()) client_->Hint = value;
}

void TControlActionLink::SetVisible(bool value) {
  if (IsVisibleLinked()) client_->SetVisible(value);
}

std::unique_ptr<TControlActionLink> NewActionLink(TControlActionLinkClass linkClass, TObject* client) {
  std::unique_ptr<TControlActionLink> link = linkClass ? linkClass() : std::make_unique<TControlActionLink>();
  link->AssignClient(client);
  return link;
}

void ApplyActionToControl(TControl& control, TBasicAction* action, bool checkDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(action);
  if (!a) return;
  if (!checkDefaults || control.Caption().empty()) control.SetCaption(a->Caption());
  if (!checkDefaults || control.Enabled()) control.SetEnabled(a->Enabled());
  if (!checkDefaults || control.Hint.empty()) control.Hint = a->Hint();
  if (!checkDefaults || control.Visible()) control.SetVisible(a->Visible());
}

}  // namespace tlb
