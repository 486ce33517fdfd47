#pragma once
// The component model: components owned by their owner and freed with it, found
// by name, told when a component they refer to goes away.
#include <any>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tlb {

class TObject {
 public:
  virtual ~TObject() = default;
  // The class name as the form descriptions spell it, e.g. "TTimer".
  virtual const char* ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

enum TComponentStateFlag : unsigned {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csDestroying = 1u << 2,
  csDesigning = 1u << 3,
};

enum TOperation { opInsert, opRemove };

class TComponent : public TObject {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  const char* ClassName() const override { return "TComponent"; }

  std::string Name;
  int Tag = 0;

  TComponent* Owner() const { return owner_; }
  unsigned ComponentState() const { return state_; }
  bool Has(TComponentStateFlag flag) const { return (state_ & flag) != 0; }
  void SetState(TComponentStateFlag flag, bool on) { on ? state_ |= flag : state_ &= ~unsigned(flag); }

  int ComponentCount() const { return int(components_.size()); }
  TComponent* Components(int i) const { return components_.at(size_t(i)); }
  // The owned component of this name (compared ignoring case), or nullptr.
  TComponent* FindComponent(const std::string& name) const;

  // Asks to be told (Notification with opRemove) when `other` is destroyed.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);
  virtual void Notification(TComponent* component, TOperation operation);

  // Runs after the form description has set every property.
  virtual void Loaded() { SetState(csLoading, false); }

  // A token that expires when this component is destroyed: callbacks and timers
  // check it so that nothing runs for a component that is gone.
  std::weak_ptr<void> AliveToken() const { return alive_; }

  // Runs while the whole object still exists, just before it is deleted by
  // Free, by its owner, or by a form's release; a derived class's handlers
  // (a form's OnDestroy) belong here, not in a base destructor, where the
  // derived part would already be gone.
  virtual void BeforeDestruction() {}

  // Frees the component (the class library's Free).
  void Free() {
    BeforeDestruction();
    delete this;
  }

 protected:
  // Frees the owned components, last created first. Derived destructors call
  // this first so their components go before their own fields.
  void DestroyComponents();

 private:
  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);

  TComponent* owner_ = nullptr;
  unsigned state_ = 0;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

// A callback that does nothing once its component is gone.
template <typename Fn>
auto Guarded(const TComponent* owner, Fn fn) {
  return [token = owner->AliveToken(), fn = std::move(fn)](auto&&... args) {
    if (!token.expired()) fn(std::forward<decltype(args)>(args)...);
  };
}

}  // namespace tlb
