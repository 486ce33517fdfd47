#pragma once
// Reading property values of form descriptions: colours, cursors, fonts, pictures
// and enumerations, shared by every class's property table.
#include <string>
#include <utility>
#include <vector>

#include "platform/graphics/graphics.h"
#include "platform/ui/control.h"
#include "platform/ui/form_reader.h"

namespace tlb {

TColor ParseColor(const FormValue& v, const LoadContext& ctx);
TCursor ParseCursor(const FormValue& v, const LoadContext& ctx);
// Font.Name, Font.Height, Font.Size, Font.Style, Font.Color, Font.Charset.
void SetFontProperty(TFont& font, const std::string& sub, const FormValue& v, const LoadContext& ctx);
// A picture stored with the form: the value names a compiled-in BMP resource.
void LoadPictureResource(TPicture& picture, const FormValue& v, const LoadContext& ctx);
void LoadBitmapResource(TBitmap& bitmap, const FormValue& v, const LoadContext& ctx);
// The enumeration member named by an identifier value.
int ParseEnum(const FormValue& v, const std::vector<std::pair<const char*, int>>& members, const LoadContext& ctx);

// Registers a property of class C: `setter(C*, value, ctx)`.
template <typename C, typename Fn>
void Prop(const std::string& cls, const std::string& name, Fn setter) {
  ClassRegistry::Instance().RegisterProperty(cls, name, [setter](TComponent* c, const FormValue& v, const LoadContext& ctx) {
    setter(static_cast<C*>(c), v, ctx);
  });
}

// Registers an event property of class C whose std::function member is reached by `member`.
template <typename C, typename Event>
void EventProp(const std::string& cls, const std::string& name, Event C::*member) {
  ClassRegistry::Instance().RegisterProperty(cls, name, [member, name](TComponent* c, const FormValue& v, const LoadContext& ctx) {
    if (v.kind != FormValue::Identifier) ctx.Fail(name + " needs a handler name");
    static_cast<C*>(c)->*member = ctx.Handler<Event>(v.text, name);
  });
}

// Registers a class with a factory that makes it with an owner.
template <typename C>
void Class(const std::string& name, const std::string& parent) {
  ClassRegistry::Instance().RegisterClass(name, parent, [](TComponent* owner) -> TComponent* { return new C(owner); });
}

// Called once by RegisterStandardClasses; each defined beside its classes.
void RegisterMediaClasses();

}  // namespace tlb
