// kxscript: the interpreter of the command language. Command texts from the
// GUI, aircraft files, the UI description, language and control-assignment
// files all run here against the node tree.
//
// Sections of interpreter.cpp: run state and failure reports; paths and
// member lookup; expressions; statements and cd; Execute and the public API.
// Description files are read in script_file.cpp, built-ins in builtins.cpp.
#pragma once

#include "core/node.h"
#include "core/string.h"
#include "core/value.h"

namespace kxscript {

// Execute and ReadFile nest at most this deep (a command that runs itself).
constexpr int kMaxNesting = 32;

// Registers the core value types and built-ins and creates the root node.
// Must run before any other registration; a second call does nothing.
void Init();
// Destroys the tree below and including the root.
void Shutdown();
kxnode* Root();

// Runs a command text: statements separated by ";" and line breaks. With a
// node it becomes the current node for the run. Returns the node current at
// the end of the run; the caller's current node is restored afterwards.
kxnode* Execute(const char* text, kxnode* node = nullptr);

// Runs every line of a description file (only the lines of section when one
// is named). 1 when the file, and the section, were found and run; 0 when the
// file does not open or the section is missing - then nothing runs.
int ReadFile(const char* path, kxnode* node = nullptr, const char* section = nullptr);
// As ReadFile, for a node meant to take only some of the file's lines (a
// text node that reads a control file for its description line): the lines
// it does not know are passed over without the count in the log. Every
// other failure is reported as ReadFile reports it.
int ReadFilePart(const char* path, kxnode* node);
// As ReadFile, for a file that describes what lies below node (an
// aircraft's geometry): no cd leads out of node (a cd above it stops there,
// with one log line), and no statement sets, calls or appends anything on a
// node outside it (each refused with its log line).
int ReadFileWithin(const char* path, kxnode* node);

// Evaluates one expression relative to node (or the current node); null when
// it names nothing.
kxvalueptr Evaluate(const char* expression, kxnode* node = nullptr);

kxnode* Current();
void SetCurrent(kxnode* node);
// The current node back to the root, as after Init. Aliases stay: modules
// bind them once when they start.
void Reset();

// Path aliases: "~Name/..." starts at the node bound to Name.
void SetAlias(const char* name, kxnode* node);
kxnode* Alias(const char* name);
void ClearAlias(const char* name);

// The text in double quotes with " and \ escaped: the only safe way to put
// user text into a command text.
kxstring Quote(const char* text);

// Reports a failure of the statement being run, with its file and line; the
// statement is then not reported again. Used by members that know better
// than the interpreter why they failed (an unknown type in Append).
void ReportFailure(const char* reason, const char* subject);

// Called by every node's destructor: forgets the node as current node, saved
// current node or alias; a run that loses its current node skips the rest of
// its relative statements.
void NodeDestroyed(kxnode* node);

}  // namespace kxscript
