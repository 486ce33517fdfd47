#pragma once
// Forms, the screen and the application: top-level windows composed onto the
// screen, the modal loop, deferred release and the program's message loop.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/formats/cursor_reader.h"
#include "platform/ui/backend.h"
#include "platform/ui/control.h"

namespace tlb {

enum TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter, poOwnerFormCenter };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* AOwner);
  ~TCustomForm() override;
  const char* ClassName() const override { return "TForm"; }

  TBorderStyle BorderStyle = bsSizeable;
  TPosition Position = poDesigned;
  bool KeyPreview = false;
  bool Scaled = true;
  bool OldCreateOrder = false;
  std::string IconResource;

  TNotifyEvent OnCreate, OnShow, OnHide, OnDestroy, OnPaint, OnActivate, OnDeactivate;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TKeyEvent OnKeyDown, OnKeyUp;
  TKeyPressEvent OnKeyPress;

  void Show();
  void Hide();
  TModalResult ShowModal();
  void Close();
  // Frees the form once the message loop next runs; safe inside its own handlers.
  void Release();
  bool Modal() const { return modal_; }
  TModalResult ModalResult = mrNone;
  bool CloseQuery();

  // The control with the keyboard focus: after the form's own key handlers
  // it is offered each key (a button takes Space). nullptr when none, or when
  // that control has been destroyed.
  TWinControl* ActiveControl() const { return activeAlive_.expired() ? nullptr : activeControl_; }
  void SetActiveControl(TWinControl* control);

  // Runs the OnCreate handler; the form reader calls it after loading the description.
  void DoCreate();
  // Runs the OnDestroy handler, once, while the whole form still exists.
  void BeforeDestruction() override;
  void SetBounds(int left, int top, int width, int height) override;
  void SetClientSize(int w, int h) override { SetBounds(left_, top_, w, h); }

  // The form's off-screen surface and its invalid area (client coordinates).
  Dib& Surface() { return surface_; }
  void InvalidateArea(const Rect& r);
  bool Dirty() const { return !dirty_.empty(); }
  // Paints the invalid area now.
  void PaintNow();
  void WndProc(TMessage& message) override;

  void PaintBackground(TCanvas& canvas) override;

 protected:
  virtual void DoShow();
  virtual void DoHide();
  void VisibleChanging() override;

 private:
  void KeyDown(TMessage& m);
  void KeyPress(TMessage& m);
  // Offers a key message to the active control; true when it took the key.
  bool OfferToActiveControl(TMessage& m);
  void PlaceOnScreen();

  Dib surface_;
  Rect dirty_;
  bool modal_ = false;
  bool shownOnce_ = false;
  bool releasePending_ = false;
  bool destroyHandled_ = false;
  TWinControl* activeControl_ = nullptr;
  std::weak_ptr<void> activeAlive_;
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* AOwner) : TCustomForm(AOwner) {}
};

class TScreen {
 public:
  TScreen() = default;
  ~TScreen();
  TScreen(const TScreen&) = delete;
  TScreen& operator=(const TScreen&) = delete;
  int Width() const;
  int Height() const;
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c);
  // Registered cursors by index; an empty slot shows the default arrow.
  void SetCursorImage(TCursor index, std::shared_ptr<CursorImage> image);
  const CursorImage* CursorImageAt(TCursor index) const;
  bool HasCursor(TCursor index) const { return cursors_.count(index) > 0; }

  // The shown top-level forms, bottom first.
  const std::vector<TCustomForm*>& Forms() const { return zOrder_; }
  int FormCount() const { return int(zOrder_.size()); }
  TCustomForm* ActiveForm() const;

  void AddForm(TCustomForm* f);
  void RemoveForm(TCustomForm* f);
  void BringToFront(TCustomForm* f);
  // Recomputes the pointer's shape from Screen.Cursor or the control under it.
  void UpdateCursor();
  // Composes the forms onto the screen surface and shows the changed part.
  void Compose(const Rect& dirty);
  Dib& Surface() { return screen_; }
  void Reset();

 private:
  TCursor cursor_ = crDefault;
  std::map<TCursor, std::shared_ptr<CursorImage>> cursors_;
  std::vector<TCustomForm*> zOrder_;
  Dib screen_;
  Rect pendingCompose_;  // an area whose composing waits for a form's first paint
  int shownCursor_ = 1;
};

using TExceptionEvent = std::function<void(TObject* Sender, const std::exception& E)>;

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;
  const char* ClassName() const override { return "TApplication"; }

  std::string Title;
  void Initialize() {}
  // Creates a form owned by the application; the first one becomes the main form.
  template <typename FormT>
  FormT* CreateForm() {
    auto* f = new FormT(this);
    if (!mainForm_) mainForm_ = f;
    return f;
  }
  void SetMainFormIfNone(TCustomForm* f) { if (!mainForm_) mainForm_ = f; }
  TCustomForm* MainForm() const { return mainForm_; }
  // Shows the main form and runs the message loop until it closes.
  void Run();
  // Dispatches every waiting message (due timers and paints included) and returns at
  // once: a fixed number of pumps costs no timer period. Waiting belongs to PumpUntil.
  void ProcessMessages();
  // Waits for one message and handles it.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // The one catch of the message loop: shows the exception in a stop box.
  void HandleException(const std::exception& e);
  TExceptionEvent OnException;
  TNotifyEvent OnIdle;

  // The control under the pointer as of the last idle time.
  TControl* MouseControl() const { return mouseControl_; }
  void ForgetControl(TControl* c);
  bool Active() const;
  // Dispatches one message (hooks, window procedure, exceptions caught).
  void Dispatch(MSG& msg);
  bool NewStyleControls = true;
  TControl* CaptureControl = nullptr;

 private:
  bool ProcessMessage();
  void Idle();
  TCustomForm* mainForm_ = nullptr;
  bool terminated_ = false;
  TControl* mouseControl_ = nullptr;
  bool active_ = true;
};

extern TApplication* Application;
extern TScreen* Screen;

// Starts a program run: a fresh application, screen and queue over `backend`.
// The previous run's forms are freed. Tests start one per case.
void StartProgramRun(Backend* backend);
void EndProgramRun();

// Waits in a message-pumping loop until `done` holds, the application is terminated or quit is posted.
// Between pumps with nothing to do it sleeps until the next due event (the headless
// backend moves its virtual clock instead), so a waiting loop costs no busy processor time.
void PumpUntil(const std::function<bool()>& done);

HWND GetActiveWindow();

// Tells every control of every form that the system colours changed (after the table changed).
void BroadcastSysColorChange();

// A cursor or icon of the program's resources ("cursor.<name>.cur"-style file names
// are the caller's); nullptr when the program has no such resource.
std::shared_ptr<CursorImage> LoadCursorResource(const std::string& resourceName);

// Loads the program's cursor resource "cursor.<name>.cur" into the screen's slot `index`
// for the whole program; a missing resource leaves the slot empty.
void RegisterCursor(TCursor index, const std::string& name);

}  // namespace tlb
