// The property tables of the media classes (media player, animation control).
#include "platform/media/animate.h"
#include "platform/media/media_player.h"
#include "platform/ui/property_helpers.h"

namespace tlb {

namespace {

// A set of media-player buttons: [btPlay, btStop].
TButtonSet ParseButtons(const FormValue& v, const LoadContext& ctx) {
  static const std::vector<std::pair<const char*, int>> names = {
      {"btPlay", btPlay}, {"btPause", btPause}, {"btStop", btStop}, {"btNext", btNext}, {"btPrev", btPrev},
      {"btStep", btStep}, {"btBack", btBack}, {"btRecord", btRecord}, {"btEject", btEject}};
  if (v.kind != FormValue::Set) ctx.Fail("a set of buttons is needed");
  TButtonSet set = 0;
  for (const std::string& item : v.items) {
    FormValue one;
    one.kind = FormValue::Identifier;
    one.text = item;
    set |= 1u << ParseEnum(one, names, ctx);
  }
  return set;
}

void RegisterMediaPlayer() {
  const std::string c = "TMediaPlayer";
  Class<TMediaPlayer>(c, "TWinControl");
  Prop<TMediaPlayer>(c, "FileName", [](TMediaPlayer* p, const FormValue& v, const LoadContext&) { p->FileName = v.AsString(); });
  Prop<TMediaPlayer>(c, "AutoRewind", [](TMediaPlayer* p, const FormValue& v, const LoadContext&) { p->AutoRewind = v.AsBool(); });
  Prop<TMediaPlayer>(c, "AutoOpen", [](TMediaPlayer* p, const FormValue& v, const LoadContext&) { p->AutoOpen = v.AsBool(); });
  Prop<TMediaPlayer>(c, "AutoEnable", [](TMediaPlayer* p, const FormValue& v, const LoadContext&) { p->AutoEnable = v.AsBool(); });
  Prop<TMediaPlayer>(c, "Shareable", [](TMediaPlayer* p, const FormValue& v, const LoadContext&) { p->Shareable = v.AsBool(); });
  Prop<TMediaPlayer>(c, "Wait", [](TMediaPlayer* p, const FormValue& v, const LoadContext&) { p->Wait = v.AsBool(); });
  Prop<TMediaPlayer>(c, "Notify", [](TMediaPlayer* p, const FormValue& v, const LoadContext&) { p->Notify = v.AsBool(); });
  Prop<TMediaPlayer>(c, "VisibleButtons", [](TMediaPlayer* p, const FormValue& v, const LoadContext& ctx) {
    p->VisibleButtons = ParseButtons(v, ctx);
  });
  Prop<TMediaPlayer>(c, "EnabledButtons", [](TMediaPlayer* p, const FormValue& v, const LoadContext& ctx) {
    p->EnabledButtons = ParseButtons(v, ctx);
  });
  Prop<TMediaPlayer>(c, "ColoredButtons", [](TMediaPlayer* p, const FormValue& v, const LoadContext& ctx) {
    p->ColoredButtons = ParseButtons(v, ctx);
  });
  Prop<TMediaPlayer>(c, "DeviceType", [](TMediaPlayer* p, const FormValue& v, const LoadContext& ctx) {
    p->DeviceType = TMPDeviceTypes(ParseEnum(v, {{"dtAutoSelect", dtAutoSelect}, {"dtSequencer", dtSequencer},
                                                 {"dtWaveAudio", dtWaveAudio}}, ctx));
  });
  Prop<TMediaPlayer>(c, "TimeFormat", [](TMediaPlayer*, const FormValue& v, const LoadContext& ctx) {
    // Positions are always in milliseconds.
    ParseEnum(v, {{"tfMilliseconds", 0}}, ctx);
  });
}

void RegisterAnimate() {
  const std::string c = "TAnimate";
  Class<TAnimate>(c, "TWinControl");
  Prop<TAnimate>(c, "FileName", [](TAnimate* a, const FormValue& v, const LoadContext&) { a->SetFileName(v.AsString()); });
  Prop<TAnimate>(c, "Active", [](TAnimate* a, const FormValue& v, const LoadContext&) { a->SetActive(v.AsBool()); });
  Prop<TAnimate>(c, "StartFrame", [](TAnimate* a, const FormValue& v, const LoadContext&) { a->SetStartFrame(v.AsInt()); });
  Prop<TAnimate>(c, "StopFrame", [](TAnimate* a, const FormValue& v, const LoadContext&) { a->SetStopFrame(v.AsInt()); });
  Prop<TAnimate>(c, "Repetitions", [](TAnimate* a, const FormValue& v, const LoadContext&) { a->SetRepetitions(v.AsInt()); });
  Prop<TAnimate>(c, "AutoSize", [](TAnimate* a, const FormValue& v, const LoadContext&) { a->SetAutoSize(v.AsBool()); });
  Prop<TAnimate>(c, "Center", [](TAnimate* a, const FormValue& v, const LoadContext&) { a->SetCenter(v.AsBool()); });
  Prop<TAnimate>(c, "Transparent", [](TAnimate* a, const FormValue& v, const LoadContext&) { a->SetTransparent(v.AsBool()); });
  Prop<TAnimate>(c, "Timers", [](TAnimate* a, const FormValue& v, const LoadContext&) { a->SetTimers(v.AsBool()); });
  Prop<TAnimate>(c, "CommonAVI", [](TAnimate*, const FormValue& v, const LoadContext& ctx) {
    // The system's built-in clips are not offered; only "none" is accepted.
    ParseEnum(v, {{"aviNone", 0}}, ctx);
  });
  EventProp<TAnimate>(c, "OnOpen", &TAnimate::OnOpen);
  EventProp<TAnimate>(c, "OnClose", &TAnimate::OnClose);
  EventProp<TAnimate>(c, "OnStart", &TAnimate::OnStart);
  EventProp<TAnimate>(c, "OnStop", &TAnimate::OnStop);
}

}  // namespace

void RegisterMediaClasses() {
  RegisterMediaPlayer();
  RegisterAnimate();
}

}  // namespace tlb
