// The reader of .dns model files: statements that declare parts by class and
// name and assign their members, turned into the model's list of parts.
//
//   // DNS FILE                         the first line of a plain file
//   wing WingL;                         declaration: class, name with ";"
//   WingL.Area = 0.16                   assignment: part.member (or index) = values
//   WingL.R = ( 0 0.35 0.05 )           a vector takes the 2nd to 4th value tokens
//   strcpy( Eng.SoundFile, "engine" );  text: the value loses its first and last character
//
// Tokens are separated by blanks and tabs; any run of bytes outside 32..126
// is one line break. Only a line's first token starts a statement, and a
// statement's further tokens may lie on the lines after it. Every working
// buffer comes from the runtime's pool and is returned before the reader ends.
#pragma once

namespace dnsmodel {

struct object;

constexpr int kLineTableEntries = 2000;    // at most 1,999 lines are read
constexpr int kTokenTableEntries = 10000;  // at most 9,999 tokens are read
constexpr char kPlainHeader[] = "// DNS FILE";

// The parts the file at path declares, in order and linked by next, owned by
// the caller (FreeParts); null for a file that cannot be read, is empty or
// declares nothing. A file not beginning with kPlainHeader is descrambled
// first. Bad statements are skipped with a log line; the parts made before
// the pool ran out are kept.
object* ReadDnsFile(const char* path);

}  // namespace dnsmodel
