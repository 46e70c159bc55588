// The Save As dialog as a user meets it: the name is typed at once and
// again after a refusal, an old refusal is gone when it opens again, the
// new aircraft takes the old one's thumbnail and its name shows at once, a
// folder that cannot be made is told in the language in use, and every
// prompt and refusal shows whole in every shipped language. Runs on a copy
// of the trainer in a temporary folder.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/interpreter.h"
#include "copied_data.h"
#include "designer/design_object.h"
#include "designer/save_dialog.h"
#include "dynamics/writers.h"
#include "graphics/file_bytes.h"
#include "graphics/font.h"
#include "gui/button.h"
#include "gui/edit.h"
#include "gui/list_item.h"
#include "gui/paint.h"
#include "gui/window.h"
#include "platform/codes.h"

namespace {

namespace fs = std::filesystem;

class SaveAsDialogTest : public designertest::copieddatafixture {
 protected:
  void SetUp() override {
    copieddatafixture::SetUp();
    kxdtest::CopyFromData("svgelanguage");
  }
  static std::string Message() { return State().saveAsMessage->Text.Str(); }
  // A click on the pixel (x, y) of a shown widget, in its own coordinates.
  void ClickAt(const kxgraphic* widget, int x, int y) {
    for (const kxgraphic* g = widget; g && g != kxgui::Visible; g = g->ParentWidget()) x += g->X, y += g->Y;
    Click(x, y);
  }
  void ClickOk() {
    for (kxnode* c = State().saveAsDialog->firstChild; c; c = c->nextSibling) {
      if (const kxbutton* b = kxnode::As<kxbutton>(c); b && b->Text.Equal("Ok")) ClickAt(b, b->W / 2, b->H / 2);
    }
  }
};

TEST_F(SaveAsDialogTest, NameIsTypedAtOnceAndAnOldRefusalIsGoneOnOpening) {
  Enter();
  Run("copysystemdialog");
  EXPECT_EQ(kxgui::Focus, State().saveAsName);
  State().saveAsName->SetText("");
  Type("...");
  Key(kxcode::kKeyReturn);
  EXPECT_EQ(Message(), sim::Language().Text("InvalidName"));
  // The whole drawn name box takes the click: its right edge keeps the keys.
  const kxgraphic* box = State().saveAsName->ParentWidget();
  ClickAt(box, box->W - 1, box->H / 2);
  EXPECT_EQ(kxgui::Focus, State().saveAsName);
  // A refused name is typed again at once, though Ok's click took the keys.
  for (const char* refused : {"...", "trainer"}) {
    State().saveAsName->SetText(refused);
    ClickOk();
    EXPECT_EQ(kxgui::Focus, State().saveAsName) << refused;
    EXPECT_STREQ(State().saveAsName->text, refused);
  }
  EXPECT_EQ(Message(), sim::Language().Text("AircraftExists"));
  Run("copysystemcancel");

  Run("copysystemdialog");
  EXPECT_EQ(Message(), "");
  EXPECT_EQ(kxgui::Focus, State().saveAsName);
  Type("2");  // after the aircraft's name
  Key(kxcode::kKeyReturn);
  EXPECT_STREQ(State().aircraft->Name.Text(), "trainer2");
  EXPECT_EQ(State().saveAsDialog->parent, State().invisible);
  // The title line names the aircraft by its new name at once.
  EXPECT_EQ(State().aircraftObject->displayName.Str(), "trainer2");
  // The tile of the aircraft selection shows the new aircraft too.
  ASSERT_TRUE(fs::exists("aircraft/trainer2/thumb.bmp"));
  EXPECT_EQ(ReadWhole("aircraft/trainer2/thumb.bmp"), ReadWhole("aircraft/trainer/thumb.bmp"));
}

TEST_F(SaveAsDialogTest, AFolderThatCannotBeMadeIsToldInTheLanguageInUse) {
  ASSERT_NE(kxscript::ReadFile("svgelanguage/language1.kxd", &sim::Language()), 0);
  Enter();
  // The aircraft folder is a file now: no folder can be made in it.
  fs::rename("aircraft", "hangar");
  std::ofstream("aircraft") << "not a folder";
  Run("copysystemdialog");
  State().saveAsName->SetText("neu");
  Run("copysystemcheck");
  EXPECT_EQ(Message(), "Kann aircraft/neu nicht anlegen");
  EXPECT_STREQ(State().aircraft->Name.Text(), "trainer");
  EXPECT_EQ(State().saveAsDialog->parent, State().screen);
}

// In the program's own font, the prompts (the locked aircraft's is the
// longest) and the refusals, one naming the longest name a folder can get,
// show every line of theirs in every shipped language, clear of the name
// field, the buttons and the title bar.
TEST_F(SaveAsDialogTest, PromptsAndRefusalsShowWholeInEveryLanguage) {
  std::vector<uint8_t> bytes;
  kxglfont program{};
  ASSERT_TRUE(kxgl::ReadFileBytes((kxdtest::SourceData() / "texture/arial10.kxf").c_str(), &bytes));
  ASSERT_TRUE(kxgl::ReadFont(bytes.data(), bytes.size(), &program));
  kxgl::SetFont(&program);
  const std::string longest(20, 'w');  // the name field takes 20 characters
  kxwindow* dialog = State().saveAsDialog;
  const int line = kxgui::LineHeight(), content = dialog->H - kxwindow::TitleBarHeight();
  const kxgraphic* field = State().saveAsName->ParentWidget();  // its frame
  int buttons = 0;  // the buttons' top
  for (kxnode* c = dialog->firstChild; c; c = c->nextSibling)
    if (const kxbutton* b = kxnode::As<kxbutton>(c)) buttons = std::max(buttons, b->Y + b->H);
  // How many lines a text takes in its box, and that the box holds them,
  // each line whole.
  auto shown = [&](const kxlistitem* item) {
    const std::vector<std::string> wrapped = kxlistitem::Wrap(item->Text.Text(), item->W);
    const int lines = static_cast<int>(wrapped.size());
    EXPECT_LE(lines * line, item->H) << '"' << item->Text.Str() << "\" in " << lines << " lines";
    for (const std::string& l : wrapped) EXPECT_LE(kxgui::TextWidth(l.c_str()), item->W) << l;
  };
  for (int n = 0; n <= 5; ++n) {  // 0: the built-in English
    SCOPED_TRACE("language " + std::to_string(n));
    sim::Language().Reset();
    const std::string file = "svgelanguage/language" + std::to_string(n) + ".kxd";
    if (n > 0) {
      ASSERT_NE(kxscript::ReadFile(file.c_str(), &sim::Language()), 0);
    }
    for (const char* prompt : {"CopyAircraft", "NewAircraft"}) {
      svdesign::OpenSaveAs(prompt, 0);
      const kxlistitem* p = State().saveAsPrompt;
      shown(p);
      EXPECT_GE(p->Y, field->Y + field->H);
      EXPECT_LE(p->Y + p->H, content);
      svdesign::CopySystemCancel();
    }
    std::string cannot = sim::Language().Text("CannotCreateAircraft");
    cannot.replace(cannot.find("%s"), 2, longest);
    const std::string refusals[] = {
        sim::Language().Text("InvalidName"), sim::Language().Text("AircraftExists"), cannot,
        "Not saved: aircraft/" + longest + " cannot be written (full disk or read-only folder?)",
        "Not saved: aircraft/" + longest + "/" + longest +
            ".kxd.new.tmp: a folder stands at its name; move it away and save again.",
        "Not saved: aircraft/" + longest + "/" + longest + ".kxd.new: " + kxdwriters::kStrayInTheWay +
            "; move it away and save again."};
    svdesign::OpenSaveAs("CopyAircraft", 0);
    for (const std::string& refusal : refusals) {
      svdesign::SaveAsMessage(refusal.c_str());
      const kxlistitem* m = State().saveAsMessage;
      shown(m);
      EXPECT_LE(m->Y + m->H, field->Y);
      EXPECT_GE(m->Y, buttons);
    }
    svdesign::CopySystemCancel();
  }
  kxgl::SetFont(&font);
  kxgl::FreeFont(&program);
}

}  // namespace
