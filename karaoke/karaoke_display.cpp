#include "karaoke/karaoke_display.h"

#include <algorithm>

#include "platform/core/sysutils.h"
#include "platform/ui/dialogs.h"

namespace tq {

using namespace tlb;

KaraokeDisplay::KaraokeDisplay(TComponent* form, KaraokeText& text, KaraokeDisplaySettings settings)
    : form_(form), text_(text), settings_(settings), highlights_(size_t(std::max(settings.DisplayLines, 0))) {}

TBarevnyText* KaraokeDisplay::Line(int k) const {
  return dynamic_cast<TBarevnyText*>(form_->FindComponent("text_" + IntToStr(k)));
}

void KaraokeDisplay::ClearLines() {
  for (int k = 1; k <= settings_.DisplayLines; ++k) {
    if (TBarevnyText* line = Line(k)) {
      line->SetCaption(" ");
      line->SetKolik_znaku_barevnych(0);
    }
    highlights_[size_t(k - 1)].clear();
  }
}

void KaraokeDisplay::ShowWholeText() {
  const int lines = settings_.DisplayLines;
  // The captions are built first and set once, so a line whose text has not
  // changed is not repainted at every tick.
  std::vector<std::string> captions(size_t(lines + 1), " ");
  captions[0] = text_.KaraokeTitle;
  for (std::string& h : highlights_) h.clear();

  auto apply = [&] {
    for (int k = 0; k <= lines; ++k) {
      TBarevnyText* line = Line(k);
      if (!line) throw EKaraokeLine("text_" + IntToStr(k) + " is missing");
      line->SetCaption(captions[size_t(k)]);
      if (k > 0) line->SetKolik_znaku_barevnych(0);
      if (settings_.ShowLinesVisible) line->SetVisible(true);
    }
  };
  for (int j = 1; j <= text_.VisitedEntries(); ++j) {
    const tslovo& s = text_.Entry(j);
    if (s.Line > lines) {
      // No control shows this line: what came before it is shown, and the pass fails.
      apply();
      throw EKaraokeLine("no display line " + IntToStr(s.Line) + " for syllable " + IntToStr(j));
    }
    captions[s.Line] += s.Text;
  }
  apply();
}

void KaraokeDisplay::HighlightSyllables(int32_t position, const std::function<void(const tslovo&)>& onColoured) {
  for (int j = 1; j <= text_.VisitedEntries(); ++j) {
    tslovo& s = text_.Entry(j);
    const int64_t due = std::max<int64_t>(0, int64_t(s.Time) - kLeadMs);
    if (!(due < position) || s.Done != 0) continue;
    s.Done = 1;
    if (s.Line < 1 || s.Line > settings_.DisplayLines) continue;  // the empty entry, or no such line
    if (onColoured) onColoured(s);
    std::string& highlight = highlights_[size_t(s.Line - 1)];
    highlight += s.Text;
    TBarevnyText* line = Line(s.Line);
    if (!line) {
      ShowMessage("nenalezen radek " + IntToStr(j));
      continue;
    }
    line->SetKolik_znaku_barevnych(int32_t(highlight.size()) + settings_.ColouredCountExtra);
  }
}

}  // namespace tq
