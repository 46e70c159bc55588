// The Save As dialog as a user meets it: the name is typed at once, an old
// refusal is gone when it opens again, the new aircraft takes the old one's
// thumbnail, and a folder that cannot be made is told in the language in
// use. Runs on a copy of the trainer in a temporary folder.
#include <filesystem>
#include <fstream>
#include <string>

#include "core/interpreter.h"
#include "copied_data.h"
#include "designer/save_dialog.h"
#include "gui/edit.h"
#include "gui/list_item.h"
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
};

TEST_F(SaveAsDialogTest, NameIsTypedAtOnceAndAnOldRefusalIsGoneOnOpening) {
  Enter();
  Run("copysystemdialog");
  EXPECT_EQ(kxgui::Focus, State().saveAsName);
  State().saveAsName->SetText("");
  Type("...");
  Key(kxcode::kKeyReturn);
  EXPECT_EQ(Message(), sim::Language().Text("InvalidName"));
  Run("copysystemcancel");

  Run("copysystemdialog");
  EXPECT_EQ(Message(), "");
  EXPECT_EQ(kxgui::Focus, State().saveAsName);
  Type("2");  // after the aircraft's name
  Key(kxcode::kKeyReturn);
  EXPECT_STREQ(State().aircraft->Name.Text(), "trainer2");
  EXPECT_EQ(State().saveAsDialog->parent, State().invisible);
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

}  // namespace
