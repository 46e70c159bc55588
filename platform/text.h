// Text comparisons used by settings readers and file choosers; letters A-Z
// compare without case where asked, other bytes exactly.
#pragma once

namespace kxsystem {

// 1 when byte-equal; 0 otherwise or when either is null.
int StrEqual(const char* a, const char* b);
// 1 when equal ignoring ASCII case; 0 otherwise or when either is null.
int StrEqualNoCase(const char* a, const char* b);
// 1 when text begins with prefix ignoring ASCII case, or prefix is empty;
// 0 when text is shorter, differs or is null.
int StrStartsNoCase(const char* text, const char* prefix);

}  // namespace kxsystem
