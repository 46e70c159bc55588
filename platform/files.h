// Files for every subsystem: streams read line by line, whole-file reads and
// writes, copy, delete and directory creation. Names are matched exactly and,
// failing that, without case, because the data was authored on case-blind
// file systems. Writes go to a temporary file, made anew and never through a
// link, which is renamed over the target once it is complete and on disk, so
// neither a failed write nor a power cut destroys the old file; a write to a
// link goes to the file the link names, and the link stays. Once the
// program has named its data folder, nothing outside it is read, written,
// removed, renamed or made, however a link or a name leads there: each
// refusal gets a log line.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kxsystem {

// Longest line ReadLine returns; the rest of a longer line is skipped.
constexpr int kMaxLineChars = 63999;
constexpr int kLineBufferBytes = kMaxLineChars + 1;

}  // namespace kxsystem

// An open file with its own line buffer. For writing, the data goes to
// temp_path until CloseFile renames it over path.
struct kxfile {
  FILE* stream = nullptr;
  std::string path;       // the file as the caller will see it
  std::string temp_path;  // empty when reading
  int mode = 0;
  int long_line_logged = 0;
  int started = 0;  // the first read looked at the byte-order mark
  char line[kxsystem::kLineBufferBytes];
};

namespace kxsystem {

// Mode 30 "rb", 31 "wb", 32 "wt"; null for an empty path, another mode or a
// file that cannot be opened.
kxfile* OpenFile(const char* path, int mode);
// Closes; a write is renamed over its target only when every byte got out.
// Null is ignored.
void CloseFile(kxfile* file);
// Next line without its line end (LF, CRLF or CR), at most kMaxLineChars
// characters, the rest of a longer line skipped; empty at the end. A UTF-8
// byte-order mark is skipped; an empty file and one in UTF-16 (which reads
// as ended) get one log line. Valid until the next ReadLine or CloseFile of
// that file.
const char* ReadLine(kxfile* file);
// 1 for null or once a read has hit the end, else 0.
int IsEof(kxfile* file);

// Bytes, or -1 for an empty path, a directory or a file that cannot be opened.
long GetFileSize(const char* path);
// Why a file cannot be read, for the log line that reports it: kNotFound,
// kOutside, "a folder", kNotAFile, "not readable (<system's reason>)" or "empty file"; empty
// when it can be read and holds bytes.
constexpr char kNotFound[] = "not found";
std::string ReadProblem(const char* path);
// ReadProblem, or readerReason when there is none: the file opens, so its
// reader refused what it holds. The reason a failed load's log line gives.
std::string ReadProblemOr(const char* path, const char* readerReason);
// Reads at most capacity bytes; the count read, or -1. No terminator added.
long ReadWholeFile(const char* path, void* buffer, long capacity);
// Creates or replaces the file atomically; 1 when all bytes were written.
int WriteWholeFile(const char* path, const void* buffer, long size);
// The same, saying why a write failed: empty when written, else "<file>:
// <reason>" (kFolderInTheWay, kOutside or the system's reason), for the
// user's notice.
std::string WriteWholeFileProblem(const char* path, const void* buffer, long size);
// Appends in place, creating the file; 1 or 0.
int AppendFile(const char* path, const void* buffer, long size);
// The ending of a write's temporary: "<file>.tmp" beside its file.
constexpr char kTempSuffix[] = ".tmp";
// Removes a regular file; a missing file is no error (1).
int DeleteFile(const char* path);
// Gives a file (or a link) a new name in the same file system; 0 when the
// new name is taken or the rename fails.
int RenameFile(const char* path, const char* newPath);
// One file of a set: its name and its whole contents.
struct newfile {
  std::string path;
  std::string_view bytes;
};
// Why a write found its way blocked: a folder stands at the name it needs.
constexpr char kFolderInTheWay[] = "a folder stands at its name";
// Writes the new files of a set, which ReplaceFiles then puts in place: each
// whole and on disk under its name (through its own temporary, as every
// write), whatever stood at the name (an earlier run's file, a link) replaced
// and never followed, and each folder synced once after the last. Empty when
// all were written; else why not ("<file>: <reason>", kFolderInTheWay among
// them), and none of the set's files is left.
std::string WriteNewFiles(const std::vector<newfile>& files);
// Renames each new file of a set over its target (pairs of new file and
// target, in order), so that files which belong together are replaced
// together. Nothing is renamed unless every target may be replaced and every
// new file is a regular file (a link at a new file's name is never put in
// place); each is on disk before the first rename (synced: the caller's
// WriteNewFiles made it so), each replacement keeps its target's
// permissions, and each folder is synced once after its renames. 1 when
// every rename succeeded.
int ReplaceFiles(const std::vector<std::pair<std::string, std::string>>& moves, int synced = 0);
// Copies, replacing the destination; the same file on both sides is left
// untouched (1).
int CopyFile(const char* source, const char* destination);
// 1 when the directory was created, 0 when it failed or already existed.
int CreateDirectory(const char* path);

// 1 for the name of a folder or file inside the folder that holds it (an
// aircraft, a scenery): not empty, no "/" or "\", not starting with ".".
int IsPlainName(const char* name);
// 1 for a path relative to the data folder that stays inside it: not empty,
// not absolute ("/", "\" or a drive "x:" first), no ".." part.
int StaysInside(const char* path);
// StaysInside for a name read from a data file before it becomes a path;
// one that does not is refused with the log line "<line start><name>
// leaves the data folder; ignored".
int NameStaysInside(const char* name, const char* lineStart);

// The data folder whose files may be read and written (the program's own
// working folder); null or empty lifts the limit, as for tools and tests.
void SetDataFolder(const char* folder);
// Why ReadProblem refuses a file that leads outside the data folder.
constexpr char kOutside[] = "leads outside the data folder";
// Why ReadProblem refuses a named pipe, a device or a socket.
constexpr char kNotAFile[] = "no regular file (a pipe or a device)";
// 1 when a read of the path may go ahead: no data folder is set, the file
// is not there (the open will say so), or it lies inside the folder once
// links are followed. Else 0 with the log line "kxsystem:  <path>: leads
// outside the data folder (to <file>); not read". A named pipe, a device
// or a socket is never read, with the log line "kxsystem:  <path>: no
// regular file (a pipe or a device); not read". Every read of this unit
// passes through it; other readers of files call it first.
int MayRead(const char* path);
// 1 when the folder's files may be removed, renamed or made: no data
// folder is set, or it lies inside once links are followed. Else 0 with the
// log line "kxsystem:  <folder>: leads outside the data folder (to <where>);
// passed over". (Each removal, rename and creation is refused outside the
// data folder in any case, with a log line of its own.)
int MayChangeFolder(const char* folder);
// The leftovers of writes killed on their way in a folder the program
// writes: every "<name>.<extension>.tmp" there (a file or a link, never a
// folder), with a log line each; the count removed. A folder outside the
// data folder is passed over (MayChangeFolder).
int RemoveUnfinishedWrites(const char* folder);
// A write's leftover: removes "<path>.tmp" (and, for a link, the one beside
// the file it names), the temporary of a write of path that never finished,
// with a log line each; 1 when there was one. A file or a link (the link
// itself, never what it names); a folder stays.
int RemoveUnfinishedWrite(const char* path);

// The path a read would open: "\" becomes "/", and a path that does not exist
// is matched component by component without case. Unmatched parts stay.
std::string ResolveReadPath(const char* path);
// The path a write would create: an existing file of any case is replaced,
// else the name is placed in the resolved directory.
std::string ResolveWritePath(const char* path);

}  // namespace kxsystem
