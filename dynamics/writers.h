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
// Why a save refuses to begin: what a save cut short left at a new file's
// name could not be moved aside (FinishInterruptedSave), and a save never
// writes over it.
constexpr char kStrayInTheWay[] = "left by a save cut short, it could not be moved aside";
// The geometry script, the mesh (as ExportMeshes chooses; none without a
// mesh) and the component file as one set: all are written whole beside
// their targets, and only when every one is complete are they renamed over
// the old files. On a failure the old files stay as they were and no new
// file is left behind. What a save cut short left is ended first
// (FinishInterruptedSave); what it could not move aside stops the save
// (kStrayInTheWay). 1 on success; one log line either way, and on a
// failure why into problem ("<file>: <reason>") when given.
int WriteAircraftSet(kxdaircraftinstance* instance, const char* previousName, const char* previousDirectory,
                     std::string* problem = nullptr);
// The component file's text (header, lock, components) into out.
void AircraftText(kxdaircraftinstance* instance, kxout& out);
// The geometry script's text into out.
void GeometryText(kxdaircraftinstance* instance, kxout& out);

}  // namespace kxdwriters
