// Named memory reserves: the large buffers (textures, sounds, meshes,
// collision arrays) come from here as zero-filled, 32-byte aligned blocks,
// counted while held and listed in the log at shutdown when still held.
#pragma once

namespace kxsystem {

constexpr long kReserveAlignment = 32;

// Puts a new block of bytes into *slot; a block already held in *slot is
// released first. 1, or 0 with *slot null and a log line.
int Reserve(void** slot, long bytes, const char* name);
// Frees the block in *slot and nulls it; a null slot or a pointer that is no
// reserve is ignored (the latter with a log line).
void Release(void** slot);

int ReserveCount();
long ReserveBytes();
// Logs every reserve still held (shutdown).
void ReportReserves();
// Frees every reserve and zeroes the counters (start-up and tests).
void ClearReserves();

}  // namespace kxsystem
