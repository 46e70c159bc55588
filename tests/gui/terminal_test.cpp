// The command terminal: lines run in a persistent context, history with up
// and down, oldest lines dropped, and the terminal window opened from a script.
#include "gui/edit.h"
#include "gui/scroll.h"
#include "gui/terminal.h"
#include "gui/text.h"
#include "gui/window.h"
#include "widget_support.h"

namespace {

using kxtest::Ran;

class TerminalTest : public kxtest::widgettest {
 protected:
  kxterminal* MakeTerminal(int h = 200) {
    kxterminal* t = new kxterminal;
    t->W = 300;
    t->H = h;
    Add(t, 10, 10);
    kxgui::Focus = t->editLine;
    return t;
  }
  void Line(const char* text) {
    Type(text);
    Key(kxcode::kKeyReturn);
  }
  int Lines(kxterminal* t) { return t->ChildCount() - 1; }
};

// Lines run in a context that persists between them, quoted strings whole;
// each is kept above the edit line, newest first, and the edit line empties.
TEST_F(TerminalTest, LinesRunInAPersistentContextAndStackNewestFirst) {
  kxterminal* t = MakeTerminal();
  Line("cd /DPY/");
  Line("X = 5");
  EXPECT_EQ(kxgui::Display->X, 5);
  Line("Note( \"a; b\" )");
  ASSERT_EQ(Ran().size(), 1u);
  EXPECT_EQ(Ran()[0], "a; b");
  kxtext* kept = dynamic_cast<kxtext*>(t->editLine->nextSibling);
  ASSERT_NE(kept, nullptr);
  EXPECT_STREQ(kept->Text.Text(), "Note( \"a; b\" )");
  EXPECT_STREQ(t->editLine->text, "");
  kxgraphic* newest = kxgraphic::Of(t->editLine->nextSibling);
  kxgraphic* older = kxgraphic::Of(newest->nextSibling);
  EXPECT_EQ(t->editLine->Y, 0);
  EXPECT_EQ(newest->Y, 16);
  EXPECT_EQ(older->Y, 32);
  EXPECT_EQ(newest->W, t->W);
}

TEST_F(TerminalTest, UpAndDownWalkTheHistory) {
  kxterminal* t = MakeTerminal();
  Line("Note( \"1\" )");
  Line("Note( \"2\" )");
  Line("Note( \"3\" )");
  Key(kxcode::kKeyUp);
  EXPECT_STREQ(t->editLine->text, "Note( \"3\" )");
  Key(kxcode::kKeyUp);
  EXPECT_STREQ(t->editLine->text, "Note( \"2\" )");
  Key(kxcode::kKeyDown);
  EXPECT_STREQ(t->editLine->text, "Note( \"3\" )");
  Key(kxcode::kKeyDown);  // the newest stays
  EXPECT_STREQ(t->editLine->text, "Note( \"3\" )");
  Key(kxcode::kKeyUp);
  Key(kxcode::kKeyUp);
  Key(kxcode::kKeyUp);
  Key(kxcode::kKeyUp);  // no older line
  EXPECT_STREQ(t->editLine->text, "Note( \"1\" )");
  EXPECT_EQ(t->editLine->cursor, t->editLine->Length());
}

TEST_F(TerminalTest, OldestLinesDropAndTheEditLineStays) {
  kxterminal* t = MakeTerminal(16 * 4);
  for (int i = 0; i < 6; ++i) Line("Count");
  EXPECT_EQ(Lines(t), 3);
  t->H = 8;  // smaller than the edit line itself
  screen->Update();
  EXPECT_EQ(Lines(t), 0);
  ASSERT_NE(t->editLine, nullptr);
  EXPECT_EQ(t->firstChild, t->editLine);
}

TEST_F(TerminalTest, HistoryReturnsToTheEditLineWhenItsLineIsDropped) {
  kxterminal* t = MakeTerminal(16 * 3);
  Line("Note( \"1\" )");
  Line("Note( \"2\" )");
  Key(kxcode::kKeyUp);
  Key(kxcode::kKeyUp);
  ASSERT_NE(t->history, t->editLine);
  t->H = 16 * 2;
  screen->Update();  // drops the oldest, which the history pointed at
  EXPECT_EQ(t->history, t->editLine);
  Key(kxcode::kKeyUp);
  EXPECT_STREQ(t->editLine->text, "Note( \"2\" )");
}

TEST_F(TerminalTest, DestroyedContextFallsBackToTheCurrentNode) {
  kxterminal* t = MakeTerminal();
  kxscript::Execute("cd /Display/Invisible/; Append kxgraphic Scratch");
  Line("cd /Display/Invisible/Scratch/");
  ASSERT_EQ(t->context, kxnode::Find("/Display/Invisible/Scratch/"));
  delete t->context;
  EXPECT_EQ(t->context, nullptr);
  Line("Count");
  EXPECT_EQ(Ran().size(), 1u);
}

kxterminal* doomed = nullptr;

TEST_F(TerminalTest, CommandMayDestroyTheTerminalThatRunsIt) {
  doomed = MakeTerminal();
  kxfunction::Register("DropTerminal", +[]() {
    delete doomed;
    doomed = nullptr;
  });
  Line("DropTerminal");
  EXPECT_EQ(doomed, nullptr);
  EXPECT_EQ(screen->firstChild, nullptr);
}

TEST_F(TerminalTest, ClickAndFocusGoToTheEditLine) {
  kxterminal* t = MakeTerminal();
  Line("Count");
  Mouse(kxcode::kMouseLeftDown, 15, 10 + 20);  // on a kept line
  EXPECT_EQ(kxgui::Focus, t->editLine);
}

TEST_F(TerminalTest, HiddenTerminalWindowOpensFromAScript) {
  kxscript::Execute("cd /Display/Invisible/; Append kxwindowterminal Terminal");
  kxwindowterminal* w = dynamic_cast<kxwindowterminal*>(kxnode::Find("/Display/Invisible/Terminal/"));
  ASSERT_NE(w, nullptr);
  kxscript::Execute("/Display/Invisible/Terminal/Show");
  EXPECT_EQ(w->parent, screen);
  ASSERT_NE(w->terminal, nullptr);
  Click(w->X + 40, w->Y + 60);  // into the terminal, above the edit line
  EXPECT_EQ(kxgui::Focus, w->terminal->editLine);
  // The scroll shows the bottom of the terminal, where the edit line is.
  kxscroll* scroll = dynamic_cast<kxscroll*>(w->terminal->parent);
  ASSERT_NE(scroll, nullptr);
  EXPECT_EQ(scroll->barV, 16);
  EXPECT_EQ(scroll->sy, 0);
  Type("Count");
  Key(kxcode::kKeyReturn);
  EXPECT_EQ(Ran().size(), 1u);
}

}  // namespace
