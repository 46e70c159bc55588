#include "designer/save_dialog.h"

#include "designer/designer.h"
#include "designer/state.h"
#include "dynamics/instance.h"
#include "gui/button.h"
#include "gui/containers.h"
#include "gui/edit.h"
#include "gui/gui.h"
#include "gui/list_item.h"
#include "gui/window.h"
#include "sim/multilanguage.h"

namespace svdesign {

namespace {

constexpr int kDialogWidth = 300, kDialogHeight = 200;  // px
constexpr int kTextX = 10, kTextWidth = 280, kTextHeight = 40;
constexpr int kPromptY = 130, kMessageY = 50;
constexpr int kNameFrameX = 10, kNameFrameY = 100, kNameFrameWidth = 124, kNameFrameHeight = 22;
constexpr int kNameInset = 2, kNameWidth = 120, kNameHeight = 18;
constexpr int kMaxName = 20;  // characters
constexpr int kButtonY = 10, kButtonWidth = 80, kButtonHeight = 26;
constexpr int kOkRight = 100, kCancelRight = 10;  // px from the dialog's right edge
constexpr char kCheckCommand[] = "copysystemcheck";
constexpr char kCancelCommand[] = "copysystemcancel";

template <class T>
T* Append(kxgraphic* parent, T* child) {
  if (parent && child) parent->AppendChild(child);
  return child;
}

kxbutton* Button(kxwindow* dialog, const char* text, const char* command, int fromRight) {
  kxbutton* b = Append(dialog, new kxbutton(text, kDialogWidth - fromRight - kButtonWidth, kButtonY, kButtonWidth,
                                            kButtonHeight));
  if (b) b->OnPress = command;
  return b;
}

}  // namespace

void BuildSaveAsDialog(kxgraphic* invisible) {
  designstate& s = State();
  kxwindow* dialog = Append(invisible, new kxwindow);
  s.saveAsDialog = dialog;
  if (!dialog) return;
  dialog->name = "DialogSaveAs";
  dialog->W = kDialogWidth;
  dialog->H = kDialogHeight;
  dialog->EnableResize = 0;
  dialog->Title = "Save As...";
  dialog->OnClose = kCancelCommand;
  s.saveAsPrompt = Append(dialog, new kxlistitem("", kTextX, kPromptY, kTextWidth, kTextHeight));
  s.saveAsMessage = Append(dialog, new kxlistitem("", kTextX, kMessageY, kTextWidth, kTextHeight));
  kxframe* frame = Append(dialog, new kxframe(kNameFrameX, kNameFrameY, kNameFrameWidth, kNameFrameHeight));
  s.saveAsName = Append(frame, new kxedit(kNameInset, kNameInset, kNameWidth, kNameHeight));
  if (s.saveAsName) {
    s.saveAsName->background = kxgui::kWhite;
    s.saveAsName->maxLength = kMaxName;
    s.saveAsName->OnReturn = kCheckCommand;
  }
  Button(dialog, "Ok", kCheckCommand, kOkRight);
  Button(dialog, "Cancel", kCancelCommand, kCancelRight);
}

void OpenSaveAs(const char* promptKey, int newAircraft) {
  designstate& s = State();
  if (!s.saveAsDialog) return;
  if (s.saveAsPrompt) s.saveAsPrompt->Text = sim::Language().Text(promptKey);
  if (s.saveAsName) s.saveAsName->SetText(s.aircraft ? s.aircraft->Name.Text() : "");
  // A refusal belongs to the name it refused.
  if (s.saveAsMessage) s.saveAsMessage->Text = "";
  s.saveAsDialog->Show();
  s.saveAsDialog->ToCenter();
  kxgui::Capture = s.saveAsDialog;
  // The name is typed at once, without a click into the field.
  if (s.saveAsName) kxgui::Focus = s.saveAsName;
  s.newAircraft = newAircraft;
}

void CopySystemDialog() { OpenSaveAs("CopyAircraft", 0); }

void CopySystemCancel() {
  designstate& s = State();
  if (s.saveAsDialog) s.saveAsDialog->Hide();
  if (s.newAircraft) GoBack();
}

}  // namespace svdesign
