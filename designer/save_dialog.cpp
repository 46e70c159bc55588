#include "designer/save_dialog.h"

#include <algorithm>

#include "designer/designer.h"
#include "designer/state.h"
#include "dynamics/instance.h"
#include "gui/button.h"
#include "gui/containers.h"
#include "gui/edit.h"
#include "gui/gui.h"
#include "gui/list_item.h"
#include "gui/paint.h"
#include "gui/window.h"
#include "sim/multilanguage.h"

namespace svdesign {

namespace {

// The message takes five lines: one naming a file in the way of a save,
// with the aircraft's folder, needs them.
constexpr int kDialogWidth = 300, kDialogHeight = 215;  // px
constexpr int kTextX = 10, kTextWidth = 280, kTextHeight = 40;
constexpr int kPromptY = 145, kMessageY = 50;
constexpr int kNameFrameX = 10, kNameFrameY = 115, kNameFrameWidth = 124, kNameFrameHeight = 22;
constexpr int kFieldGap = 4;  // px the message keeps below the name field
constexpr int kMaxName = 20;  // characters
constexpr int kButtonY = 10, kButtonWidth = 80, kButtonHeight = 26;
constexpr int kOkRight = 100, kCancelRight = 10;  // px from the dialog's right edge
constexpr char kCheckCommand[] = "copysystemcheck";
constexpr char kCancelCommand[] = "copysystemcancel";

/* A prompt or a refusal longer than its box (a translation of the locked
   aircraft's prompt, a refusal naming a long folder) would be cut off by
   it. Each box takes the lines its text needs: the prompt grows upwards
   from its place towards the title bar, the message downwards towards the
   buttons and then up to the name field, neither into the name field. The
   boxes' own sizes stay the least, so short texts sit where they always
   did. */
int NeededHeight(const kxlistitem* item) {
  const int lines = static_cast<int>(kxlistitem::Wrap(item->Text.Text(), item->W).size());
  return std::max(kTextHeight, lines * kxgui::LineHeight());
}

void FitPrompt(kxlistitem* prompt) {
  if (!prompt) return;
  const int room = kDialogHeight - kxwindow::TitleBarHeight() - kPromptY;
  prompt->Y = kPromptY;
  prompt->H = std::min(NeededHeight(prompt), std::max(room, kTextHeight));
}

// Down to the buttons first; a text that needs more raises its top up to
// the name field.
void FitMessage(kxlistitem* message) {
  if (!message) return;
  const int top = kMessageY + kTextHeight, lowest = kButtonY + kButtonHeight;
  const int highest = kNameFrameY - kFieldGap, needed = NeededHeight(message);
  message->Y = std::max(top - needed, lowest);
  message->H = std::min(std::max(needed, top - message->Y), highest - message->Y);
}

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
  // The field fills its frame, which draws the white behind it: a click
  // anywhere on the drawn box is one into the name.
  kxframe* frame = Append(dialog, new kxframe(kNameFrameX, kNameFrameY, kNameFrameWidth, kNameFrameHeight));
  if (frame) frame->fill = kxgui::kWhite;
  s.saveAsName = Append(frame, new kxedit(0, 0, kNameFrameWidth, kNameFrameHeight));
  if (s.saveAsName) {
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
  FitPrompt(s.saveAsPrompt);
  if (s.saveAsName) s.saveAsName->SetText(s.aircraft ? s.aircraft->Name.Text() : "");
  // A refusal belongs to the name it refused.
  SaveAsMessage("");
  s.saveAsDialog->Show();
  s.saveAsDialog->ToCenter();
  kxgui::Capture = s.saveAsDialog;
  // The name is typed at once, without a click into the field.
  if (s.saveAsName) kxgui::Focus = s.saveAsName;
  s.newAircraft = newAircraft;
}

void SaveAsMessage(const char* text) {
  designstate& s = State();
  kxlistitem* message = s.saveAsMessage;
  if (!message) return;
  message->Text = text;
  FitMessage(message);
  // A refused name is typed again: the keys go back to it, wherever the Ok
  // button's click put them.
  if (text && *text && s.saveAsName && s.saveAsName->IsWithin(kxgui::Visible)) kxgui::Focus = s.saveAsName;
}

void CopySystemDialog() { OpenSaveAs("CopyAircraft", 0); }

void CopySystemCancel() {
  designstate& s = State();
  if (s.saveAsDialog) s.saveAsDialog->Hide();
  if (s.newAircraft) GoBack();
}

}  // namespace svdesign
