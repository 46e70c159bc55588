// The texture table: 2048 shared, reference-counted entries that hold each
// picture's texels on the CPU and, once uploaded, its OpenGL name. Loading,
// creating and editing need no OpenGL context; upload and drawing do.
#pragma once

#include <cstdint>

struct kxtexture {
  uint32_t glName;     // OpenGL texture name; 0 = not uploaded. Stays first: callers bind it directly.
  char name[128];      // path of a loaded texture or the creator's name
  int32_t width;       // texels
  int32_t height;      // texels
  int32_t type;        // 1 alpha, 3 RGB, 4 RGBA, 10 RGB photo tile
  int32_t filter;      // 60 linear, any other nearest
  int32_t wrapS;       // 71 clamp, 72 clamp to edge, any other repeat
  int32_t wrapT;
  int32_t mipmap;      // 1: mip levels are built at upload
  int32_t cube;        // 1: built as a cube map by its owner, never uploaded as 2-D
  int32_t uploaded;    // 1 when the GL copy matches the texels; callers may clear it
  int32_t refs;        // 0 = free entry
  uint8_t* pixels;     // width * height * bytesPerTexel, rows top-down
  int32_t bytesPerTexel;
  int32_t fromFile;    // 1 for LoadTexture entries, which are shared by path
  int32_t fileFlags;   // .kxt flags of the source file
  int32_t reducible;   // 1: the quality setting halves it at upload (loaded as reducible)
};

namespace kxgl {

constexpr int kTextureCount = 2048;
constexpr int kTypeAlpha = 1;
constexpr int kTypeRGB = 3;
constexpr int kTypeRGBA = 4;
constexpr int kTypePhoto = 10;
constexpr int kFilterLinear = 60;
constexpr int kFilterNearest = 61;
constexpr int kWrapRepeat = 70;
constexpr int kWrapClamp = 71;
constexpr int kWrapClampToEdge = 72;
constexpr int kQualityHigh = 0;
constexpr int kQualityLow = 2;

// Settings: 0 high, 1 medium, 2 low (reducible textures halved that many
// times at upload); 1 lets photo tiles (type 10) and .kxt files flagged for it use
// a compressed internal format where the context offers one.
extern int textureQuality;
extern int textureCompression;
// Longest edge (texels) a texture is uploaded with; larger ones are halved
// until they fit (0: no limit but the context's).
constexpr int kDefaultMaxTextureSize = 2048;
extern int maxTextureSize;

// Bytes per texel of a type code; 0 for an unknown code.
int BytesPerTexel(int type);

void ClearTextureTable();
// Shares an entry of the same name, type and size, else claims a free one
// with a zeroed texel buffer. Null when the table is full or the size is bad.
kxtexture* CreateTexture(const char* name, int type, int width, int height, int filter, int wrapS,
                         int wrapT, int mipmap);
// How LoadTexture converts and samples a picture. The defaults suit the
// program's own pictures (icon sheets, pointer, button and menu pictures):
// RGBA, nearest, clamped, no mip levels.
struct textureoptions {
  int type = kTypeRGBA;           // kType...
  int filter = kFilterNearest;    // kFilter...
  int wrapS = kWrapClamp;         // kWrap...
  int wrapT = kWrapClamp;
  bool mipmap = false;            // mip levels are built at upload
  // Set for the pictures of sceneries and aircraft, which the quality
  // setting may halve to save memory. The program's own pictures are drawn
  // pixel for pixel and must stay readable at any quality.
  bool reducible = false;
};

// Reads BMP, JPEG or .kxt (by content) and converts to the options' type.
// The same path and type share one entry, whose first load decides whether
// it is reducible. Null when the file cannot be read.
kxtexture* LoadTexture(const char* path, const textureoptions& options = {});
// Drops one reference; at zero the entry, its texels and its GL name go.
void FreeTexture(kxtexture* texture);
// One more reference to an entry in use (a second holder frees it too);
// null for null or an entry without references.
kxtexture* ShareTexture(kxtexture* texture);
// Frees every entry whatever its references (program exit).
void FreeAllTextures();

// Upload needs a current context; without one these return 0 and change nothing.
int UploadTexture(kxtexture* texture);
int UploadAllTextures();
// Copies new texels (kind 1 alpha, 3 RGB, 4 RGBA, srcWidth x srcHeight,
// nearest-resampled to the texture's size), then refreshes the GL copy when
// there is one and a context, else marks the entry not uploaded. 0 on bad input.
int UpdateTexture(kxtexture* texture, const uint8_t* pixels, int kind, int srcWidth, int srcHeight);
int UpdateTexture(kxtexture* texture, const uint8_t* pixels, int kind);
// In-place edits on the texels: 1 reverses the rows; 2 caps alpha at param
// and blurs all channels 3 x 3. Other modes change nothing.
void MakeProceduralTexture(kxtexture* texture, int mode, float param);
// The context is about to go: GL names are forgotten, texels kept, and every
// entry uploads again on its next use.
void ContextLost();

// Table inspection, for the views and for tests.
kxtexture* TextureEntry(int index);  // null outside 0..kTextureCount-1
int TexturesInUse();

}  // namespace kxgl
