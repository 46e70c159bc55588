#include "platform/reserves.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <string>

#include "platform/log.h"

namespace kxsystem {
namespace {

struct Block {
  std::string name;
  long bytes;
};

std::mutex reserveMutex;
std::map<void*, Block> blocks;
long heldBytes = 0;

void FreeLocked(std::map<void*, Block>::iterator it) {
  heldBytes -= it->second.bytes;
  std::free(it->first);
  blocks.erase(it);
}

}  // namespace

int Reserve(void** slot, long bytes, const char* name) {
  const char* label = name ? name : "";
  if (!slot) {
    Log("kxsystem:  reserve %s=fail\n", label);
    return 0;
  }
  std::lock_guard<std::mutex> lock(reserveMutex);
  auto held = blocks.find(*slot);
  if (*slot && held != blocks.end()) FreeLocked(held);
  *slot = nullptr;
  if (bytes < 0) {
    Log("kxsystem:  reserve %s=fail\n", label);
    return 0;
  }
  // aligned_alloc wants a multiple of the alignment, and never zero.
  size_t rounded = (static_cast<size_t>(bytes) + kReserveAlignment - 1) / kReserveAlignment * kReserveAlignment;
  if (rounded == 0) rounded = kReserveAlignment;
  void* block = std::aligned_alloc(kReserveAlignment, rounded);
  if (!block) {
    Log("kxsystem:  reserve %s=fail\n", label);
    return 0;
  }
  std::memset(block, 0, rounded);
  blocks[block] = Block{label, bytes};
  heldBytes += bytes;
  *slot = block;
  return 1;
}

void Release(void** slot) {
  if (!slot || !*slot) return;
  std::lock_guard<std::mutex> lock(reserveMutex);
  auto held = blocks.find(*slot);
  if (held == blocks.end()) {
    Log("kxsystem:  release of a block that is no reserve ignored\n");
    return;
  }
  FreeLocked(held);
  *slot = nullptr;
}

int ReserveCount() {
  std::lock_guard<std::mutex> lock(reserveMutex);
  return static_cast<int>(blocks.size());
}

long ReserveBytes() {
  std::lock_guard<std::mutex> lock(reserveMutex);
  return heldBytes;
}

void ReportReserves() {
  std::lock_guard<std::mutex> lock(reserveMutex);
  for (const auto& [block, info] : blocks)
    Log("kxsystem:  reserve %s still held (%ld bytes)\n", info.name.c_str(), info.bytes);
}

void ClearReserves() {
  std::lock_guard<std::mutex> lock(reserveMutex);
  for (const auto& entry : blocks) std::free(entry.first);
  blocks.clear();
  heldBytes = 0;
}

}  // namespace kxsystem
