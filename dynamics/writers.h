// The aircraft writers: the component file, the geometry script and the mesh
// export. Each writes the whole text first and replaces the file only when
// every byte got out, so a failed save never destroys the user's aircraft.
#pragma once

#include <string>
#include <vector>

class kxout;
class kxnode;
class kxdaircraftinstance;

namespace kxdwriters {

// "<directory>/<name>.kxd"; 1 on success.
int WriteAircraftFile(kxdaircraftinstance* instance);
// "<directory>/<name>.kxg"; 1 on success.
int WriteGeometryFile(kxdaircraftinstance* instance);
// With a mesh: the text mesh "<directory>/<name>.obj" when the previous
// folder's "<previous name>.obj" exists and is not empty (a stale ".tgo" of
// the new name is removed so it cannot shadow the edit), else the binary
// "<directory>/<name>.tgo". Empty previous names mean the instance's own.
// 1 when written, 0 on failure or without a mesh.
int ExportMeshes(kxdaircraftinstance* instance, const char* previousName, const char* previousDirectory);
// The geometry script, the mesh (as ExportMeshes chooses; none without a
// mesh) and the component file as one set: all are written whole beside
// their targets, and only when every one is complete are they renamed over
// the old files. On a failure the old files stay as they were and no new
// file is left behind. 1 on success; one log line either way.
int WriteAircraftSet(kxdaircraftinstance* instance, const char* previousName, const char* previousDirectory);
// How FinishInterruptedSave ended what a save left.
enum class interruptedsave {
  kNothing,   // nothing was left
  kFinished,  // the new set was whole and is in place
  kRemoved,   // the renames never began: the new files are gone
  kSetAside,  // the new set was not whole: moved aside as "<file>.new.bad"
  kKept,      // whole, but could not be renamed: left as it was
};
// Ends what a save killed on its way left at "<directory>/<name>": with the
// component file's ".new" there every file was complete and the set is
// renamed into place, once found whole (each new file a regular file, a
// mesh that reads, the component file one the writer wrote for this
// aircraft, to its last line); a set that is not whole is set aside and the
// old set stays. Without the component file's ".new" the ".new" files are
// removed. Temporaries of unfinished writes go either way. One log line
// when there was anything. Each save starts with it.
interruptedsave FinishInterruptedSave(const std::string& base);
// The same for every folder under "aircraft/", at start-up; the names of
// the aircraft whose new files were set aside, for the user's notice.
std::vector<std::string> FinishInterruptedSaves();
// The component file's text (header, lock, components) into out.
void AircraftText(kxdaircraftinstance* instance, kxout& out);
// The geometry script's text into out.
void GeometryText(kxdaircraftinstance* instance, kxout& out);

}  // namespace kxdwriters
