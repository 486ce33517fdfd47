#pragma once
// Form descriptions: text resources that list a form's components in creation
// order, their properties and the names of their event handlers.
//
//   object FORM_Menu: TFORM_Menu
//     Color = clGreen
//     Caption = 'Hry - hlavní menu'
//     OnCreate = FormCreate
//     object AVI_obr1: TAVI_orvo1
//       Left = 54
//       OnClick = AVI_obr1Click
//     end
//   end
//
// Values: integers (decimal, $hex, negative), identifiers, 'strings' (UTF-8 in
// the file, '' for a quote; code page 1250 in the program), sets [a, b] and
// string lists ('one' 'two'). Dotted names set sub-properties (Font.Height).
// Pictures name a compiled-in resource. An unknown class, property or handler
// is an error naming the file and line.
#include <any>
#include <functional>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/ui/component.h"

namespace tlb {

struct FormValue {
  enum Kind { Integer, Identifier, String, Set, List } kind = Integer;
  long long integer = 0;
  std::string text;                // identifier, or code page 1250 string
  std::vector<std::string> items;  // set members or list strings
  int line = 0;

  bool AsBool() const;
  int AsInt() const;
  const std::string& AsString() const;
};

// The handlers a form offers, by name; each is a std::function of its event's type.
class HandlerTable {
 public:
  template <typename Fn>
  void Add(const std::string& name, Fn fn) {
    handlers_[name] = std::any(fn);
  }
  // Offers `method` of `self` as the handler `name`; the event type follows from the
  // method's parameters, so a handler of the wrong shape is still refused by the reader.
  template <typename Self, typename C, typename... Args>
  void Bind(const std::string& name, Self* self, void (C::*method)(Args...)) {
    C* target = self;
    Add(name, std::function<void(Args...)>([target, method](Args... args) { (target->*method)(args...); }));
  }
  const std::any* Find(const std::string& name) const {
    auto it = handlers_.find(name);
    return it == handlers_.end() ? nullptr : &it->second;
  }

 private:
  std::map<std::string, std::any> handlers_;
};

struct LoadContext {
  std::string file;
  int line = 0;
  const HandlerTable* handlers = nullptr;
  TComponent* root = nullptr;
  [[noreturn]] void Fail(const std::string& what) const;
  // The handler of that name for an event of type Fn; an error if missing or of another type.
  template <typename Fn>
  Fn Handler(const std::string& name, const std::string& event) const {
    const std::any* h = handlers ? handlers->Find(name) : nullptr;
    if (!h) Fail("unknown handler '" + name + "' for " + event);
    const Fn* fn = std::any_cast<Fn>(h);
    if (!fn) Fail("handler '" + name + "' does not fit event " + event);
    return *fn;
  }
};

using PropertySetter = std::function<void(TComponent*, const FormValue&, const LoadContext&)>;
using ComponentFactory = std::function<TComponent*(TComponent* owner)>;

// The classes a form description can name, with their properties.
class ClassRegistry {
 public:
  static ClassRegistry& Instance();
  void RegisterClass(const std::string& name, const std::string& parent, ComponentFactory factory);
  void RegisterProperty(const std::string& className, const std::string& property, PropertySetter setter);
  bool Known(const std::string& className) const;
  TComponent* Create(const std::string& className, TComponent* owner) const;
  // Finds the setter along the class chain; nullptr when the property is unknown.
  const PropertySetter* FindProperty(const std::string& className, const std::string& property) const;
  bool InheritsFrom(const std::string& className, const std::string& ancestor) const;

 private:
  struct Entry {
    std::string parent;
    ComponentFactory factory;
    std::map<std::string, PropertySetter> properties;
  };
  std::map<std::string, Entry> classes_;
};

// Reads the description `resourceName` into `root` (an already constructed form or
// component of the description's root class), creating its components with `root` as owner.
// Then runs Loaded on every component.
void LoadFormDescription(TComponent* root, const std::string& resourceName, const HandlerTable& handlers);
void LoadFormDescriptionText(TComponent* root, const std::string& text, const std::string& fileName,
                             const HandlerTable& handlers);

// The component `name` of `owner` as type T; an error if it is missing or of another class.
template <typename T>
T* FindAs(TComponent* owner, const std::string& name) {
  TComponent* c = owner->FindComponent(name);
  T* t = dynamic_cast<T*>(c);
  if (!t) throw EReadError("component '" + name + "' is missing or of another class");
  return t;
}

// Sets `field` to the component `name` of `owner`, of the field's own type.
template <typename T>
void FindInto(TComponent* owner, const std::string& name, T*& field) {
  field = FindAs<T>(owner, name);
}

// One line a handler or component in a form's constructor, named once: the handler's
// name in the description is the method's name, the component's name is the field's.
//   TLB_HANDLER(h, FormCreate);      // h.Bind("FormCreate", this, &ThisForm::FormCreate)
//   TLB_COMPONENT(AVI_obr1);         // AVI_obr1 = FindAs<TAVI_orvo1>(this, "AVI_obr1")
#define TLB_HANDLER(table, method) \
  (table).Bind(#method, this, &std::remove_pointer_t<decltype(this)>::method)
#define TLB_COMPONENT(field) ::tlb::FindInto(this, #field, field)

// Registers the class library's own classes (once).
void RegisterStandardClasses();

}  // namespace tlb
