#include <strings.h>

#include <cctype>
#include <filesystem>
#include <string>
#include <vector>

#include "designer/design_object.h"
#include "designer/save_dialog.h"
#include "designer/state.h"
#include "dynamics/instance.h"
#include "dynamics/writers.h"
#include "graphics/geometric_object.h"
#include "graphics/mesh.h"
#include "gui/edit.h"
#include "gui/gui.h"
#include "gui/list_item.h"
#include "gui/window.h"
#include "platform/file_lists.h"
#include "platform/files.h"
#include "platform/log.h"
#include "platform/text.h"
#include "sim/multilanguage.h"
#include "sim/session.h"

namespace svdesign {

namespace {

constexpr char kPreviewPrefix[] = "preview-";
constexpr char kThumbnail[] = "thumb.bmp";  // the aircraft's tile in the selection window
const char* const kPreviewExtensions[] = {"bmp", "kxt", "txt"};

bool Copyable(const std::string& file) {
  return !file.empty() && file[0] != '.' && !kxsystem::StrStartsNoCase(file.c_str(), kPreviewPrefix);
}

void CopyInto(const std::string& from, const std::string& to, const std::string& file) {
  kxsystem::CopyFile((from + "/" + file).c_str(), (to + "/" + file).c_str());
}

// The file names (without folder) of the textures the aircraft's meshes use.
void MeshTextures(const kxnode* node, std::vector<std::string>& out) {
  for (const kxnode* c = node ? node->firstChild : nullptr; c; c = c->nextSibling) {
    if (kxtype::IsDerivedFrom(c->type, &kxgeometricobject::Type)) {
      for (const kxgeometry* e = static_cast<const kxgeometricobject*>(c)->mesh; e; e = e->next) {
        if (e->textureName[0]) out.push_back(std::filesystem::path(e->textureName).filename().string());
      }
    }
    MeshTextures(c, out);
  }
}

// A text of the text table with the name in place of its "%s"; put in
// by hand, not by printf, since a translation could carry other
// conversions.
std::string NamedText(const char* text, const std::string& name) {
  std::string out = text ? text : "";
  size_t at = out.find("%s");
  if (at != std::string::npos) out.replace(at, 2, name);
  return out;
}

}  // namespace

std::string CleanName(const char* typed) {
  std::string name;
  for (const char* p = typed ? typed : ""; *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(std::tolower(c));
    if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-') name += static_cast<char>(c);
  }
  return name;
}

/* A save that fails is shown in the Save As dialog, opened for it when the
   menu's Save failed: the edits stay in the designer and may go under
   another name. */
int SaveSystem() {
  designstate& s = State();
  kxdaircraftinstance* a = s.aircraft;
  if (!a) return 0;
  std::string problem;
  if (kxdwriters::WriteAircraftSet(a, s.previousName.Text(), s.previousDirectory.Text(), &problem)) return 1;
  kxsystem::Log("svdesign:  save %s=fail\n", a->Name.Text());
  if (s.saveAsDialog && !(kxgui::Visible && s.saveAsDialog->IsWithin(kxgui::Visible))) OpenSaveAs("CopyAircraft", 0);
  // A folder, or what a save cut short left, in the way is the user's to
  // move; the disk is not to blame.
  SaveAsMessage(problem.ends_with(kxsystem::kFolderInTheWay) || problem.ends_with(kxdwriters::kStrayInTheWay)
                    ? ("Not saved: " + problem + "; move it away and save again.").c_str()
                    : ("Not saved: " + a->Directory.Str() + " cannot be written (full disk or read-only folder?)").c_str());
  return 0;
}

void CopySystemCheck() {
  designstate& s = State();
  kxdaircraftinstance* a = s.aircraft;
  if (!a || !s.saveAsName) return;
  const multilanguage& language = sim::Language();
  std::string name = CleanName(s.saveAsName->text);
  if (name.empty()) {
    SaveAsMessage(language.Text("InvalidName"));
    return;
  }
  std::vector<std::string> entries;
  kxsystem::FindFiles("aircraft/*", entries, 0, 0);
  for (const std::string& entry : entries) {
    // In any capitals: the file functions would find that folder for name.
    if (strcasecmp(entry.c_str(), name.c_str()) == 0) {
      SaveAsMessage(language.Text("AircraftExists"));
      return;
    }
  }
  const std::string to = "aircraft/" + name;
  // No entry has the name: the folder made here is this save's alone.
  kxsystem::CreateDirectory(to.c_str());
  std::error_code error;
  if (!std::filesystem::is_directory(to, error)) {
    // Nothing is renamed: the aircraft would be saved nowhere.
    kxsystem::Log("svdesign:  create directory %s=fail\n", to.c_str());
    SaveAsMessage(NamedText(language.Text("CannotCreateAircraft"), name).c_str());
    return;
  }
  const kxstring keptName = s.previousName, keptDirectory = s.previousDirectory;
  const int keptLock = a->Locked;
  const std::string keptSetting = sim::session.settings.aircraft0;
  s.previousName = a->Name;
  s.previousDirectory = a->Directory;
  const std::string old = s.previousName.Str();
  const std::string from = "aircraft/" + old;
  for (const std::string& file : kxsystem::ListFiles((from + "/*.kxt").c_str(), 1, 0)) {
    if (Copyable(file)) CopyInto(from, to, file);
  }
  // Textures of other formats the meshes name are part of the aircraft too.
  std::vector<std::string> textures;
  MeshTextures(a->GeometryTemplate, textures);
  for (const std::string& file : textures) {
    if (Copyable(file) && std::filesystem::is_regular_file(from + "/" + file, error)) CopyInto(from, to, file);
  }
  CopyInto(from, to, kThumbnail);
  for (const char* extension : kPreviewExtensions) {
    std::string source = from + "/" + kPreviewPrefix + old + "." + extension;
    std::string target = to + "/" + kPreviewPrefix + name + "." + extension;
    kxsystem::CopyFile(source.c_str(), target.c_str());
  }
  a->Locked = 0;
  kxdaircraftinstance::SetName(a, name.c_str());
  std::snprintf(sim::session.settings.aircraft0, sizeof sim::session.settings.aircraft0, "%s", name.c_str());
  if (!SaveSystem()) {
    // As if it had not been tried: the aircraft keeps its old name and
    // folder, the new folder goes, and the dialog stays with the reason.
    a->Name = s.previousName;
    a->Directory = s.previousDirectory;
    a->Locked = keptLock;
    s.previousName = keptName;
    s.previousDirectory = keptDirectory;
    std::snprintf(sim::session.settings.aircraft0, sizeof sim::session.settings.aircraft0, "%s", keptSetting.c_str());
    std::filesystem::remove_all(to, error);
    return;
  }
  // The title line names the whole-aircraft object after the aircraft, as
  // it was on entry: it now goes by the new name.
  if (s.aircraftObject) s.aircraftObject->name = s.aircraftObject->displayName = a->Name;
  if (s.saveAsDialog) s.saveAsDialog->Hide();
  s.newAircraft = 0;
  SaveAsMessage("");
}

}  // namespace svdesign
