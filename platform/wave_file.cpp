#include "platform/wave_file.h"

#include <SDL2/SDL.h>

#include <cstring>

#include "platform/files.h"

namespace kxsystem {
namespace {

constexpr size_t kRiffHeaderBytes = 12;  // "RIFF", size, "WAVE"
constexpr size_t kChunkHeaderBytes = 8;  // id, size

uint32_t ReadU32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
         static_cast<uint32_t>(p[3]) << 24;
}

void WriteU32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(v >> (8 * i));
}

/*
 * The decoder allocates what a chunk header claims before it reads, so a
 * damaged header asking for gigabytes would be honoured. Chunk sizes are cut
 * to the bytes that are really there; a file that is no RIFF wave is refused.
 */
bool ClampChunks(std::vector<unsigned char>& bytes) {
  if (bytes.size() < kRiffHeaderBytes || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0)
    return false;
  WriteU32(bytes.data() + 4, static_cast<uint32_t>(bytes.size() - kChunkHeaderBytes));
  size_t offset = kRiffHeaderBytes;
  while (offset + kChunkHeaderBytes <= bytes.size()) {
    size_t remaining = bytes.size() - offset - kChunkHeaderBytes;
    uint32_t length = ReadU32(bytes.data() + offset + 4);
    if (length > remaining) {
      length = static_cast<uint32_t>(remaining);
      WriteU32(bytes.data() + offset + 4, length);
    }
    offset += kChunkHeaderBytes + length + (length & 1);
  }
  return true;
}

}  // namespace

int DecodeWave(const void* bytes, size_t size, kxwave& out) {
  out = kxwave();
  if (!bytes || size == 0 || size > kWaveMaxBytes) return 0;
  std::vector<unsigned char> checked(static_cast<const unsigned char*>(bytes),
                                     static_cast<const unsigned char*>(bytes) + size);
  if (!ClampChunks(checked)) return 0;
  SDL_RWops* stream = SDL_RWFromConstMem(checked.data(), static_cast<int>(checked.size()));
  if (!stream) return 0;
  SDL_AudioSpec spec{};
  Uint8* data = nullptr;
  Uint32 length = 0;
  if (!SDL_LoadWAV_RW(stream, 1, &spec, &data, &length)) return 0;
  int ok = 0;
  if (spec.freq >= kWaveMinRate && spec.freq <= kWaveMaxRate && spec.channels > 0 && length > 0) {
    SDL_AudioCVT cvt{};
    int built = SDL_BuildAudioCVT(&cvt, spec.format, spec.channels, spec.freq, AUDIO_S16SYS, 1, spec.freq);
    if (built >= 0) {
      std::vector<Uint8> work(static_cast<size_t>(length) * static_cast<size_t>(cvt.len_mult > 0 ? cvt.len_mult : 1));
      std::memcpy(work.data(), data, length);
      cvt.buf = work.data();
      cvt.len = static_cast<int>(length);
      if (built == 0 || SDL_ConvertAudio(&cvt) == 0) {
        size_t converted = built == 0 ? length : static_cast<size_t>(cvt.len_cvt);
        out.samples.resize(converted / sizeof(int16_t));
        if (!out.samples.empty()) {
          std::memcpy(out.samples.data(), work.data(), out.samples.size() * sizeof(int16_t));
        }
        out.rate = spec.freq;
        ok = out.samples.empty() ? 0 : 1;
      }
    }
  }
  SDL_FreeWAV(data);
  if (!ok) out = kxwave();
  return ok;
}

int LoadWave(const char* path, kxwave& out) {
  out = kxwave();
  long size = GetFileSize(path);
  if (size <= 0 || static_cast<size_t>(size) > kWaveMaxBytes) return 0;
  std::vector<unsigned char> bytes(static_cast<size_t>(size));
  if (ReadWholeFile(path, bytes.data(), size) != size) return 0;
  return DecodeWave(bytes.data(), bytes.size(), out);
}

}  // namespace kxsystem
