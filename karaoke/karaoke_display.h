#pragma once
// The karaoke display of a form: the title line "text_0" and the display lines
// "text_1" up, all TBarevnyText found among the form's components by name. It
// shows a loaded text uncoloured and colours each syllable 300 ms before it is
// sung, as the form's 50 ms timer reports the recording's position:
//
//   void TForm_X::TimerTick(TObject*) {
//     try {
//       if (wavplayer->Mode() == mpPlaying) display.HighlightSyllables(wavplayer->Position(), onColoured);
//       else display.ShowWholeText();
//     } catch (const tlb::Exception&) {}   // the next tick tries again
//   }
//
// The rhymes and the songs forms differ only in the settings below.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "karaoke/BarevnyText.h"
#include "karaoke/karaoke_text.h"
#include "platform/core/exceptions.h"
#include "platform/ui/component.h"

namespace tq {

struct KaraokeDisplaySettings {
  // The display lines text_1 .. text_<DisplayLines>: 9 in the rhymes, 12 in the songs.
  int DisplayLines = 9;
  // Added to the length of a line's coloured text to give its coloured count: 1 in
  // the rhymes, which so count the blank every line begins with; 0 in the songs.
  int ColouredCountExtra = 1;
  // ShowWholeText also makes the title and the lines visible (the songs form hides
  // them between shows).
  bool ShowLinesVisible = false;
};

// A syllable whose display line has no control on the form.
class EKaraokeLine : public tlb::Exception {
 public:
  using tlb::Exception::Exception;
};

class KaraokeDisplay {
 public:
  // `form` owns the text_<k> controls; `text` is the form's syllable table.
  KaraokeDisplay(tlb::TComponent* form, KaraokeText& text, KaraokeDisplaySettings settings);

  const KaraokeDisplaySettings& Settings() const { return settings_; }
  // The text of the syllables coloured so far on display line k (1-based).
  const std::string& LineHighlight(int k) const { return highlights_.at(size_t(k - 1)); }

  // The control "text_<k>" (0 the title line), or nullptr when the form has none.
  // A line found is kept while it lives, keeps its name and stays on the form, so
  // that the 50 ms tick does not search the form's components for every line.
  TBarevnyText* Line(int k) const;

  // Every display line gets the caption " " and the count 0, and the coloured
  // texts are forgotten. The title is left as it is.
  void ClearLines();

  // Shows the title and every syllable uncoloured: each display line is a blank
  // followed by its syllables. A syllable on a line without a control stops the
  // pass there, after the earlier ones are shown, with EKaraokeLine.
  void ShowWholeText();
  // True when ShowWholeText would change nothing: the title and every display line
  // show their whole text uncoloured (and visible, where the settings show them),
  // nothing is recorded as coloured, and every syllable has its line. The forms'
  // colouring timers sleep while it holds between playbacks.
  bool ShowsWholeText() const;

  // Colours the syllables that are due at `position` (ms): those not yet done whose
  // time less 300 (never below 0) is before it. Each coloured syllable on a display
  // line is reported to `onColoured` (the rhymes turn the arrow) before its line's
  // count grows. A line control that is missing shows "nenalezen radek " and the
  // entry's number, and the pass goes on.
  void HighlightSyllables(int32_t position, const std::function<void(const tslovo&)>& onColoured = nullptr);

  // How far ahead of its time a syllable is coloured.
  static constexpr int32_t kLeadMs = 300;

 private:
  // A line control's name, the control found by it, and the token that tells
  // whether that control still lives.
  struct FoundLine {
    std::string name;
    TBarevnyText* control = nullptr;
    std::weak_ptr<void> alive;
  };

  // The captions ShowWholeText gives the title (0) and the display lines 1 up: a
  // blank, then the line's syllables. Returns the first syllable whose line has no
  // control, the captions built up to it; 0 when every syllable has its line.
  int WholeCaptions(std::vector<std::string>& captions) const;

  tlb::TComponent* form_;
  KaraokeText& text_;
  KaraokeDisplaySettings settings_;
  std::vector<std::string> highlights_;
  mutable std::vector<FoundLine> found_;  // by line number, 0 the title
};

}  // namespace tq
