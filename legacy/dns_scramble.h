// The scramble of .dns files that do not begin with "// DNS FILE": a
// reversible byte transform of our own. Every non-zero byte is turned
// around the 255 non-zero values by a step that depends on its position, so
// a scrambled text has no zero byte the plain text did not have (the reader
// descrambles up to the first zero) and no byte of it stays as it was (a
// scrambled file never passes for a plain one).
#pragma once

#include <cstddef>

namespace dnsmodel {

void Scramble(char* text, size_t size);
void Descramble(char* text, size_t size);

}  // namespace dnsmodel
