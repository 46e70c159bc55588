// scramble_dns: scrambles a .dns model file, or with -d descrambles it.
//   scramble_dns [-d] <in.dns> <out.dns>
// A scrambled file no longer begins with "// DNS FILE", so the reader
// descrambles it before reading.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "graphics/file_bytes.h"
#include "legacy/dns_scramble.h"

int main(int argc, char** argv) {
  bool descramble = argc == 4 && std::strcmp(argv[1], "-d") == 0;
  if (argc != 3 && !descramble) {
    std::fprintf(stderr, "usage: scramble_dns [-d] <in.dns> <out.dns>\n");
    return 2;
  }
  const char* in = argv[argc - 2];
  const char* out = argv[argc - 1];
  std::ifstream file(in, std::ios::binary);
  if (!file) {
    std::fprintf(stderr, "scramble_dns: cannot read %s\n", in);
    return 1;
  }
  std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (descramble) dnsmodel::Descramble(text.data(), text.size());
  else dnsmodel::Scramble(text.data(), text.size());
  if (!kxgl::WriteFileBytes(out, text.data(), text.size())) {
    std::fprintf(stderr, "scramble_dns: cannot write %s\n", out);
    return 1;
  }
  return 0;
}
