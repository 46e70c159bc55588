// What an aircraft save killed on its way (a power cut, a crash) left in the
// aircraft's folder is ended before the aircraft is read again: the new set
// is put in place when it is the whole set the save wrote, else it goes, or
// is set aside when it is no save of this program's, and the old set stays.
#pragma once

#include <string>
#include <vector>

namespace kxdwriters {

// The ".new" ending of a set's new files and the ".kxd" of its component file.
constexpr char kNewSuffix[] = ".new";
constexpr char kComponentExtension[] = ".kxd";
// The files of one aircraft's set in the order a save writes and renames
// them: the geometry script, the mesh in either form, the component file.
constexpr const char* kSetExtensions[] = {".kxg", ".obj", ".tgo", kComponentExtension};

// How FinishInterruptedSave ended what a save left.
enum class interruptedsave {
  kNothing,   // nothing was left
  kFinished,  // the new set was whole and is in place
  kRemoved,   // the renames never began: the new files are gone
  kSetAside,  // the new set was not whole: moved aside (or kept, see setaside)
  kKept,      // whole, but could not be renamed: left as it was
};

// The new files of a save that were not whole, as they were left.
struct setaside {
  std::string aircraft;            // the aircraft's name
  std::vector<std::string> files;  // their names now, without the folder
  bool moved = true;               // as "<file>.new.bad" (".bad1", ... when taken); else kept as they were
};

/* Ends what a save killed on its way left at "<directory>/<name>". With the
   component file's ".new" there, every file of the set was complete and
   the renames had begun or were due: the set is renamed into place once
   found whole (each ".new" a regular file, the component file one the
   writer wrote for this aircraft to its last line, and every other file of
   the set, new or already renamed, byte for byte the one it records). A set
   that is not whole is moved aside under free names and the old set stays.
   Without the component file's ".new" the ".new" files are removed (a
   folder or another non-file at such a name is moved aside). Temporaries of
   unfinished writes go either way. One log line when there was anything.
   Each save starts with it; aside: filled for kSetAside. */
interruptedsave FinishInterruptedSave(const std::string& base, setaside* aside = nullptr);
// File names as the log and the user's notice list them, ", " between.
std::string ListedNames(const std::vector<std::string>& names);
// The same for every folder under "aircraft/", at start-up; the sets found
// not whole, for the user's notice.
std::vector<setaside> FinishInterruptedSaves();

}  // namespace kxdwriters
