// The screen: the shown forms in z-order, the cursor, and composing the forms onto the screen surface.
#include "platform/ui/forms.h"

#include <algorithm>

#include "platform/graphics/dib_blit.h"

namespace tlb {

// ---- TScreen ----

int TScreen::Width() const { return HasBackend() ? CurrentBackend().ScreenSize().cx : 640; }
int TScreen::Height() const { return HasBackend() ? CurrentBackend().ScreenSize().cy : 480; }

void TScreen::SetCursor(TCursor c) {
  cursor_ = c;
  UpdateCursor();
}

void TScreen::SetCursorImage(TCursor index, std::shared_ptr<CursorImage> image) {
  if (image) cursors_[index] = std::move(image);
  else cursors_.erase(index);
  UpdateCursor();
}

const CursorImage* TScreen::CursorImageAt(TCursor index) const {
  auto it = cursors_.find(index);
  return it == cursors_.end() ? nullptr : it->second.get();
}

TCustomForm* TScreen::ActiveForm() const {
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it)
    if ((*it)->Visible() && (*it)->Enabled()) return *it;
  return nullptr;
}

void TScreen::AddForm(TCustomForm* f) {
  if (std::find(zOrder_.begin(), zOrder_.end(), f) == zOrder_.end()) zOrder_.push_back(f);
}

void TScreen::RemoveForm(TCustomForm* f) {
  auto it = std::find(zOrder_.begin(), zOrder_.end(), f);
  if (it == zOrder_.end()) return;
  zOrder_.erase(it);
  Compose(f->BoundsRect());
}

void TScreen::BringToFront(TCustomForm* f) {
  auto it = std::find(zOrder_.begin(), zOrder_.end(), f);
  if (it == zOrder_.end() || it + 1 == zOrder_.end()) return;
  zOrder_.erase(it);
  zOrder_.push_back(f);
  Compose(f->BoundsRect());
}

void TScreen::UpdateCursor() {
  if (!HasBackend()) return;
  TCursor shown = cursor_;
  if (shown == crDefault) {
    TControl* c = FindDragTarget(CurrentBackend().CursorPos(), true);
    while (c && c->Cursor() == crDefault) c = c->Parent();
    shown = c ? c->Cursor() : crDefault;
  }
  if (shown == crDefault) shown = crArrow;
  if (shown == shownCursor_) return;
  shownCursor_ = shown;
  CurrentBackend().SetCursor(CursorImageAt(shown), shown);
}

TScreen::~TScreen() {
  if (HasBackend()) CurrentBackend().ScreenGone();
}

void TScreen::Compose(const Rect& dirty) {
  if (!HasBackend()) return;
  Size size = CurrentBackend().ScreenSize();
  bool fresh = screen_.width() != size.cx || screen_.height() != size.cy;
  if (fresh) screen_ = Dib(size.cx, size.cy, 32);
  Rect area = fresh ? Rect{0, 0, size.cx, size.cy} : dirty.Intersect({0, 0, size.cx, size.cy});
  area = area.Union(pendingCompose_);
  if (area.empty()) return;
  // Nothing is shown while a form there waits for its first paint: the screen
  // never shows a form unpainted; its paint composes the area again.
  for (TCustomForm* f : zOrder_)
    if (f->Visible() && !f->BoundsRect().Intersect(area).empty() &&
        (f->Surface().width() != f->Width() || f->Surface().height() != f->Height())) {
      pendingCompose_ = area;
      return;
    }
  pendingCompose_ = {};
  // Black where no form lies; a form over the whole area copies every pixel of it.
  const bool covered = std::any_of(zOrder_.begin(), zOrder_.end(), [&area](const TCustomForm* f) {
    return f->Visible() && f->BoundsRect().Intersect(area) == area;
  });
  if (!covered) FillDib(screen_, area, area, 0x000000);
  for (TCustomForm* f : zOrder_) {
    if (!f->Visible()) continue;
    Rect r = f->BoundsRect().Intersect(area);
    if (r.empty()) continue;
    CopyDib(screen_, r.left, r.top, f->Surface(), r.Offset(-f->Left(), -f->Top()), r);
  }
  CurrentBackend().Present(screen_, area);
}

void TScreen::Reset() {
  cursor_ = crDefault;
  cursors_.clear();
  zOrder_.clear();
  screen_ = Dib();
  pendingCompose_ = {};
  shownCursor_ = 1;
}

}  // namespace tlb
