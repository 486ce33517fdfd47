#include "platform/ui/popup_menu.h"

#include <algorithm>

#include "platform/graphics/text/draw_text.h"
#include "platform/graphics/text/font_engine.h"
#include "platform/ui/forms.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/stdctrls.h"

namespace tlb {

void TMenuItem::Click() {
  if (OnClick) {
    TNotifyEvent handler = OnClick;
    handler(this);
  }
}

namespace {

constexpr TColor clMenu = clSystemColor | COLOR_MENU;
constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
constexpr int kFrame = 3;
constexpr int kTextMargin = 18;
constexpr int kSeparatorHeight = 8;

bool IsSeparator(const TMenuItem* item) { return item->Caption == "-"; }

// The menu's own window: a frame around one row per visible item.
class TMenuWindow : public TForm {
 public:
  explicit TMenuWindow(std::vector<TMenuItem*> items) : TForm(nullptr), items_(std::move(items)) {
    BorderStyle = bsNone;
    color_ = clMenu;
    FontMetrics m = FontEngine::Instance().Metrics(font_.Spec());
    rowHeight_ = m.height + 6;
    int width = 80;
    int height = 2 * kFrame;
    for (TMenuItem* item : items_) {
      if (IsSeparator(item)) {
        height += kSeparatorHeight;
        continue;
      }
      Rect r{0, 0, 0, 0};
      MeasureTextCp(item->Caption, r, DT_CALCRECT | DT_SINGLELINE, font_.Spec());
      width = std::max(width, r.width() + 2 * kTextMargin + 2 * kFrame);
      height += rowHeight_;
    }
    width_ = width;
    height_ = height;
  }

  // The item row at a point of the window, or -1.
  int ItemAt(Point client) const {
    if (client.x < kFrame || client.x >= width_ - kFrame) return -1;
    int y = kFrame;
    for (size_t i = 0; i < items_.size(); ++i) {
      int h = IsSeparator(items_[i]) ? kSeparatorHeight : rowHeight_;
      if (client.y >= y && client.y < y + h) return IsSeparator(items_[i]) ? -1 : int(i);
      y += h;
    }
    return -1;
  }

  // The row of item i in window coordinates.
  Rect RowRect(int index) const {
    int y = kFrame;
    for (size_t i = 0; i < items_.size(); ++i) {
      int h = IsSeparator(items_[i]) ? kSeparatorHeight : rowHeight_;
      if (int(i) == index) return {kFrame, y, width_ - kFrame, y + h};
      y += h;
    }
    return {};
  }

  bool Selectable(int i) const {
    return i >= 0 && i < int(items_.size()) && !IsSeparator(items_[size_t(i)]) && items_[size_t(i)]->Enabled;
  }

  void SetHot(int i) {
    if (i == hot_) return;
    hot_ = i;
    InvalidateArea({0, 0, width_, height_});
  }
  int Hot() const { return hot_; }

  // Moves the highlight to the next selectable row in `step`'s direction, wrapping round.
  void Step(int step) {
    int n = int(items_.size());
    int i = hot_ >= 0 ? hot_ : (step > 0 ? -1 : n);
    for (int k = 0; k < n; ++k) {
      i = ((i + step) % n + n) % n;
      if (Selectable(i)) {
        SetHot(i);
        return;
      }
    }
  }

  TMenuItem* Item(int i) const { return items_[size_t(i)]; }

  void PaintBackground(TCanvas& canvas) override {
    canvas.Brush.Bitmap = nullptr;
    canvas.Brush.Style = bsSolid;
    canvas.Brush.Color = clMenu;
    canvas.FillRect(ClientRect());
    DrawClassicFrame(canvas, ClientRect(), false);
    canvas.Font.Assign(font_);
    int y = kFrame;
    for (size_t i = 0; i < items_.size(); ++i) {
      TMenuItem* item = items_[i];
      if (IsSeparator(item)) {
        canvas.Brush.Color = clBtnShadow;
        canvas.FillRect({kFrame + 1, y + 3, width_ - kFrame - 1, y + 4});
        canvas.Brush.Color = clBtnHighlight;
        canvas.FillRect({kFrame + 1, y + 4, width_ - kFrame - 1, y + 5});
        y += kSeparatorHeight;
        continue;
      }
      Rect row{kFrame, y, width_ - kFrame, y + rowHeight_};
      bool hot = int(i) == hot_;
      if (hot) {
        canvas.Brush.Color = clHighlight;
        canvas.FillRect(row);
      }
      canvas.Brush.Style = bsClear;
      Rect text{row.left + kTextMargin, row.top, row.right - kTextMargin, row.bottom};
      unsigned flags = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
      if (!item->Enabled) {
        Rect shade = text.Offset(1, 1);
        canvas.Font.SetColor(clBtnHighlight);
        canvas.DrawText(item->Caption, shade, flags);
        canvas.Font.SetColor(clBtnShadow);
      } else {
        canvas.Font.SetColor(hot ? clHighlightText : clMenuText);
      }
      canvas.DrawText(item->Caption, text, flags);
      canvas.Brush.Style = bsSolid;
      y += rowHeight_;
    }
  }

 private:
  std::vector<TMenuItem*> items_;
  int rowHeight_ = 18;
  int hot_ = -1;
};

bool IsPress(UINT m) {
  return m == WM_LBUTTONDOWN || m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDOWN || m == WM_RBUTTONDBLCLK ||
         m == WM_MBUTTONDOWN || m == WM_MBUTTONDBLCLK;
}

bool IsRelease(UINT m) { return m == WM_LBUTTONUP || m == WM_RBUTTONUP || m == WM_MBUTTONUP; }

}  // namespace

TPopupMenu::~TPopupMenu() {
  // The items are owned and go with the menu; forget them first so that their
  // removal notifications find nothing to change.
  items_.clear();
  itemBounds_.clear();
}

void TPopupMenu::SetPopupComponent(TComponent* component) {
  if (component == popupComponent_) return;
  if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
  popupComponent_ = component;
  if (component) FreeNotification(component);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == popupComponent_) popupComponent_ = nullptr;
  items_.erase(std::remove(items_.begin(), items_.end(), component), items_.end());
  itemBounds_.erase(std::remove_if(itemBounds_.begin(), itemBounds_.end(),
                                   [component](const auto& entry) { return entry.first == component; }),
                    itemBounds_.end());
}

Rect TPopupMenu::ItemBounds(int i) const {
  if (i < 0 || i >= Count()) return {};
  for (const auto& [item, r] : itemBounds_)
    if (item == items_[size_t(i)]) return r;
  return {};
}

TMenuItem* TPopupMenu::Add(const std::string& caption, TNotifyEvent onClick) {
  auto* item = new TMenuItem(this);
  item->Caption = caption;
  item->OnClick = std::move(onClick);
  items_.push_back(item);
  return item;
}

void TPopupMenu::Popup(int X, int Y) {
  auto alive = AliveToken();
  if (OnPopup) OnPopup(this);
  if (alive.expired() || !Application || !Screen || open_) return;
  std::vector<TMenuItem*> shown;
  for (TMenuItem* item : items_)
    if (item->Visible) shown.push_back(item);
  if (shown.empty()) return;

  auto window = std::make_unique<TMenuWindow>(shown);
  int w = window->Width(), h = window->Height();
  int left = Alignment == paLeft ? X : Alignment == paRight ? X - w : X - w / 2;
  int top = Y;
  // Kept on the screen: shifted left, or opened upwards from Y when there is no room below.
  if (left + w > Screen->Width()) left = Screen->Width() - w;
  if (left < 0) left = 0;
  if (top + h > Screen->Height()) top = Y - h;
  if (top < 0) top = 0;
  window->SetBounds(left, top, w, h);
  bounds_ = window->BoundsRect();
  itemBounds_.clear();
  for (size_t i = 0; i < shown.size(); ++i)
    itemBounds_.push_back({shown[i], window->RowRect(int(i)).Offset(bounds_.left, bounds_.top)});
  open_ = true;
  window->Show();

  TTrackButton track = TrackButton;
  int chosen = -1;
  auto& queue = MessageQueue::Instance();
  for (;;) {
    if (Application->Terminated()) break;
    MSG msg;
    if (!PeekMessage(msg, nullptr, 0, 0, PM_NOREMOVE)) {
      queue.WaitForWork();
      continue;
    }
    if (msg.message == WM_QUIT) break;  // stays posted for the loop outside
    UINT m = msg.message;
    bool mouse = m >= WM_MOUSEFIRST && m <= WM_MOUSELAST;
    Point client{msg.pt.x - bounds_.left, msg.pt.y - bounds_.top};
    bool inside = bounds_.Contains(msg.pt);
    if (mouse && IsPress(m) && !inside) break;  // the press stays in the queue
    if (!PeekMessage(msg, nullptr, 0, 0, PM_REMOVE)) continue;
    if (mouse) {
      int at = inside ? window->ItemAt(client) : -1;
      if (m == WM_MOUSEMOVE || IsPress(m)) {
        window->SetHot(window->Selectable(at) ? at : -1);
      } else if (IsRelease(m) && window->Selectable(at)) {
        bool buttonChooses = m == WM_LBUTTONUP || (m == WM_RBUTTONUP && track == tbRightButton);
        if (buttonChooses) {
          chosen = at;
          break;
        }
      }
      continue;
    }
    if (m == WM_KEYDOWN) {
      if (msg.wParam == WPARAM(VK_ESCAPE)) break;
      if (msg.wParam == WPARAM(VK_DOWN)) window->Step(1);
      else if (msg.wParam == WPARAM(VK_UP)) window->Step(-1);
      else if (msg.wParam == WPARAM(VK_RETURN) && window->Selectable(window->Hot())) {
        chosen = window->Hot();
        break;
      }
      continue;
    }
    if (m == WM_KEYUP || m == WM_CHAR) continue;
    Application->Dispatch(msg);
    if (alive.expired()) return;  // the menu was freed meanwhile; its window goes with this scope
  }

  TMenuItem* item = chosen >= 0 ? window->Item(chosen) : nullptr;
  window->Hide();
  window.reset();
  open_ = false;
  if (item) item->Click();
}

}  // namespace tlb
