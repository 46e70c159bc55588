// The edit field's cursor, insertion, scrolling, alignment, Tab navigation
// and Return command; the text label's placement.
#include "gui/edit.h"
#include "gui/text.h"
#include "gui/list_item.h"
#include "widget_support.h"

namespace {

using kxtest::Ran;

class EditTest : public kxtest::widgettest {
 protected:
  kxedit* MakeEdit() {
    kxedit* e = Add(new kxedit, 100, 100);
    Mouse(kxcode::kMouseLeftDown, 105, 105);  // the focus
    Mouse(kxcode::kMouseLeftUp, 105, 105);
    return e;
  }
};

TEST_F(EditTest, HomeThenACharacterInsertsInFront) {
  kxedit* e = MakeEdit();
  Type("abc");
  Key(kxcode::kKeyHome);
  Type("x");
  EXPECT_STREQ(e->text, "xabc");
  EXPECT_EQ(e->cursor, 1);
  EXPECT_EQ(e->cursorX, kAdvance);
}

TEST_F(EditTest, BackspaceDeleteAndArrowsEditAtTheCursor) {
  kxedit* e = MakeEdit();
  Type("hello");
  Key(kxcode::kKeyLeft);
  Key(kxcode::kKeyLeft);
  Key(kxcode::kKeyBackspace);  // removes the first "l"
  EXPECT_STREQ(e->text, "helo");
  Key(kxcode::kKeyDelete);  // removes the second "l"
  EXPECT_STREQ(e->text, "heo");
  Key(kxcode::kKeyEnd);
  Key(kxcode::kKeyRight);  // clamped at the end
  EXPECT_EQ(e->cursor, 3);
  Key(kxcode::kKeyHome);
  Key(kxcode::kKeyBackspace);
  Key(kxcode::kKeyLeft);
  EXPECT_EQ(e->cursor, 0);
  EXPECT_STREQ(e->text, "heo");
}

// Characters beyond the maximum are refused; a maximum above the buffer
// counts as 255.
TEST_F(EditTest, CharactersBeyondTheMaximumAreRefused) {
  kxedit* e = MakeEdit();
  e->maxLength = 3;
  Type("abcdef");
  EXPECT_STREQ(e->text, "abc");
  e->SetText("");
  e->maxLength = 100000;
  std::string many(300, 'q');
  Type(many.c_str());
  EXPECT_EQ(e->Length(), 255);
  EXPECT_EQ(e->text[255], 0);
}

TEST_F(EditTest, LongTextScrollsToKeepTheCursorInside) {
  kxedit* e = MakeEdit();  // 100 px wide
  Type("abcdefghijklmnopqrst");  // 140 px
  EXPECT_EQ(e->cursorX, 100 - 2);
  EXPECT_EQ(e->scroll, 98 - 140);
  Key(kxcode::kKeyHome);
  EXPECT_EQ(e->scroll, 0);
  EXPECT_EQ(e->cursorX, 0);
}

TEST_F(EditTest, ClickPutsTheCursorAtTheCharacterUnderThePointer) {
  kxedit* e = MakeEdit();
  Type("abcdefgh");
  Mouse(kxcode::kMouseLeftDown, 100 + 3 * kAdvance + 3, 105);
  EXPECT_EQ(e->cursor, 3);
}

TEST_F(EditTest, TabMovesTheFocusBetweenSiblingFields) {
  kxgraphic* panel = Add(new kxgraphic(0, 0, 300, 100), 0, 0);
  kxedit* a = new kxedit(0, 0, 50, 20);
  kxedit* b = new kxedit(0, 30, 50, 20);
  panel->AppendChild(a);
  panel->AppendChild(new kxtext("x", 0, 60));
  panel->AppendChild(b);
  a->tabNavigation = b->tabNavigation = 1;
  kxgui::Focus = a;
  Key(kxcode::kKeyTab);
  EXPECT_EQ(kxgui::Focus, b);
  Key(kxcode::kKeyTab);  // no next field
  EXPECT_EQ(kxgui::Focus, b);
  Key(kxcode::kKeyTab, kxcode::kModShift);
  EXPECT_EQ(kxgui::Focus, a);
  a->tabNavigation = 0;
  Key(kxcode::kKeyTab);
  EXPECT_EQ(kxgui::Focus, a);
}

TEST_F(EditTest, ReturnPassesTheTextQuotedSoItCannotBreakTheCommand) {
  kxedit* e = MakeEdit();
  e->OnReturn = "Note";
  Type("say \"hi\"; Count");
  Key(kxcode::kKeyReturn);
  ASSERT_EQ(Ran().size(), 1u);
  EXPECT_EQ(Ran()[0], "say \"hi\"; Count");
  e->SetText("back\\slash");
  EXPECT_STREQ(e->ReturnCommand().Text(), "Note( \"back\\\\slash\" )");
  e->OnReturn = "";  // still runs the quoted text
  e->SetText("abc");
  EXPECT_STREQ(e->ReturnCommand().Text(), "( \"abc\" )");
}

TEST_F(EditTest, RightAlignedTextEndsTwoPixelsBeforeTheEdge) {
  kxedit* e = MakeEdit();
  e->rightAlign = 1;
  Type("12");
  EXPECT_EQ(e->scroll, 100 - 14 - 2);
  EXPECT_EQ(e->cursorX, 100 - 2);
}

TEST_F(EditTest, OtherKeysAndCtrlWithALetterGoToTheParent) {
  struct catcher : kxgraphic {
    int last = 0;
    void OnKey(int, int code) override { last = code; }
  };
  catcher* panel = new catcher;
  panel->W = 300, panel->H = 100;
  Add(panel, 0, 0);
  kxedit* e = new kxedit(0, 0, 50, 20);
  panel->AppendChild(e);
  kxgui::Focus = e;
  Key(kxcode::kKeyF1);
  EXPECT_EQ(panel->last, kxcode::kKeyF1);
  // Ctrl with a letter is a shortcut, not text: the field keeps its text and
  // hands the key on.
  e->SetText("60.1");
  Key('a', kxcode::kModCtrl);
  EXPECT_STREQ(e->text, "60.1");
  EXPECT_EQ(panel->last, 'a' | kxcode::kModCtrl);
  Key('A', kxcode::kModShift);
  EXPECT_STREQ(e->text, "60.1A");
}

class TextTest : public kxtest::widgettest {};

TEST_F(TextTest, LabelSizedToItsText) {
  kxtext t("Name", 5, 6);
  EXPECT_EQ(t.W, 4 * kAdvance + 2);
  EXPECT_EQ(t.H, 20);
}

TEST_F(TextTest, CentredAndRightAlignedLabelsFollowTheirParent) {
  kxgraphic* panel = Add(new kxgraphic(0, 0, 200, 50), 0, 0);
  kxtext* centred = new kxtext("abcd", 0, 0, 10, 16);
  kxtext* right = new kxtext("abcdef", 0, 20, 10, 16);
  centred->centre = 1;
  right->right = 1;
  panel->AppendChild(centred);
  panel->AppendChild(right);
  screen->Update();
  EXPECT_EQ(centred->W, 30);
  EXPECT_EQ(centred->X, 100 - 15 - 2);
  EXPECT_EQ(right->W, 44);
  EXPECT_EQ(right->X + right->W, 198);
  right->Text = "a";
  screen->Update();
  EXPECT_EQ(right->X + right->W, 198);
}

TEST_F(TextTest, ClickCommandsRunWithTheTextAsContext) {
  kxtext* t = Add(new kxtext("hit", 0, 0, 50, 16), 10, 10);
  t->onLeftDown = "Note( Text )";
  t->onLeftDouble = "Count";
  Mouse(kxcode::kMouseLeftDown, 12, 12);
  Mouse(kxcode::kMouseLeftDouble, 12, 12);
  ASSERT_EQ(Ran().size(), 2u);
  EXPECT_EQ(Ran()[0], "hit");
  EXPECT_EQ(Ran()[1], "count");
}

TEST_F(TextTest, ListItemWrapsAtWordsAndLineFeeds) {
  // 10 characters per 70 px line.
  auto lines = kxlistitem::Wrap("one two three four\n five", 70);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], "one two");
  EXPECT_EQ(lines[1], "three four");
  EXPECT_EQ(lines[2], "five");
  auto wide = kxlistitem::Wrap("extraordinarily long", 35);
  ASSERT_EQ(wide.size(), 2u);
  EXPECT_EQ(wide[0], "extraordinarily");
  EXPECT_EQ(wide[1], "long");
  // A path wider than the line breaks after its slashes, read whole.
  auto path = kxlistitem::Wrap("at aircraft/christeneagle/x.kxd", 70);
  EXPECT_EQ(path, (std::vector<std::string>{"at", "aircraft/", "christeneagle/", "x.kxd"}));
}

}  // namespace
