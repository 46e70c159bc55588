// The "Save As..." dialog: built hidden at start-up, opened by the Save As
// command with the aircraft's name, or on entry for a locked aircraft, whose
// edits must go to a new name.
#pragma once

#include <string>

class kxgraphic;

namespace svdesign {

// Builds "DialogSaveAs" under the designer's invisible node.
void BuildSaveAsDialog(kxgraphic* invisible);
// Shows the dialog centred with the capture and no message: the prompt is
// the text of that text-table key, the name field holds the aircraft's name
// and has the keyboard focus. newAircraft 1 makes Cancel leave the designer.
void OpenSaveAs(const char* promptKey, int newAircraft);
// The dialog's message line (a refusal, "" for none), given the lines the
// text needs. A refusal in the shown dialog gives the keys to the name field.
void SaveAsMessage(const char* text);
// "copysystemdialog".
void CopySystemDialog();
// "copysystemcancel": hides the dialog; leaves the designer when it was
// opened on entry.
void CopySystemCancel();
// "copysystemcheck": Save As under the typed name, cleaned; a refusal
// (no name left, a name the aircraft folder holds, a folder that cannot be
// made, a save that fails) shows in the dialog, which stays open, and
// changes nothing. Copies the old folder's textures, its thumbnail and the
// previews under the new name, renames and unlocks the aircraft, makes it
// player 1's, saves and closes.
void CopySystemCheck();
// "savesystem": the geometry script, the meshes and the component file in
// the aircraft's folder, as one set. A failure is shown in the Save As
// dialog (opened for it), the edits stay; 1 when saved.
int SaveSystem();
// The typed name with capitals lowered and everything but a-z, 0-9 and
// '-' removed.
std::string CleanName(const char* typed);

}  // namespace svdesign
