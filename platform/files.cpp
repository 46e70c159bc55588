#include "platform/files.h"

#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include <cstring>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "core/hooks.h"
#include "core/text_lines.h"
#include "platform/codes.h"
#include "platform/file_lists.h"
#include "platform/log.h"

namespace fs = std::filesystem;

namespace kxsystem {
namespace {

std::string Normalise(const char* path) {
  std::string text(path);
  for (char& c : text)
    if (c == '\\') c = '/';
  return text;
}

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::path(path), error);
}

// Finds the entry of dir whose name equals name without case; empty if none.
// The byte-smallest match wins so the choice does not depend on the order
// the directory happens to list.
std::string MatchNoCase(const std::string& dir, const std::string& name) {
  std::error_code error;
  fs::directory_iterator it(dir.empty() ? fs::path(".") : fs::path(dir), error);
  if (error) return std::string();
  std::string best;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    std::string entry = it->path().filename().string();
    if (strcasecmp(entry.c_str(), name.c_str()) == 0 && (best.empty() || entry < best)) best = entry;
  }
  return best;
}

std::string Resolve(const std::string& path) {
  if (path.empty() || Exists(path)) return path;
  std::string result;
  size_t pos = 0;
  if (path[0] == '/') {
    result = "/";
    pos = 1;
  }
  bool matching = true;
  while (pos <= path.size()) {
    size_t slash = path.find('/', pos);
    if (slash == std::string::npos) slash = path.size();
    std::string part = path.substr(pos, slash - pos);
    if (!part.empty()) {
      std::string next = result + part;
      if (matching && !Exists(next) && part != "." && part != "..") {
        std::string found = MatchNoCase(result, part);
        if (found.empty()) matching = false;
        else next = result + found;
      }
      result = next;
    }
    if (slash < path.size()) result += '/';
    pos = slash + 1;
  }
  return result;
}

/* The data folder, as canonical paths: the folder itself and what each of
   its top-level links leads to. The top level is the installation's own
   layout (aircraft or sceneries kept on another disk, the tests' runs that
   link the shipped data in); a link further down came with the content, an
   aircraft or a scenery someone handed over, and must stay inside. Checking
   the names alone is not enough: a link inside the folder, or a path a
   script hands in, reaches any file the user may read. Empty: no limit. */
std::vector<std::string>& DataRoots() {
  static std::vector<std::string> roots;
  return roots;
}

bool Inside(const std::string& final) {
  const std::vector<std::string>& roots = DataRoots();
  if (roots.empty()) return true;
  for (const std::string& root : roots) {
    if (final == root) return true;
    if (final.size() > root.size() && final.compare(0, root.size(), root) == 0 &&
        (root.back() == '/' || final[root.size()] == '/'))
      return true;
  }
  return false;
}

// The file a path finally names, every link followed (one to nothing too,
// as a write would create its target); empty for a loop of links.
constexpr int kMostLinks = 40;  // as the system's own limit
std::string FollowLinks(const std::string& path) {
  std::error_code error;
  fs::path p(path);
  for (int n = 0; fs::is_symlink(fs::symlink_status(p, error)); ++n) {
    fs::path to = fs::read_symlink(p, error);
    if (error || n == kMostLinks) return std::string();
    p = to.is_absolute() ? to : p.parent_path() / to;
  }
  fs::path final = fs::weakly_canonical(fs::absolute(p, error), error);
  return error ? std::string() : final.string();
}

// The file a read of the resolved path would open, when it leads outside
// the data folder; empty when it stays inside or is not there.
std::string OutsideFile(const std::string& resolved) {
  if (DataRoots().empty() || resolved.empty()) return std::string();
  char* real = ::realpath(resolved.c_str(), nullptr);
  if (!real) return std::string();
  std::string final(real);
  std::free(real);
  return Inside(final) ? std::string() : final;
}

/* A named pipe, a device or a socket is no file of ours: opening a pipe
   waits for a writer that never comes, and a device may never end. A
   folder is not refused here: its readers say "a folder" themselves. */
bool SpecialFile(const std::string& resolved) {
  struct stat info;
  return ::stat(resolved.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode);
}

bool ReadAllowed(const std::string& resolved) {
  if (SpecialFile(resolved)) {
    Log("kxsystem:  %s: %s; not read\n", resolved.c_str(), kNotAFile);
    return false;
  }
  std::string outside = OutsideFile(resolved);
  if (outside.empty()) return true;
  Log("kxsystem:  %s: %s (to %s); not read\n", resolved.c_str(), kOutside, outside.c_str());
  return false;
}

/* Where a write of the resolved path goes: a link is written through to the
   file it names, as editors do, so the link the user made stays a link;
   the rename that finishes a write would otherwise put a plain file in its
   place. A write that would land outside the data folder is refused with a
   log line (empty result), and the link is left as it is. */
std::string WriteTarget(const std::string& resolved, std::string* why = nullptr) {
  std::error_code error;
  const bool link = fs::is_symlink(fs::symlink_status(fs::path(resolved), error));
  if (!link && DataRoots().empty()) return resolved;
  std::string final = FollowLinks(resolved);
  if (final.empty()) {
    Log("kxsystem:  %s: a loop of links; not written\n", resolved.c_str());
    if (why) *why = resolved + ": a loop of links";
    return std::string();
  }
  if (!Inside(final)) {
    Log("kxsystem:  %s: %s (to %s); not written over\n", resolved.c_str(), kOutside, final.c_str());
    if (why) *why = resolved + ": " + kOutside;
    return std::string();
  }
  return link ? final : resolved;
}

/* Whether a name may be removed, renamed or made at the resolved path: its
   folder, links followed, lies inside the data folder. The name itself is
   not followed, as it is the one changed. Else a log line saying what was
   not done (done: "removed", "renamed", ...). */
bool PlaceInside(const std::string& resolved, const char* done) {
  if (DataRoots().empty()) return true;
  const fs::path path(resolved);
  const std::string folder = FollowLinks(path.has_parent_path() ? path.parent_path().string() : ".");
  if (!folder.empty() && Inside((fs::path(folder) / path.filename()).string())) return true;
  Log("kxsystem:  %s: %s; not %s\n", resolved.c_str(), kOutside, done);
  return false;
}

// Null for a directory, a file outside the data folder (with its log line)
// or a file that cannot be opened.
FILE* OpenForReading(const std::string& resolved) {
  std::error_code error;
  if (fs::is_directory(fs::path(resolved), error)) return nullptr;
  if (!ReadAllowed(resolved)) return nullptr;
  return std::fopen(resolved.c_str(), "rb");
}

// A file the user may not write is not replaced behind their back: the
// rename that finishes a write would otherwise ignore its permissions.
bool MayReplace(const std::string& target) {
  struct stat info;
  return ::stat(target.c_str(), &info) != 0 || ::access(target.c_str(), W_OK) == 0;
}

// The replacement keeps the permissions of the file it replaces.
void KeepMode(int descriptor, const std::string& target) {
  struct stat info;
  if (::stat(target.c_str(), &info) == 0) ::fchmod(descriptor, info.st_mode & 07777);
}

// Whatever stands at a temporary's name (a file an earlier run left, or a
// link someone put there) is unlinked, never followed; a folder stays and
// makes the write fail. 1 when something was removed.
bool RemoveStaleTemporary(const std::string& temp) {
  struct stat info;
  if (::lstat(temp.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  if (!PlaceInside(temp, "removed") || ::unlink(temp.c_str()) != 0) return false;
  Log("kxsystem:  %s: left by a write that never finished; removed\n", temp.c_str());
  return true;
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// Why a file could not be made or written: the system's reason for the
// last call that failed, or that a folder stands at its name.
std::string WriteProblem(const std::string& path) {
  if (IsFolder(path)) return path + ": " + kFolderInTheWay;
  return path + ": " + std::strerror(errno);
}

/* The temporary a write of target fills before it is renamed over it. It is
   made anew and exclusively, never through a link: a link at its name
   would otherwise send the bytes wherever it points, and the rename would
   then put the link in the target's place. A folder at its name is no
   leftover of ours and stays: every write of the target fails until it is
   moved, so the log line names it. Null when it cannot be made. */
FILE* OpenTemporary(const std::string& temp, const char* stdioMode) {
  RemoveStaleTemporary(temp);
  if (IsFolder(temp)) {
    Log("kxsystem:  %s: %s, where a write puts its new bytes; not written\n", temp.c_str(), kFolderInTheWay);
    return nullptr;
  }
  int descriptor = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (descriptor < 0) return nullptr;
  FILE* stream = ::fdopen(descriptor, stdioMode);
  if (!stream) {
    ::close(descriptor);
    ::unlink(temp.c_str());
  }
  return stream;
}

// Makes the names in a folder lasting: a rename is only on disk once the
// folder that holds the name is.
void SyncFolder(const fs::path& folder) {
  int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor >= 0) {
    ::fsync(descriptor);
    ::close(descriptor);
  }
}

// Syncs the folder of each path once.
void SyncFolders(const std::vector<std::string>& paths) {
  std::vector<fs::path> folders;
  for (const std::string& path : paths) {
    const fs::path folder = fs::path(path).parent_path();
    if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(folder);
  }
  for (const fs::path& folder : folders) SyncFolder(folder);
}

// Renames from over to when from still names, without following a link,
// the regular file checked before (file).
bool RenameChecked(const std::string& from, const struct stat& file, const std::string& to) {
  struct stat now;
  return ::lstat(from.c_str(), &now) == 0 && S_ISREG(now.st_mode) && now.st_dev == file.st_dev &&
         now.st_ino == file.st_ino && std::rename(from.c_str(), to.c_str()) == 0;
}

/* Closes a temporary written so far without error (ok) and renames it over
   the target once every byte got out and is on disk: a power cut after the
   rename must find the new bytes, not an empty file, under the old name.
   Only the file this write made is renamed; whatever took its name
   meanwhile is not. The rename is made lasting at once unless the caller
   syncs the folder itself after more renames (syncFolder 0). On failure
   the temporary's name is unlinked. The outcome. */
bool FinishTemporary(FILE* stream, bool ok, const std::string& temp, const std::string& target,
                     bool syncFolder = true) {
  const int descriptor = ::fileno(stream);
  struct stat written;
  ok = ok && std::fflush(stream) == 0 && ::fstat(descriptor, &written) == 0;
  ok = ok && ::fsync(descriptor) == 0;
  if (ok) KeepMode(descriptor, target);
  ok = std::fclose(stream) == 0 && ok;
  ok = ok && RenameChecked(temp, written, target);
  if (ok && syncFolder) SyncFolder(fs::path(target).parent_path());
  if (!ok) {
    const int reason = errno;  // for the caller's WriteProblem
    ::unlink(temp.c_str());
    errno = reason;
  }
  return ok;
}

// Writes the bytes to a temporary beside the target and renames it over;
// empty when done, else why not ("<file>: <reason>").
std::string WriteThroughTemporary(const std::string& target, std::string_view bytes, bool syncFolder) {
  const std::string temp = target + kTempSuffix;
  FILE* stream = OpenTemporary(temp, "wb");
  if (!stream) return WriteProblem(temp);
  const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stream) == bytes.size();
  return FinishTemporary(stream, written, temp, target, syncFolder) ? std::string() : WriteProblem(target);
}

std::string WriteAtomically(const std::string& resolved, const void* buffer, long size) {
  std::string why;
  const std::string target = WriteTarget(resolved, &why);
  if (target.empty()) return why;
  if (!MayReplace(target)) return target + ": " + std::strerror(EACCES);
  const std::string_view bytes(static_cast<const char*>(buffer), size > 0 ? static_cast<size_t>(size) : 0);
  return WriteThroughTemporary(target, bytes, true);
}

}  // namespace

int IsPlainName(const char* name) {
  if (!name || !*name || name[0] == '.') return 0;
  return std::strpbrk(name, "/\\") ? 0 : 1;
}

int StaysInside(const char* path) {
  if (!path || !*path || path[0] == '/' || path[0] == '\\' || (path[0] && path[1] == ':')) return 0;
  for (const char* part = path; *part;) {
    size_t length = std::strcspn(part, "/\\");
    if (length == 2 && part[0] == '.' && part[1] == '.') return 0;
    part += length;
    if (*part) ++part;
  }
  return 1;
}

int NameStaysInside(const char* name, const char* lineStart) {
  if (StaysInside(name)) return 1;
  kxcore::Log("%s%s leaves the data folder; ignored\n", lineStart ? lineStart : "", name ? name : "");
  return 0;
}

void SetDataFolder(const char* folder) {
  std::vector<std::string>& roots = DataRoots();
  roots.clear();
  if (!folder || !*folder) return;
  std::error_code error;
  fs::path top = fs::canonical(fs::path(folder), error);
  if (error) return;
  roots.push_back(top.string());
  for (fs::directory_iterator it(top, error); !error && it != fs::directory_iterator(); it.increment(error)) {
    if (!it->is_symlink(error)) continue;
    std::error_code ignored;
    fs::path to = fs::canonical(it->path(), ignored);
    if (!ignored) roots.push_back(to.string());
  }
}

int MayRead(const char* path) { return path && ReadAllowed(ResolveReadPath(path)) ? 1 : 0; }

int RemoveUnfinishedWrite(const char* path) {
  if (!path || !*path) return 0;
  // A write puts its temporary beside the file a link names; one of an
  // older run may have put it beside the link.
  const std::string resolved = ResolveWritePath(path);
  std::error_code error;
  std::vector<std::string> temps = {resolved + kTempSuffix};
  if (fs::is_symlink(fs::symlink_status(fs::path(resolved), error))) {
    std::string target = FollowLinks(resolved);
    if (!target.empty() && Inside(target)) temps.push_back(target + kTempSuffix);
  }
  int removed = 0;
  for (const std::string& temp : temps)
    if (RemoveStaleTemporary(temp)) removed = 1;
  return removed;
}

int MayChangeFolder(const char* folder) {
  if (!folder || !*folder) return 0;
  const std::string resolved = ResolveReadPath(folder);
  const std::string outside = OutsideFile(resolved);
  if (outside.empty()) return 1;
  Log("kxsystem:  %s: %s (to %s); passed over\n", resolved.c_str(), kOutside, outside.c_str());
  return 0;
}

/* Every write's temporary is "<file>.tmp", and every file the program
   writes has an extension, so "<name>.<extension>.tmp" is the shape of a
   leftover; a user's "notes.tmp" is not. */
int RemoveUnfinishedWrites(const char* folder) {
  if (!MayChangeFolder(folder)) return 0;
  const std::string resolved = ResolveReadPath(folder);
  int removed = 0;
  for (const std::string& name : ListFiles((resolved + "/*" + kTempSuffix).c_str(), 1, 1)) {
    const std::string file = name.substr(0, name.size() - (sizeof kTempSuffix - 1));
    const size_t dot = file.rfind('.');
    if (name.ends_with(kTempSuffix) && dot != std::string::npos && dot != 0 && dot + 1 != file.size())
      removed += RemoveStaleTemporary(resolved + "/" + name) ? 1 : 0;
  }
  return removed;
}

std::string ResolveReadPath(const char* path) {
  if (!path) return std::string();
  return Resolve(Normalise(path));
}

std::string ResolveWritePath(const char* path) {
  if (!path) return std::string();
  std::string normal = Normalise(path);
  std::string whole = Resolve(normal);
  if (Exists(whole)) return whole;
  size_t slash = normal.rfind('/');
  if (slash == std::string::npos || slash == 0) return normal;
  return Resolve(normal.substr(0, slash)) + normal.substr(slash);
}

kxfile* OpenFile(const char* path, int mode) {
  if (!path || !*path) return nullptr;
  const char* stdioMode = nullptr;
  switch (mode) {
    case kxcode::kFileReadBinary: stdioMode = "rb"; break;
    case kxcode::kFileWriteBinary: stdioMode = "wb"; break;
    case kxcode::kFileWriteText: stdioMode = "w"; break;
    default: return nullptr;
  }
  auto* file = new kxfile;
  file->mode = mode;
  if (mode == kxcode::kFileReadBinary) {
    file->path = ResolveReadPath(path);
    file->stream = OpenForReading(file->path);
  } else {
    file->path = WriteTarget(ResolveWritePath(path));
    file->temp_path = file->path + kTempSuffix;
    if (!file->path.empty() && MayReplace(file->path)) file->stream = OpenTemporary(file->temp_path, stdioMode);
  }
  if (!file->stream) {
    delete file;
    return nullptr;
  }
  file->line[0] = 0;
  return file;
}

void CloseFile(kxfile* file) {
  if (!file) return;
  if (file->temp_path.empty()) {
    std::fclose(file->stream);
  } else if (!FinishTemporary(file->stream, !std::ferror(file->stream), file->temp_path, file->path)) {
    Log("kxsystem:  write %s=fail\n", file->path.c_str());
  }
  delete file;
}

namespace {

// The first read of a file: a UTF-8 mark is skipped; an empty file and one
// in UTF-16 get one log line, and the UTF-16 one reads as ended.
void ReadStart(kxfile* file) {
  char head[3];
  size_t got = std::fread(head, 1, sizeof head, file->stream);
  size_t mark = 0;
  kxtext::start kind = kxtext::Classify(std::string_view(head, got), &mark);
  if (const char* complaint = kxtext::Complaint(kind)) Log("kxsystem:  %s: %s\n", file->path.c_str(), complaint);
  if (kind == kxtext::start::kUtf16) {
    while (std::getc(file->stream) != EOF) {
    }
    return;
  }
  // Put back what is not the mark: the stream is read from there.
  if (std::fseek(file->stream, static_cast<long>(mark), SEEK_SET) != 0) std::clearerr(file->stream);
}

}  // namespace

const char* ReadLine(kxfile* file) {
  if (!file) return "";
  file->line[0] = 0;
  if (!file->temp_path.empty()) return file->line;
  if (!file->started) {
    file->started = 1;
    ReadStart(file);
  }
  // Byte by byte: a line ends at LF, CRLF or CR, and whatever an over-long
  // line holds past the buffer (a NUL, a line end of another kind) is
  // skipped with it, never read as a line of its own.
  size_t length = 0;
  bool cut = false;
  for (int c = std::getc(file->stream); c != EOF; c = std::getc(file->stream)) {
    if (c == '\n') break;
    if (c == '\r') {
      int next = std::getc(file->stream);
      if (next != '\n' && next != EOF) std::ungetc(next, file->stream);
      break;
    }
    if (length < static_cast<size_t>(kMaxLineChars)) {
      file->line[length++] = static_cast<char>(c);
    } else {
      cut = true;
    }
  }
  file->line[length] = 0;
  if (cut && !file->long_line_logged) {
    Log("kxsystem:  %s: line longer than %d characters cut\n", file->path.c_str(), kMaxLineChars);
    file->long_line_logged = 1;
  }
  return file->line;
}

int IsEof(kxfile* file) {
  if (!file) return 1;
  return std::feof(file->stream) ? 1 : 0;
}

long GetFileSize(const char* path) {
  if (!path || !*path) return -1;
  FILE* stream = OpenForReading(ResolveReadPath(path));
  if (!stream) return -1;
  long size = -1;
  if (std::fseek(stream, 0, SEEK_END) == 0) size = std::ftell(stream);
  std::fclose(stream);
  return size;
}

std::string ReadProblem(const char* path) {
  std::string resolved = ResolveReadPath(path);
  std::error_code error;
  // A link to nothing is there, and reads as what opening it says.
  if (resolved.empty() || !fs::exists(fs::symlink_status(fs::path(resolved), error))) return kNotFound;
  if (!OutsideFile(resolved).empty()) return kOutside;
  if (fs::is_directory(fs::path(resolved), error)) return "a folder";
  if (SpecialFile(resolved)) return kNotAFile;
  FILE* stream = std::fopen(resolved.c_str(), "rb");
  if (!stream) return std::string("not readable (") + std::strerror(errno) + ")";
  bool empty = std::fgetc(stream) == EOF;
  std::fclose(stream);
  return empty ? "empty file" : std::string();
}

std::string ReadProblemOr(const char* path, const char* readerReason) {
  std::string problem = ReadProblem(path);
  return problem.empty() ? std::string(readerReason) : problem;
}

long ReadWholeFile(const char* path, void* buffer, long capacity) {
  if (!path || !*path || capacity < 0 || (!buffer && capacity > 0)) return -1;
  std::string resolved = ResolveReadPath(path);
  FILE* stream = OpenForReading(resolved);
  if (!stream) return -1;
  size_t count = capacity > 0 ? std::fread(buffer, 1, static_cast<size_t>(capacity), stream) : 0;
  if (count == static_cast<size_t>(capacity) && std::fgetc(stream) != EOF)
    Log("kxsystem:  %s: longer than %ld bytes, rest not read\n", resolved.c_str(), capacity);
  std::fclose(stream);
  return static_cast<long>(count);
}

std::string WriteWholeFileProblem(const char* path, const void* buffer, long size) {
  if (!path || !*path || size < 0 || (!buffer && size > 0)) return std::string(path ? path : "") + ": no file name";
  return WriteAtomically(ResolveWritePath(path), buffer, size);
}

int WriteWholeFile(const char* path, const void* buffer, long size) {
  return WriteWholeFileProblem(path, buffer, size).empty() ? 1 : 0;
}

int AppendFile(const char* path, const void* buffer, long size) {
  if (!path || !*path || size < 0 || (!buffer && size > 0)) return 0;
  std::string target = WriteTarget(ResolveWritePath(path));
  if (target.empty()) return 0;
  FILE* stream = std::fopen(target.c_str(), "ab");
  if (!stream) return 0;
  size_t written = size > 0 ? std::fwrite(buffer, 1, static_cast<size_t>(size), stream) : 0;
  bool ok = written == static_cast<size_t>(size);
  ok = std::fclose(stream) == 0 && ok;
  return ok ? 1 : 0;
}

int DeleteFile(const char* path) {
  if (!path || !*path) return 0;
  std::string target = ResolveReadPath(path);
  std::error_code error;
  fs::file_status status = fs::symlink_status(fs::path(target), error);
  if (!fs::exists(status)) return 1;
  if (fs::is_directory(status) || !PlaceInside(target, "removed")) return 0;
  return fs::remove(fs::path(target), error) && !error ? 1 : 0;
}

int RenameFile(const char* path, const char* newPath) {
  if (!path || !*path || !newPath || !*newPath) return 0;
  std::string from = ResolveReadPath(path);
  std::string to = ResolveWritePath(newPath);
  std::error_code error;
  if (fs::exists(fs::symlink_status(fs::path(to), error))) return 0;
  if (!PlaceInside(from, "renamed") || !PlaceInside(to, "renamed")) return 0;
  return std::rename(from.c_str(), to.c_str()) == 0 ? 1 : 0;
}

std::string WriteNewFiles(const std::vector<newfile>& files) {
  std::vector<std::string> made;
  std::string problem;
  for (const newfile& file : files) {
    const std::string target = ResolveWritePath(file.path.c_str());
    if (!PlaceInside(target, "written")) {
      problem = file.path + ": " + kOutside;
      break;
    }
    // A rename replaces a link or a file at the name; it never follows one.
    problem = WriteThroughTemporary(target, file.bytes, false);
    if (!problem.empty()) break;
    made.push_back(target);
  }
  if (!problem.empty()) {
    for (const std::string& path : made) ::unlink(path.c_str());
    return problem;
  }
  SyncFolders(made);
  return std::string();
}

int ReplaceFiles(const std::vector<std::pair<std::string, std::string>>& moves, int synced) {
  struct replacement {
    std::string from, to;
    struct stat file;  // what from named when it was checked
  };
  std::vector<replacement> resolved;
  for (const auto& [from, to] : moves) {
    replacement m{ResolveReadPath(from.c_str()), WriteTarget(ResolveWritePath(to.c_str())), {}};
    if (m.to.empty() || !MayReplace(m.to) || !PlaceInside(m.from, "renamed")) return 0;
    // Only a regular file is put in place, never a link standing at a new
    // file's name; each is on disk before any rename.
    int descriptor = ::open(m.from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) return 0;
    bool ok = ::fstat(descriptor, &m.file) == 0 && S_ISREG(m.file.st_mode) && (synced || ::fsync(descriptor) == 0);
    if (ok) KeepMode(descriptor, m.to);
    ::close(descriptor);
    if (!ok) return 0;
    resolved.push_back(std::move(m));
  }
  // Each folder is synced once, after its last rename.
  std::vector<std::string> renamed;
  for (const replacement& m : resolved) {
    if (!RenameChecked(m.from, m.file, m.to)) break;
    renamed.push_back(m.to);
  }
  SyncFolders(renamed);
  return renamed.size() == resolved.size() ? 1 : 0;
}

int CopyFile(const char* source, const char* destination) {
  if (!source || !*source || !destination || !*destination) return 0;
  std::string from = ResolveReadPath(source);
  std::error_code error;
  if (!fs::is_regular_file(fs::path(from), error) || !ReadAllowed(from)) return 0;
  std::string to = WriteTarget(ResolveWritePath(destination));
  if (to.empty()) return 0;
  if (fs::exists(fs::path(to), error) && fs::equivalent(fs::path(from), fs::path(to), error)) return 1;
  if (!MayReplace(to)) return 0;
  FILE* in = std::fopen(from.c_str(), "rb");
  if (!in) return 0;
  const std::string temp = to + kTempSuffix;
  FILE* out = OpenTemporary(temp, "wb");
  bool ok = out != nullptr;
  char block[1 << 16];
  for (size_t got; ok && (got = std::fread(block, 1, sizeof block, in)) > 0;)
    ok = std::fwrite(block, 1, got, out) == got;
  ok = ok && !std::ferror(in);
  std::fclose(in);
  return out && FinishTemporary(out, ok, temp, to) ? 1 : 0;
}

int CreateDirectory(const char* path) {
  if (!path || !*path) return 0;
  std::string target = ResolveWritePath(path);
  while (target.size() > 1 && target.back() == '/') target.pop_back();
  if (!PlaceInside(target, "created")) return 0;
  std::error_code error;
  return fs::create_directory(fs::path(target), error) && !error ? 1 : 0;
}

}  // namespace kxsystem
