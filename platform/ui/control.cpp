#include "platform/ui/control.h"

#include <algorithm>

#include "platform/ui/forms.h"
#include "platform/ui/hooks.h"
#include "platform/ui/message_queue.h"

namespace tlb {

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  font_.OnChange = [this] { FontChanged(); };
}

TControl::~TControl() {
  if (Application) Application->ForgetControl(this);
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent_) parent_->RemoveControl(this);
  if (parent) {
    parent->InsertControl(this);
    if (parentColor_) color_ = parent->Color();
    if (parentFont_) {
      auto handler = std::move(font_.OnChange);
      font_.Assign(parent->Font());
      font_.OnChange = std::move(handler);
    }
  }
}

void TControl::SetBounds(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  InvalidateOnParent(true);
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  InvalidateOnParent(true);
  if (auto* w = dynamic_cast<TWinControl*>(this)) w->Realign();
  if (parent_ && align_ != alNone) parent_->Realign();
}

void TControl::SetVisible(bool v) {
  if (v == visible_) return;
  VisibleChanging();
  if (!v) InvalidateOnParent(true);
  visible_ = v;
  if (v) InvalidateOnParent(true);
  if (!v && Application && Application->CaptureControl == this) Application->CaptureControl = nullptr;
  if (parent_ && align_ != alNone) parent_->Realign();
}

bool TControl::Showing() const {
  const TControl* c = this;
  while (c) {
    if (!c->visible_) return false;
    if (!c->parent_) return dynamic_cast<const TCustomForm*>(c) != nullptr;
    c = c->parent_;
  }
  return false;
}

void TControl::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Perform(CM_ENABLEDCHANGED);
  Invalidate();
}

void TControl::SetCursor(TCursor c) {
  if (c == cursor_) return;
  cursor_ = c;
  if (Screen) Screen->UpdateCursor();
}

void TControl::SetColor(TColor c) {
  if (c == color_ && !parentColor_) return;
  color_ = c;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
  Invalidate();
}

void TControl::SetParentColor(bool v) {
  parentColor_ = v;
  if (v && parent_) {
    color_ = parent_->Color();
    Invalidate();
  }
}

void TControl::SetParentFont(bool v) {
  parentFont_ = v;
  if (v && parent_) {
    font_.Assign(parent_->Font());
    parentFont_ = true;
  }
}

void TControl::FontChanged() {
  // A font set on the control itself is no longer the parent's.
  parentFont_ = false;
  Perform(CM_FONTCHANGED);
  Invalidate();
}

void TControl::SetCaption(const std::string& text) {
  if (text == caption_) return;
  caption_ = text;
  Perform(CM_TEXTCHANGED);
  Invalidate();
}

void TControl::SetAlign(TAlign a) {
  if (a == align_) return;
  align_ = a;
  if (parent_) parent_->Realign();
}

Point TControl::OriginInWindow() const {
  if (IsWindowed()) return {0, 0};
  Point p{left_, top_};
  return p;
}

void TControl::InvalidateOnParent(bool erase) {
  lastErase_ = erase;
  if (!visible_) return;
  // The rectangle in the coordinates of the form that holds the control.
  Point p{0, 0};
  const TControl* c = this;
  TCustomForm* form = nullptr;
  while (c) {
    if (auto* f = dynamic_cast<const TCustomForm*>(c); f && !c->parent_) {
      form = const_cast<TCustomForm*>(f);
      break;
    }
    if (!c->visible_) return;
    p.x += c->left_;
    p.y += c->top_;
    c = c->parent_;
  }
  if (!form) return;
  if (form == this) form->InvalidateArea({0, 0, width_, height_});
  else form->InvalidateArea(Rect::FromSize(p.x, p.y, width_, height_));
}

void TControl::Invalidate() { InvalidateOnParent((ControlStyle & csOpaque) == 0); }

void TControl::Update() {
  if (TCustomForm* f = GetParentForm(this)) {
    if (f->Dirty()) f->PaintNow();
  }
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  TWinControl* p = parent_;
  p->RemoveControl(this);
  p->InsertControl(this);
  Invalidate();
}

Point TControl::ClientToScreen(Point pt) const {
  const TControl* c = this;
  while (c) {
    pt.x += c->left_;
    pt.y += c->top_;
    c = c->parent_;
  }
  return pt;
}

Point TControl::ScreenToClient(Point pt) const {
  Point o = ClientToScreen({0, 0});
  return {pt.x - o.x, pt.y - o.y};
}

bool TControl::MouseCapture() const { return Application && Application->CaptureControl == this; }

void TControl::SetMouseCapture(bool v) {
  if (!Application) return;
  if (v) Application->CaptureControl = this;
  else if (Application->CaptureControl == this) Application->CaptureControl = nullptr;
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
    HandleMouse(m);
    return;
  }
  if (m.Msg == WM_CANCELMODE) {
    SetMouseCapture(false);
    ControlState &= ~unsigned(csClicked);
  }
}

namespace {
TShiftState ShiftFromKeys(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  return s;
}
}  // namespace

void TControl::HandleMouse(TMessage& m) {
  Point p = PointFromLParam(m.LParam);
  TShiftState shift = ShiftFromKeys(m.WParam);
  UINT msg = m.Msg;
  // Without csDoubleClicks a fast second press is an ordinary press.
  bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
  if (dbl && !(ControlStyle & csDoubleClicks)) {
    msg -= 2;  // WM_xBUTTONDBLCLK is two above WM_xBUTTONDOWN
    dbl = false;
  }
  switch (msg) {
    case WM_MOUSEMOVE:
      MouseMove(shift, p.x, p.y);
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
      // The second press of a double click makes no click of its own on release.
      if ((ControlStyle & csClickEvents) && !dbl) ControlState |= csClicked;
      if (dbl && (ControlStyle & csClickEvents)) DblClick();
      MouseDown(mbLeft, shift | ssLeft | (dbl ? unsigned(ssDouble) : 0u), p.x, p.y);
      break;
    case WM_LBUTTONUP:
      if (ControlStyle & csCaptureMouse) SetMouseCapture(false);
      if (ControlState & csClicked) {
        ControlState &= ~unsigned(csClicked);
        if (ClientRect().Contains(p)) Click();
      }
      MouseUp(mbLeft, shift, p.x, p.y);
      break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      MouseDown(mbRight, shift | ssRight | (dbl ? unsigned(ssDouble) : 0u), p.x, p.y);
      break;
    case WM_RBUTTONUP:
      MouseUp(mbRight, shift, p.x, p.y);
      break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      MouseDown(mbMiddle, shift | ssMiddle | (dbl ? unsigned(ssDouble) : 0u), p.x, p.y);
      break;
    case WM_MBUTTONUP:
      MouseUp(mbMiddle, shift, p.x, p.y);
      break;
  }
}

void TControl::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, b, s, x, y);
}
void TControl::MouseMove(TShiftState s, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, s, x, y);
}
void TControl::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, b, s, x, y);
}
void TControl::Click() {
  if (OnClick) OnClick(this);
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TGraphicControl::PaintTo(TCanvas& canvas) {
  canvas_.Font.Assign(font_);
  canvas_.Attach(canvas.Surface(), canvas.Origin(), canvas.ClipRect());
  Paint();
  canvas_.Detach();
}

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  ControlStyle |= csAcceptsControls;
  color_ = clBtnFace;
}

TWinControl::~TWinControl() {
  // The window goes away: the thread's CBT hooks hear of it first, as in Windows.
  CallCbtHooks(HCBT_DESTROYWND, reinterpret_cast<WPARAM>(static_cast<HWND>(this)), 0);
  MessageQueue::Instance().PurgeWindow(this);
  // Children owned elsewhere lose their parent now.
  for (TControl* c : std::vector<TControl*>(controls_)) c->parent_ = nullptr;
  controls_.clear();
}

void TWinControl::InsertControl(TControl* c) {
  controls_.push_back(c);
  c->parent_ = this;
  if (c->align_ != alNone) Realign();
  c->Invalidate();
}

void TWinControl::RemoveControl(TControl* c) {
  c->InvalidateOnParent(true);
  controls_.erase(std::remove(controls_.begin(), controls_.end(), c), controls_.end());
  c->parent_ = nullptr;
}

TControl* TWinControl::ControlAtPos(Point p, bool allowDisabled) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (c->IsWindowed() || !c->visible_) continue;
    if (!c->enabled_ && !allowDisabled) continue;
    if (c->BoundsRect().Contains(p)) return c;
  }
  return nullptr;
}

TWinControl* TWinControl::WindowAtPos(Point p) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!c->IsWindowed() || !c->visible_ || !c->enabled_) continue;
    if (c->BoundsRect().Contains(p)) return static_cast<TWinControl*>(c);
  }
  return nullptr;
}

void TWinControl::Realign() {
  Rect area = ClientRect();
  for (TControl* c : controls_) {
    if (!c->visible_ || c->align_ == alNone) continue;
    int l = c->left_, t = c->top_, w = c->width_, h = c->height_;
    switch (c->align_) {
      case alTop: l = area.left; t = area.top; w = area.width(); area.top += h; break;
      case alBottom: l = area.left; t = area.bottom - h; w = area.width(); area.bottom -= h; break;
      case alLeft: l = area.left; t = area.top; h = area.height(); area.left += w; break;
      case alRight: l = area.right - w; t = area.top; h = area.height(); area.right -= w; break;
      case alClient: l = area.left; t = area.top; w = area.width(); h = area.height(); break;
      case alNone: break;
    }
    if (l != c->left_ || t != c->top_ || w != c->width_ || h != c->height_) {
      c->InvalidateOnParent(true);
      c->left_ = l; c->top_ = t; c->width_ = w; c->height_ = h;
      c->InvalidateOnParent(true);
      if (auto* wc = dynamic_cast<TWinControl*>(c)) wc->Realign();
    }
  }
}

TCustomForm* TWinControl::ParentFormOf() const { return GetParentForm(this); }

bool TWinControl::CanFocus() const {
  const TControl* c = this;
  while (c) {
    if (!c->Visible() || !c->Enabled()) return false;
    c = c->Parent();
  }
  return true;
}

void TWinControl::Broadcast(TMessage& m) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    c->WndProc(m);
    // A key taken by one control is not offered to the next; a colour change goes to all.
    if (m.Result && m.Msg != CM_SYSCOLORCHANGE) return;
  }
}

void TWinControl::WndProc(TMessage& m) {
  // Dialog keys and accelerators reach the controls inside panels too.
  if ((m.Msg == CM_DIALOGKEY || m.Msg == CM_DIALOGCHAR || m.Msg == CM_SYSCOLORCHANGE) && !dynamic_cast<TCustomForm*>(this)) {
    TControl::WndProc(m);
    if (!m.Result || m.Msg == CM_SYSCOLORCHANGE) Broadcast(m);
    return;
  }
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
    // Mouse messages over a windowless child go to that child (or to the one holding the capture).
    Point p = PointFromLParam(m.LParam);
    TControl* target = nullptr;
    if (Application && Application->CaptureControl && !Application->CaptureControl->IsWindowed() &&
        Application->CaptureControl->Parent() == this)
      target = Application->CaptureControl;
    else if (!(Application && Application->CaptureControl == this))
      target = ControlAtPos(p, false);
    if (target) {
      TMessage child = m;
      child.LParam = MakeLParam(p.x - target->Left(), p.y - target->Top());
      target->WndProc(child);
      m.Result = child.Result;
      return;
    }
  }
  TControl::WndProc(m);
}

void TWinControl::PaintBackground(TCanvas& canvas) {
  canvas.Brush.Color = color_;
  canvas.Brush.Style = bsSolid;
  canvas.Brush.Bitmap = nullptr;
  canvas.FillRect(ClientRect());
}

void TWinControl::PaintWindow(TCanvas& canvas) {
  PaintBackground(canvas);
  Rect clip = canvas.ClipRect();
  Point origin = canvas.Origin();
  // Graphic controls first, in creation order; windowed controls above them.
  for (int pass = 0; pass < 2; ++pass) {
    for (TControl* c : std::vector<TControl*>(controls_)) {
      if (!c->visible_ || c->IsWindowed() != (pass == 1)) continue;
      Rect r = c->BoundsRect().Offset(origin.x, origin.y);
      Rect childClip = clip.Intersect(r);
      if (childClip.empty()) continue;
      TCanvas childCanvas;
      childCanvas.Attach(canvas.Surface(), {r.left, r.top}, childClip);
      if (pass == 1) static_cast<TWinControl*>(c)->PaintWindow(childCanvas);
      else c->PaintTo(childCanvas);
    }
  }
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState s = 0;
  if (GetKeyState(VK_SHIFT) < 0) s |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) s |= ssCtrl;
  if (uint32_t(keyData) & 0x20000000u) s |= ssAlt;
  return s;
}

TCustomForm* GetParentForm(const TControl* control) {
  const TControl* c = control;
  while (c && c->Parent()) c = c->Parent();
  return const_cast<TCustomForm*>(dynamic_cast<const TCustomForm*>(c));
}

TControl* FindDragTarget(Point screenPos, bool allowDisabled) {
  if (!Screen) return nullptr;
  const auto& forms = Screen->Forms();
  for (auto it = forms.rbegin(); it != forms.rend(); ++it) {
    TCustomForm* f = *it;
    // A disabled top-level window is not found at a point, as WindowFromPoint skips it.
    if (!f->Visible() || !f->Enabled() || !f->BoundsRect().Contains(screenPos)) continue;
    TWinControl* w = f;
    Point p{screenPos.x - f->Left(), screenPos.y - f->Top()};
    while (TWinControl* child = w->WindowAtPos(p)) {
      p = {p.x - child->Left(), p.y - child->Top()};
      w = child;
    }
    if (TControl* c = w->ControlAtPos(p, allowDisabled)) return c;
    return w;
  }
  return nullptr;
}

LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!hwnd) return 0;
  CallWndProcHooks(hwnd, msg, wParam, lParam);
  TMessage m{msg, wParam, lParam, 0};
  hwnd->WndProc(m);
  return m.Result;
}

}  // namespace tlb
