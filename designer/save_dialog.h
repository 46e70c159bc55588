// The "Save As..." dialog: built hidden at start-up, opened by the Save As
// command with the aircraft's name, or on entry for a locked aircraft, whose
// edits must go to a new name.
#pragma once

class kxgraphic;

namespace svdesign {

// Builds "DialogSaveAs" under the designer's invisible node.
void BuildSaveAsDialog(kxgraphic* invisible);
// Shows the dialog centred with the capture: the prompt is the text of
// that text-table key, the name field holds the aircraft's name. newAircraft
// 1 makes Cancel leave the designer.
void OpenSaveAs(const char* promptKey, int newAircraft);
// "copysystemdialog".
void CopySystemDialog();
// "copysystemcancel": hides the dialog; leaves the designer when it was
// opened on entry.
void CopySystemCancel();

}  // namespace svdesign
