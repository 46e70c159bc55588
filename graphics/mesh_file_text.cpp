// Text mesh files: a subset of the OBJ format with inline material lines, so
// common tools can read what we write. Lines may be of any length.
//
//   o <path>              group (object path) of the following elements
//   g <name>              starts an element
//   v x y z [r g b [a]]   vt s t   vn x y z     (global, 1-based, negative = relative)
//   f a/b/c ...           polygon, drawn as a fan
//   Ka|Kd|Ks r g b [a]    Ns s    map_Kd <file>    kx_transparent 0|1
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <GL/gl.h>

#include "core/hooks.h"
#include "core/numbers.h"
#include "graphics/file_bytes.h"
#include "graphics/mesh.h"

namespace {

struct Corner {
  int v, t, n;  // 0-based; -1 when absent
  bool operator<(const Corner& o) const { return std::tie(v, t, n) < std::tie(o.v, o.t, o.n); }
};

struct Pending {
  std::string name, group, texture;
  float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f};
  float diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
  float specular[4] = {0.0f, 0.0f, 0.0f, 1.0f};
  float shininess = 0.0f;
  int transparent = 0;
  std::vector<Corner> corners;  // 3 per triangle
};

struct Position {
  float xyz[3];
  float rgba[4];
  bool colored;
};

int Fail(int line, const char* why) {
  kxcore::Log("gl:  obj line %d: %s\n", line, why);
  return 0;
}

std::string Trim(const std::string& s) {
  size_t a = s.find_first_not_of(" \t"), b = s.find_last_not_of(" \t\r");
  return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

// Reads up to max finite floats; returns how many.
int Floats(const char* text, float* out, int max) {
  int n = 0;
  while (n < max) {
    const size_t blanks = kxnumber::LeadingBlanks(text);
    float f = 0.0f;
    const size_t length = kxnumber::ReadLeading(text + blanks, f);
    if (length == 0) break;  // a number out of range too: the words left fail the line
    out[n++] = f;
    text += blanks + length;
  }
  while (*text == ' ' || *text == '\t' || *text == '\r') ++text;
  return *text ? -1 : n;  // trailing words make the line invalid
}

// One index of an f corner: 1-based or negative relative; -1 when empty.
bool Index(const char*& p, int count, int* out) {
  if (*p == '/' || *p == 0 || *p == ' ' || *p == '\t') {
    *out = -1;
    return true;
  }
  long long value = 0;
  const size_t length = kxnumber::ReadLeadingInt(p, value);
  if (length == 0) return false;
  p += length;
  long long index = value > 0 ? value - 1 : count + value;
  if (value == 0 || index < 0 || index >= count) return false;
  *out = static_cast<int>(index);
  return true;
}

kxgeometry* Build(const Pending& e, const std::vector<Position>& vs, const std::vector<float>& vts,
                  const std::vector<float>& vns) {
  std::map<Corner, int> index;
  bool hasT = false, hasN = false, hasC = false;
  for (const Corner& c : e.corners) {
    index.emplace(c, 0);
    hasT |= c.t >= 0;
    hasN |= c.n >= 0;
    hasC |= vs[c.v].colored;
  }
  // Sorted by (v, vt, vn): a file we wrote keeps its vertex order.
  int next = 0;
  for (auto& entry : index) entry.second = next++;
  uint32_t format = GL_V3F;
  if (hasT) format = hasN ? (hasC ? GL_T2F_C4F_N3F_V3F : GL_T2F_N3F_V3F) : (hasC ? GL_T2F_C3F_V3F : GL_T2F_V3F);
  else format = hasN ? (hasC ? GL_C4F_N3F_V3F : GL_N3F_V3F) : (hasC ? GL_C3F_V3F : GL_V3F);
  kxgeometry* el = kxgeometry::Create(format, next, static_cast<int>(e.corners.size() / 3));
  if (!el) return nullptr;
  std::snprintf(el->name, sizeof el->name, "%s", e.name.c_str());
  std::snprintf(el->group, sizeof el->group, "%s", e.group.c_str());
  std::snprintf(el->textureName, sizeof el->textureName, "%s", e.texture.c_str());
  std::memcpy(el->ambient, e.ambient, sizeof e.ambient);
  std::memcpy(el->diffuse, e.diffuse, sizeof e.diffuse);
  std::memcpy(el->specular, e.specular, sizeof e.specular);
  el->shininess = e.shininess;
  el->transparent = e.transparent;
  int floats = kxgeometry::FloatsPerVertex(format);
  int colors = kxgeometry::ColorFloats(format);
  int normal = kxgeometry::NormalOffset(format);
  int texCoords = kxgeometry::TexCoordFloats(format);
  for (const auto& [c, i] : index) {
    float* v = el->vertices + static_cast<size_t>(i) * floats;
    if (texCoords && c.t >= 0) {
      v[0] = vts[c.t * 2];
      v[1] = 1.0f - vts[c.t * 2 + 1];  // texel rows run top-down
    }
    if (colors) {
      for (int k = 0; k < colors; ++k) v[texCoords + k] = vs[c.v].colored ? vs[c.v].rgba[k] : 1.0f;
    }
    if (normal >= 0 && c.n >= 0) std::memcpy(v + normal, &vns[c.n * 3], 3 * sizeof(float));
    std::memcpy(v + floats - 3, vs[c.v].xyz, 3 * sizeof(float));
  }
  for (size_t k = 0; k < e.corners.size(); ++k) el->triangles[k] = static_cast<uint32_t>(index[e.corners[k]]);
  if (!kxgeometry::Finish(el)) kxgeometry::Free(&el);
  return el;
}

int Parse(const char* text, size_t size, std::vector<Pending>* elements, std::vector<Position>* vs,
          std::vector<float>* vts, std::vector<float>* vns) {
  std::string group;
  std::string line;
  int lineNumber = 0;
  size_t at = 0;
  while (at < size) {
    size_t end = at;
    while (end < size && text[end] != '\n') ++end;
    line.assign(text + at, end - at);
    at = end + 1;
    ++lineNumber;
    if (line.find('\0') != std::string::npos) return Fail(lineNumber, "zero byte");
    size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    line = Trim(line);
    if (line.empty()) continue;
    size_t space = line.find_first_of(" \t");
    std::string key = line.substr(0, space);
    std::string rest = space == std::string::npos ? std::string() : Trim(line.substr(space));
    const char* args = rest.c_str();
    auto current = [&]() -> Pending& {
      if (elements->empty()) {
        elements->emplace_back();
        elements->back().name = "default";
        elements->back().group = group;
      }
      return elements->back();
    };
    if (key == "o") {
      group = rest;
    } else if (key == "g") {
      elements->emplace_back();
      elements->back().name = rest;
      elements->back().group = group;
    } else if (key == "v") {
      float f[7];
      int n = Floats(args, f, 7);
      if (n != 3 && n != 6 && n != 7) return Fail(lineNumber, "v needs 3, 6 or 7 numbers");
      Position p{{f[0], f[1], f[2]}, {1, 1, 1, 1}, n > 3};
      for (int k = 3; k < n; ++k) p.rgba[k - 3] = f[k];
      vs->push_back(p);
    } else if (key == "vt") {
      float f[3];
      int n = Floats(args, f, 3);
      if (n < 2) return Fail(lineNumber, "vt needs 2 numbers");
      vts->push_back(f[0]);
      vts->push_back(f[1]);
    } else if (key == "vn") {
      float f[3];
      if (Floats(args, f, 3) != 3) return Fail(lineNumber, "vn needs 3 numbers");
      vns->insert(vns->end(), f, f + 3);
    } else if (key == "f") {
      std::vector<Corner> polygon;
      const char* p = args;
      int vCount = static_cast<int>(vs->size()), tCount = static_cast<int>(vts->size() / 2),
          nCount = static_cast<int>(vns->size() / 3);
      while (*p) {
        Corner c{-1, -1, -1};
        if (!Index(p, vCount, &c.v) || c.v < 0) return Fail(lineNumber, "vertex index out of range");
        if (*p == '/') {
          ++p;
          if (!Index(p, tCount, &c.t)) return Fail(lineNumber, "texture index out of range");
          if (*p == '/') {
            ++p;
            if (!Index(p, nCount, &c.n)) return Fail(lineNumber, "normal index out of range");
          }
        }
        if (*p && *p != ' ' && *p != '\t') return Fail(lineNumber, "face corner malformed");
        while (*p == ' ' || *p == '\t') ++p;
        polygon.push_back(c);
      }
      if (polygon.size() < 3) return Fail(lineNumber, "face needs 3 corners");
      Pending& e = current();
      for (size_t k = 1; k + 1 < polygon.size(); ++k) {
        e.corners.push_back(polygon[0]);
        e.corners.push_back(polygon[k]);
        e.corners.push_back(polygon[k + 1]);
      }
    } else if (key == "Ka" || key == "Kd" || key == "Ks") {
      float f[4] = {0, 0, 0, 1};
      int n = Floats(args, f, 4);
      if (n != 3 && n != 4) return Fail(lineNumber, "colour needs 3 or 4 numbers");
      Pending& e = current();
      float* target = key == "Ka" ? e.ambient : key == "Kd" ? e.diffuse : e.specular;
      std::memcpy(target, f, sizeof f);
    } else if (key == "Ns") {
      float f[1] = {0};
      if (Floats(args, f, 1) != 1) return Fail(lineNumber, "Ns needs a number");
      current().shininess = f[0];
    } else if (key == "map_Kd") {
      current().texture = rest;
    } else if (key == "kx_transparent") {
      current().transparent = kxnumber::LeadingWholeNumber(args) != 0;
    }
    // Other OBJ statements (s, usemtl, mtllib, l, p) carry nothing we draw.
  }
  return 1;
}

void Number(std::string& out, float f) {
  char text[32];
  std::snprintf(text, sizeof text, " %.9g", static_cast<double>(f));
  out += text;
}

}  // namespace

namespace kxgl {

kxgeometry* ReadTextMesh(const char* text, size_t size) {
  std::vector<Pending> elements;
  std::vector<Position> vs;
  std::vector<float> vts, vns;
  if (!Parse(text, size, &elements, &vs, &vts, &vns)) return nullptr;
  kxgeometry* first = nullptr;
  kxgeometry** tail = &first;
  for (const Pending& e : elements) {
    if (e.corners.empty()) continue;  // a group without faces draws nothing
    kxgeometry* el = Build(e, vs, vts, vns);
    if (!el) {
      kxcore::Log("gl:  obj element %s could not be built\n", e.name.c_str());
      kxgeometry::Free(&first);
      return nullptr;
    }
    *tail = el;
    tail = &el->next;
  }
  if (!first) kxcore::Log("gl:  obj holds no faces\n");
  return first;
}

}  // namespace kxgl

std::string kxgeometry::TextBytes(const kxgeometry* list) {
  std::string out = "# skyvane mesh\n";
  std::string group;
  // OBJ indices are global and 1-based, counted separately for v, vt and vn.
  int baseV = 1, baseT = 1, baseN = 1;
  for (const kxgeometry* el = list; el; el = el->next) {
    if (group != el->group) {
      group = el->group;
      out += "o " + group + "\n";
    }
    out += std::string("g ") + el->name + "\n";
    const char* keys[3] = {"Ka", "Kd", "Ks"};
    const float* colors[3] = {el->ambient, el->diffuse, el->specular};
    for (int k = 0; k < 3; ++k) {
      out += keys[k];
      for (int c = 0; c < 4; ++c) Number(out, colors[k][c]);
      out += "\n";
    }
    out += "Ns";
    Number(out, el->shininess);
    out += "\n";
    if (el->textureName[0]) out += std::string("map_Kd ") + el->textureName + "\n";
    out += el->transparent ? "kx_transparent 1\n" : "kx_transparent 0\n";
    int floats = FloatsPerVertex(el->format), colorCount = ColorFloats(el->format);
    int texCoords = TexCoordFloats(el->format), normal = NormalOffset(el->format);
    for (int i = 0; i < el->vertexCount; ++i) {
      const float* v = el->vertices + static_cast<size_t>(i) * floats;
      const float* rest = el->stored + static_cast<size_t>(i) * 6;
      out += "v";
      for (int k = 0; k < 3; ++k) Number(out, rest[3 + k]);
      for (int k = 0; k < colorCount; ++k) Number(out, v[texCoords + k]);
      out += "\n";
    }
    if (texCoords) {
      for (int i = 0; i < el->vertexCount; ++i) {
        const float* v = el->vertices + static_cast<size_t>(i) * floats;
        out += "vt";
        Number(out, v[0]);
        Number(out, 1.0f - v[1]);
        out += "\n";
      }
    }
    if (normal >= 0) {
      for (int i = 0; i < el->vertexCount; ++i) {
        out += "vn";
        for (int k = 0; k < 3; ++k) Number(out, el->stored[static_cast<size_t>(i) * 6 + k]);
        out += "\n";
      }
    }
    for (int t = 0; t < el->triangleCount; ++t) {
      out += "f";
      for (int k = 0; k < 3; ++k) {
        int i = static_cast<int>(el->triangles[t * 3 + k]);
        char corner[48];
        if (texCoords && normal >= 0) std::snprintf(corner, sizeof corner, " %d/%d/%d", i + baseV, i + baseT, i + baseN);
        else if (texCoords) std::snprintf(corner, sizeof corner, " %d/%d", i + baseV, i + baseT);
        else if (normal >= 0) std::snprintf(corner, sizeof corner, " %d//%d", i + baseV, i + baseN);
        else std::snprintf(corner, sizeof corner, " %d", i + baseV);
        out += corner;
      }
      out += "\n";
    }
    baseV += el->vertexCount;
    if (texCoords) baseT += el->vertexCount;
    if (normal >= 0) baseN += el->vertexCount;
  }
  return out;
}

int kxgeometry::WriteText(const char* path, const kxgeometry* list) {
  const std::string out = TextBytes(list);
  return kxgl::WriteFileBytes(path, out.data(), out.size());
}
