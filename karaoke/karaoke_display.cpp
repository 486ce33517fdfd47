#include "karaoke/karaoke_display.h"

#include <algorithm>

#include "platform/core/cp1250.h"
#include "platform/core/sysutils.h"
#include "platform/ui/dialogs.h"

namespace tq {

using namespace tlb;

KaraokeDisplay::KaraokeDisplay(TComponent* form, KaraokeText& text, KaraokeDisplaySettings settings)
    : form_(form),
      text_(text),
      settings_(settings),
      highlights_(size_t(std::max(settings.DisplayLines, 0))),
      found_(size_t(std::max(settings.DisplayLines, 0) + 1)) {
  for (size_t k = 0; k < found_.size(); ++k) found_[k].name = "text_" + IntToStr(int(k));
}

TBarevnyText* KaraokeDisplay::Line(int k) const {
  if (k < 0 || size_t(k) >= found_.size())
    return dynamic_cast<TBarevnyText*>(form_->FindComponent("text_" + IntToStr(k)));
  FoundLine& found = found_[size_t(k)];
  if (found.control && !found.alive.expired() && found.control->Owner() == form_ &&
      AnsiSameText(found.control->Name, found.name))
    return found.control;
  found.control = dynamic_cast<TBarevnyText*>(form_->FindComponent(found.name));
  found.alive = found.control ? found.control->AliveToken() : std::weak_ptr<void>();
  return found.control;
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

int KaraokeDisplay::WholeCaptions(std::vector<std::string>& captions) const {
  const int lines = settings_.DisplayLines;
  captions.assign(size_t(lines + 1), " ");
  captions[0] = text_.KaraokeTitle;
  for (int j = 1; j <= text_.VisitedEntries(); ++j) {
    const tslovo& s = text_.Entry(j);
    if (s.Line > lines) return j;
    captions[s.Line] += s.Text;
  }
  return 0;
}

void KaraokeDisplay::ShowWholeText() {
  const int lines = settings_.DisplayLines;
  // The captions are built first and set once, so a line whose text has not
  // changed is not repainted at every tick.
  std::vector<std::string> captions;
  const int unplaced = WholeCaptions(captions);
  for (std::string& h : highlights_) h.clear();
  for (int k = 0; k <= lines; ++k) {
    TBarevnyText* line = Line(k);
    if (!line) throw EKaraokeLine("text_" + IntToStr(k) + " is missing");
    line->SetCaption(captions[size_t(k)]);
    if (k > 0) line->SetKolik_znaku_barevnych(0);
    if (settings_.ShowLinesVisible) line->SetVisible(true);
  }
  // No control shows this syllable's line: what came before it is shown, and the pass fails.
  if (unplaced)
    throw EKaraokeLine("no display line " + IntToStr(text_.Entry(unplaced).Line) + " for syllable " +
                       IntToStr(unplaced));
}

bool KaraokeDisplay::ShowsWholeText() const {
  for (const std::string& h : highlights_)
    if (!h.empty()) return false;
  std::vector<std::string> captions;
  if (WholeCaptions(captions) != 0) return false;
  for (int k = 0; k <= settings_.DisplayLines; ++k) {
    const TBarevnyText* line = Line(k);
    if (!line || line->Caption() != captions[size_t(k)]) return false;
    if (k > 0 && line->Kolik_znaku_barevnych() != 0) return false;
    if (settings_.ShowLinesVisible && !line->Visible()) return false;
  }
  return true;
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
