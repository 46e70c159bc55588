// The start-up splash is a BMP handed to the window system's own reader,
// which sizes its surface from the header alone. The header is checked here
// first, by the size rule every picture reader of the program applies.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kxsystem {

// 1 and the file's bytes when the bitmap at path may be handed on: a header
// whose size the rule allows and whose pixel rows the file holds. Else 0
// after one log line; a file longer than any picture is not read.
int ReadSplashBitmap(const char* path, std::vector<uint8_t>* bytes);
// Why the bitmap at path may not be handed on, empty when it may; bytes
// then hold the file. ReadSplashBitmap logs this reason.
std::string SplashRefusal(const char* path, std::vector<uint8_t>* bytes);

}  // namespace kxsystem
