// Reads arbitrary bytes as a .dns model file: whatever the bytes, every part
// read has a class, a terminated name and a list that ends, and once the
// list is freed the pool holds nothing (the reader returned its buffers).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/hooks.h"
#include "fuzz/input_file.h"
#include "legacy/dns_reader.h"
#include "legacy/factory.h"
#include "legacy/parts.h"
#include "legacy/pool.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kxcore::SetLogHandler([](const char*) {});
  fuzzinput::file input("model.dns", data, size);
  if (!input.Path()) return 0;
  dnsmodel::object* list = dnsmodel::ReadDnsFile(input.Path());
  int count = 0;
  for (dnsmodel::object* p = list; p; p = p->next) {
    if (!p->cls || !std::memchr(p->Name, 0, sizeof p->Name)) std::abort();
    if (++count > dnsmodel::kTokenTableEntries) std::abort();
  }
  dnsmodel::FreeParts(list);
  if (dnsmodel::CurrentPool()->used != 0 || dnsmodel::CurrentPool()->blocks != 1) std::abort();
  return 0;
}
