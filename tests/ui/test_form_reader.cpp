// Form descriptions: components made by class name, properties set by table,
// handlers bound by name, and every unknown name an error with file and line.
#include <gtest/gtest.h>

#include "platform/core/cp1250.h"
#include "platform/ui/form_reader.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"
#include "tests/support/headless_run.h"

namespace tlb {
namespace {

using testing::HeadlessRun;

class TFORM_Test : public TForm {
 public:
  explicit TFORM_Test(TComponent* owner) : TForm(owner) {
    ClassRegistry::Instance().RegisterClass("TFORM_Test", "TForm", nullptr);
  }
  const char* ClassName() const override { return "TFORM_Test"; }
};

// A form that binds its handlers and components by their own names.
class TFORM_Bound : public TFORM_Test {
 public:
  explicit TFORM_Bound(TComponent* owner) : TFORM_Test(owner) {}
  TLabel* inner = nullptr;
  TTimer* tick = nullptr;
  int created = 0, clicked = 0;
  uint16_t lastKey = 0;
  void FormCreate(TObject*) { ++created; }
  void Clicked(TObject*) { ++clicked; }
  void FormKeyDown(TObject*, uint16_t& Key, TShiftState) { lastKey = Key; }
};

const char* kGood = R"(object FORM_Test: TFORM_Test
  Left = 0
  ClientWidth = 640
  ClientHeight = 480
  BorderStyle = bsNone
  Caption = 'Kámen, nůžky, papír...'
  Color = clGreen
  KeyPreview = True
  OnCreate = FormCreate
  object panel: TPanel
    Left = 10
    Top = 20
    Width = 100
    Height = 50
    BevelOuter = bvNone
    Color = $00AA00
    object inner: TLabel
      Left = 2
      Top = 3
      Caption = 'a''b'
      Font.Height = -27
      Font.Style = [fsBold, fsItalic]
      OnClick = Clicked
    end
  end
  object tick: TTimer
    Interval = 500
    Tag = 111
    OnTimer = Clicked
  end
end
)";

struct FormReaderFixture : ::testing::Test {
  HeadlessRun run;
  HandlerTable handlers;
  int created = 0, clicked = 0;
  FormReaderFixture() {
    handlers.Add("FormCreate", TNotifyEvent([this](TObject*) { ++created; }));
    handlers.Add("Clicked", TNotifyEvent([this](TObject*) { ++clicked; }));
  }
  std::string ErrorOf(const std::string& text) {
    auto* f = new TFORM_Test(Application);
    try {
      LoadFormDescriptionText(f, text, "test.dfm", handlers);
    } catch (const EReadError& e) {
      return e.Message;
    }
    return "";
  }
};

TEST_F(FormReaderFixture, ReadsComponentsPropertiesNestingAndHandlers) {
  auto* f = new TFORM_Test(Application);
  LoadFormDescriptionText(f, kGood, "test.dfm", handlers);
  EXPECT_EQ(f->Name, "FORM_Test");
  EXPECT_EQ(f->Caption(), Cz("Kámen, nůžky, papír..."));
  EXPECT_EQ(f->Color(), clGreen);
  EXPECT_EQ(f->ClientWidth(), 640);
  EXPECT_TRUE(f->KeyPreview);
  auto* panel = FindAs<TPanel>(f, "panel");
  auto* inner = FindAs<TLabel>(f, "inner");
  EXPECT_EQ(inner->Parent(), panel);
  EXPECT_EQ(inner->Owner(), f);
  EXPECT_EQ(inner->Caption(), "a'b");
  EXPECT_EQ(inner->Font().Height(), -27);
  EXPECT_EQ(panel->Color(), 0x00AA00);
  auto* tick = FindAs<TTimer>(f, "tick");
  EXPECT_EQ(tick->Tag, 111);
  EXPECT_EQ(tick->Interval(), 500);
  inner->OnClick(inner);
  EXPECT_EQ(clicked, 1);
  EXPECT_EQ(created, 0);  // OnCreate runs when the form asks, after loading
  f->DoCreate();
  EXPECT_EQ(created, 1);
}

TEST_F(FormReaderFixture, BoundMethodsAndComponentsTakeTheirOwnNames) {
  struct Binder : TFORM_Bound {
    using TFORM_Bound::TFORM_Bound;
    void Load(const std::string& text) {
      HandlerTable h;
      TLB_HANDLER(h, FormCreate);
      TLB_HANDLER(h, Clicked);
      TLB_HANDLER(h, FormKeyDown);
      LoadFormDescriptionText(this, text, "bound.dfm", h);
      TLB_COMPONENT(inner);
      TLB_COMPONENT(tick);
    }
  };
  auto* f = new Binder(Application);
  std::string text = kGood;
  text.replace(text.find("  OnCreate"), 0, "  OnKeyDown = FormKeyDown\n");
  f->Load(text);
  ASSERT_EQ(f->inner, FindAs<TLabel>(f, "inner"));
  ASSERT_EQ(f->tick, FindAs<TTimer>(f, "tick"));
  f->inner->OnClick(f->inner);
  f->DoCreate();
  uint16_t key = 27;
  f->OnKeyDown(f, key, {});
  EXPECT_EQ(f->clicked, 1);
  EXPECT_EQ(f->created, 1);
  EXPECT_EQ(f->lastKey, 27);

  // A bound method of the wrong shape is refused by name, and so is a field of another class.
  auto* g = new Binder(Application);
  std::string wrong = kGood;
  wrong.replace(wrong.find("  OnCreate"), 0, "  OnKeyDown = Clicked\n");
  try {
    g->Load(wrong);
    ADD_FAILURE() << "a notify handler was bound to a key event";
  } catch (const EReadError& e) {
    EXPECT_EQ(e.Message, "bound.dfm(9): handler 'Clicked' does not fit event OnKeyDown");
  }
  TImage* notALabel = nullptr;
  EXPECT_THROW(FindInto(f, "inner", notALabel), EReadError);
}

TEST_F(FormReaderFixture, ErrorsNameTheFileAndLine) {
  struct Case {
    const char* why;
    std::string text;
    std::string expected;
  } cases[] = {
      {"unknown class", "object FORM_Test: TFORM_Test\n  object x: TNoSuchThing\n  end\nend\n",
       "test.dfm(2): unknown class TNoSuchThing"},
      {"unknown property", "object FORM_Test: TFORM_Test\n  Colour = clRed\nend\n",
       "test.dfm(2): unknown property Colour of TFORM_Test"},
      {"unknown handler", "object FORM_Test: TFORM_Test\n\n  OnCreate = NoSuchHandler\nend\n",
       "test.dfm(3): unknown handler 'NoSuchHandler' for OnCreate"},
      {"handler of another type", "object FORM_Test: TFORM_Test\n  OnKeyDown = Clicked\nend\n",
       "test.dfm(2): handler 'Clicked' does not fit event OnKeyDown"},
      {"wrong root class", "object FORM_Test: TFORM_Other\nend\n",
       "test.dfm(1): the description is of class TFORM_Other, the form is TFORM_Test"},
      {"missing end", "object FORM_Test: TFORM_Test\n  Left = 1\n", "test.dfm(3): missing end"},
      {"unterminated string", "object FORM_Test: TFORM_Test\n  Caption = 'abc\nend\n",
       "test.dfm(2): unterminated string"},
      {"unknown colour", "object FORM_Test: TFORM_Test\n  Color = clPlaid\nend\n", "test.dfm(2): unknown colour"},
      {"a number past 32 bits", "object FORM_Test: TFORM_Test\n  Tag = $aaaaaaaaaaaaaaaa\nend\n",
       "test.dfm(2): bad number"},
      {"a decimal number out of range", "object FORM_Test: TFORM_Test\n  Tag = 2147483648\nend\n",
       "test.dfm(2): number out of range"},
      {"duplicate name", "object FORM_Test: TFORM_Test\n  object a: TImage\n  end\n  object a: TImage\n  end\nend\n",
       "test.dfm(4): duplicate component name a"},
  };
  for (const auto& c : cases) EXPECT_EQ(ErrorOf(c.text), c.expected) << c.why;
}

// A form of `levels` objects, each panel inside the one before, one per line.
std::string NestedPanels(int levels) {
  std::string text = "object FORM_Test: TFORM_Test\n";
  for (int k = 2; k <= levels; ++k) text += "object p" + std::to_string(k) + ": TPanel\n";
  for (int k = 1; k <= levels; ++k) text += "end\n";
  return text;
}

TEST_F(FormReaderFixture, ObjectsNestedDeeperThanAnyFormNeedsAreRefusedWithTheirLine) {
  // The reader goes one level deeper per object: a deep nesting must not exhaust the stack.
  for (int levels : {33, 2000, 100000})
    EXPECT_EQ(ErrorOf(NestedPanels(levels)), "test.dfm(33): objects nested more than 32 deep") << levels;

  auto* f = new TFORM_Test(Application);
  LoadFormDescriptionText(f, NestedPanels(32), "test.dfm", handlers);
  int depth = 1;
  for (TControl* c = FindAs<TPanel>(f, "p32"); c != f; c = c->Parent()) ++depth;
  EXPECT_EQ(depth, 32);
}

}  // namespace
}  // namespace tlb
