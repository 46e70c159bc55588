#include "platform/system_info.h"

#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <utility>

#include "core/numbers.h"
#include "platform/log.h"

namespace kxsystem {
namespace {

constexpr unsigned long kBytesPerMegabyte = 1024ul * 1024ul;

struct Processors {
  int physical = 0;
  int megahertz = 0;
};

// Physical cores are the distinct (package, core) pairs of /proc/cpuinfo.
Processors ReadCpuInfo() {
  Processors result;
  FILE* info = std::fopen("/proc/cpuinfo", "r");
  if (!info) return result;
  std::set<std::pair<int, int>> cores;
  int package = 0;
  char line[512];
  while (std::fgets(line, sizeof(line), info)) {
    const char* colon = std::strchr(line, ':');
    if (!colon) continue;
    if (std::strncmp(line, "physical id", 11) == 0) package = static_cast<int>(kxnumber::LeadingWholeNumber(colon + 1));
    else if (std::strncmp(line, "core id", 7) == 0) cores.insert({package, static_cast<int>(kxnumber::LeadingWholeNumber(colon + 1))});
    else if (std::strncmp(line, "cpu MHz", 7) == 0 && result.megahertz == 0)
      result.megahertz = static_cast<int>(std::clamp(kxnumber::LeadingReal(colon + 1), 0.0, 1e6) + 0.5);
  }
  std::fclose(info);
  result.physical = static_cast<int>(cores.size());
  return result;
}

}  // namespace

void LogSystemInfo() {
  int logical = static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN));
  Processors processors = ReadCpuInfo();
  if (processors.physical == 0) processors.physical = logical;
  Log("kxsystem:  processors: %d logical, %d physical, %d MHz\n", logical, processors.physical,
      processors.megahertz);
  struct sysinfo memory {};
  unsigned long megabytes = 0;
  if (sysinfo(&memory) == 0)
    megabytes = static_cast<unsigned long>(memory.totalram) * memory.mem_unit / kBytesPerMegabyte;
  Log("kxsystem:  memory: %lu MB\n", megabytes);
  struct utsname name {};
  if (uname(&name) == 0) Log("kxsystem:  system: %s %s\n", name.sysname, name.release);
  else Log("kxsystem:  system: unknown\n");
}

}  // namespace kxsystem
