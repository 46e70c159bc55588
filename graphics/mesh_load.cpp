#include "graphics/mesh_load.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/hooks.h"
#include "graphics/file_bytes.h"
#include "graphics/texture_table.h"
#include "platform/files.h"

namespace kxgl {
namespace {

constexpr char kBinaryMagic[8] = {'K', 'X', 'T', 'G', 'O', '1', 0, 0};
constexpr const char* kTextureDirectory = "texture/";

std::string TwinOf(const std::string& path) {
  if (path.size() < 4) return std::string();
  return path.substr(0, path.size() - 4) + ".tgo";
}

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool Usable(const std::string& path) { return FileTime(path.c_str()) >= 0; }

void AddTexture(kxgeometryinfo* info, kxtexture* t) {
  kxtexture** grown =
      static_cast<kxtexture**>(std::realloc(info->textures, sizeof(kxtexture*) * (info->textureCount + 1)));
  if (!grown) {
    FreeTexture(t);
    return;
  }
  info->textures = grown;
  info->textures[info->textureCount++] = t;
}

// A texture the mesh names but that is not found, or that would be read
// from outside the data folder, is left off with one log line.
void LoadMeshTextures(kxgeometry* first, const std::string& path) {
  std::string directory = DirectoryOf(path);
  const std::string lineStart = "gl:  " + path + ": texture ";
  for (kxgeometry* el = first; el; el = el->next) {
    if (!el->textureName[0] || !kxsystem::NameStaysInside(el->textureName, lineStart.c_str())) continue;
    std::string candidates[2] = {directory + el->textureName, std::string(kTextureDirectory) + el->textureName};
    if (!Usable(candidates[0]) && !Usable(candidates[1])) {
      kxcore::Log("%s%s not found\n", lineStart.c_str(), el->textureName);
      continue;
    }
    for (const std::string& candidate : candidates) {
      if (!Usable(candidate)) continue;
      kxtexture* t = LoadTexture(candidate.c_str(), {.type = el->transparent ? kTypeRGBA : kTypeRGB,
                                                     .filter = kFilterLinear, .wrapS = kWrapRepeat,
                                                     .wrapT = kWrapRepeat, .mipmap = true, .reducible = true});
      if (!t) continue;
      if (!first->info) first->info = static_cast<kxgeometryinfo*>(std::calloc(1, sizeof(kxgeometryinfo)));
      if (!first->info) {
        FreeTexture(t);
        break;
      }
      AddTexture(first->info, t);
      el->texture = t;
      break;
    }
  }
}

}  // namespace

/* The format is told by content, so a file that is neither says so here,
   before any reader sees it: a missing, empty or unreadable file, or bytes
   with a zero in them (no text holds one) that lack the binary header. */
kxgeometry* ReadMeshFile(const char* path) {
  const char* shown = path ? path : "";
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, &bytes) || bytes.empty()) {
    kxcore::Log("gl:  %s: %s\n", shown, kxsystem::ReadProblemOr(path, "too large").c_str());
    return nullptr;
  }
  if (bytes.size() >= 8 && std::memcmp(bytes.data(), kBinaryMagic, 8) == 0)
    return ReadBinaryMesh(bytes.data(), bytes.size());
  if (std::memchr(bytes.data(), 0, bytes.size())) {
    kxcore::Log("gl:  %s: binary bytes without the header of a binary mesh\n", shown);
    return nullptr;
  }
  return ReadTextMesh(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

int LoadGeometry(const char* path, kxgeometry** slot, int preferBinary, int /*reserved*/) {
  if (!slot) return 0;
  kxgeometry::Free(slot);
  std::string named = path ? path : "";
  std::string chosen = named;
  if (preferBinary) {
    std::string twin = TwinOf(named);
    long long twinTime = twin.empty() ? -1 : FileTime(twin.c_str());
    long long namedTime = FileTime(named.c_str());
    // A twin older than the named file is stale: the text was saved after it.
    if (twinTime >= 0 && (namedTime < 0 || twinTime >= namedTime) && FileLength(twin.c_str()) > 0)
      chosen = twin;
  }
  // The readers log why a file is refused; the result line follows them
  // whole, and the texture loads after it.
  kxgeometry* list = ReadMeshFile(chosen.c_str());
  kxcore::Log("gl:  loading geometry %s=%s\n", named.c_str(), list ? "ok" : "fail");
  if (!list) return 0;
  LoadMeshTextures(list, chosen);
  *slot = list;
  return 1;
}

}  // namespace kxgl
