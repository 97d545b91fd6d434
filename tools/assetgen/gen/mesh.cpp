// MeshBuilder primitives and the .x writer.
#include "gen/mesh.h"

#include <cmath>
#include <cstdio>
#include <algorithm>
#include <array>
#include <map>
#include <tuple>

namespace assetgen {

Vec3 cross(Vec3 a, Vec3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
float dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 normalized(Vec3 a) {
  float l = std::sqrt(dot(a, a));
  return l > 0 ? a * (1 / l) : Vec3{0, 0, 1};
}

Outline regular(int sides, float rx, float ry, float phase) {
  Outline o;
  for (int i = 0; i < sides; ++i) {
    float a = phase * 0.0174533f + i * 6.2831853f / sides;
    o.push_back({rx * std::cos(a), ry * std::sin(a)});
  }
  return o;
}

int MeshBuilder::material(const std::string& name, Color diffuse, float emissive, float shine, float power) {
  Material m;
  m.name = name;
  m.diffuse = diffuse;
  m.power = power;
  m.specular = {shine, shine, shine, 1};
  m.emissive = scaled(diffuse, emissive);
  materials_.push_back(m);
  return int(materials_.size()) - 1;
}

int MeshBuilder::glowMaterial(const std::string& name, Color c) {
  Material m;
  m.name = name;
  m.diffuse = scaled(c, 0.35f);
  m.power = 5;
  m.specular = {0, 0, 0, 1};
  m.emissive = c;
  m.glows = true;
  materials_.push_back(m);
  return int(materials_.size()) - 1;
}

void MeshBuilder::setTransform(Vec3 r, Vec3 t) {
  const float k = 3.14159265f / 180;
  float cx = std::cos(r.x * k), sx = std::sin(r.x * k), cy = std::cos(r.y * k), sy = std::sin(r.y * k),
        cz = std::cos(r.z * k), sz = std::sin(r.z * k);
  // Column-vector form of Rz * Ry * Rx.
  float rx[3][3] = {{1, 0, 0}, {0, cx, -sx}, {0, sx, cx}};
  float ry[3][3] = {{cy, 0, sy}, {0, 1, 0}, {-sy, 0, cy}};
  float rz[3][3] = {{cz, -sz, 0}, {sz, cz, 0}, {0, 0, 1}};
  float a[3][3] = {};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      for (int l = 0; l < 3; ++l) a[i][j] += ry[i][l] * rx[l][j];
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j) {
      m_[i][j] = 0;
      for (int l = 0; l < 3; ++l) m_[i][j] += rz[i][l] * a[l][j];
    }
  t_ = t;
}

void MeshBuilder::resetTransform() { setTransform({0, 0, 0}, {0, 0, 0}); }

Vec3 MeshBuilder::apply(Vec3 p) const {
  return {m_[0][0] * p.x + m_[0][1] * p.y + m_[0][2] * p.z + t_.x,
          m_[1][0] * p.x + m_[1][1] * p.y + m_[1][2] * p.z + t_.y,
          m_[2][0] * p.x + m_[2][1] * p.y + m_[2][2] * p.z + t_.z};
}

void MeshBuilder::triAway(Vec3 a, Vec3 b, Vec3 c, Vec3 inside, int mat) {
  Vec3 n = cross(b - a, c - a);
  if (dot(n, n) < 1e-14f) return;  // degenerate
  Vec3 centroid = (a + b + c) * (1.0f / 3);
  if (dot(n, centroid - inside) < 0) std::swap(b, c);
  // Rotations keep handedness, so the local winding carries over.
  faces_.push_back({{apply(a), apply(b), apply(c)}, mat});
}

void MeshBuilder::quadAway(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 inside, int mat) {
  triAway(a, b, c, inside, mat);
  triAway(a, c, d, inside, mat);
}

void MeshBuilder::box(Vec3 c, Vec3 h, int mat) { box2(c, h, mat, mat); }

void MeshBuilder::box2(Vec3 c, Vec3 h, int fb, int side) {
  auto P = [&](int sx, int sy, int sz) { return Vec3{c.x + sx * h.x, c.y + sy * h.y, c.z + sz * h.z}; };
  quadAway(P(-1, -1, -1), P(1, -1, -1), P(1, 1, -1), P(-1, 1, -1), c, fb);
  quadAway(P(-1, -1, 1), P(1, -1, 1), P(1, 1, 1), P(-1, 1, 1), c, fb);
  quadAway(P(-1, -1, -1), P(-1, 1, -1), P(-1, 1, 1), P(-1, -1, 1), c, side);
  quadAway(P(1, -1, -1), P(1, 1, -1), P(1, 1, 1), P(1, -1, 1), c, side);
  quadAway(P(-1, -1, -1), P(1, -1, -1), P(1, -1, 1), P(-1, -1, 1), c, side);
  quadAway(P(-1, 1, -1), P(1, 1, -1), P(1, 1, 1), P(-1, 1, 1), c, side);
}

void MeshBuilder::prismZ(const Outline& xy, float z0, float z1, int mat, int capMat) {
  // Sections hold outlines about their centre.
  Vec2 c{};
  for (Vec2 p : xy) c.x += p.x / xy.size(), c.y += p.y / xy.size();
  Outline local;
  for (Vec2 p : xy) local.push_back({p.x - c.x, p.y - c.y});
  std::vector<Section> s = {{z0, local}, {z1, local}};
  s[0].cx = s[1].cx = c.x;
  s[0].cy = s[1].cy = c.y;
  loftZ(s, mat, capMat);
}

void MeshBuilder::prismY(const Outline& xz, float y0, float y1, int mat) {
  Vec3 centre{};
  for (Vec2 p : xz) centre = centre + Vec3{p.x, (y0 + y1) / 2, p.y} * (1.0f / xz.size());
  size_t n = xz.size();
  for (size_t i = 0; i < n; ++i) {
    Vec2 a = xz[i], b = xz[(i + 1) % n];
    quadAway({a.x, y0, a.y}, {b.x, y0, b.y}, {b.x, y1, b.y}, {a.x, y1, a.y}, centre, mat);
  }
  for (size_t i = 1; i + 1 < n; ++i) {
    triAway({xz[0].x, y0, xz[0].y}, {xz[i].x, y0, xz[i].y}, {xz[i + 1].x, y0, xz[i + 1].y}, centre, mat);
    triAway({xz[0].x, y1, xz[0].y}, {xz[i].x, y1, xz[i].y}, {xz[i + 1].x, y1, xz[i + 1].y}, centre, mat);
  }
}

void MeshBuilder::loftZ(const std::vector<Section>& s, int mat, int capMat) {
  if (capMat < 0) capMat = mat;
  for (size_t k = 0; k + 1 < s.size(); ++k) {
    const Section &a = s[k], &b = s[k + 1];
    size_t n = a.outline.size();
    Vec3 inside{(a.cx + b.cx) / 2, (a.cy + b.cy) / 2, (a.z + b.z) / 2};
    for (size_t i = 0; i < n; ++i) {
      Vec2 p0 = a.outline[i], p1 = a.outline[(i + 1) % n], q0 = b.outline[i], q1 = b.outline[(i + 1) % n];
      quadAway({p0.x + a.cx, p0.y + a.cy, a.z}, {p1.x + a.cx, p1.y + a.cy, a.z},
               {q1.x + b.cx, q1.y + b.cy, b.z}, {q0.x + b.cx, q0.y + b.cy, b.z}, inside, mat);
    }
  }
  // Caps: fans around each end's centre, facing away from the next section.
  for (int end = 0; end < 2; ++end) {
    const Section& e = end ? s.back() : s.front();
    const Section& nb = end ? s[s.size() - 2] : s[1];
    Vec3 inside{e.cx, e.cy, (e.z + nb.z) / 2};
    Vec3 c{e.cx, e.cy, e.z};
    size_t n = e.outline.size();
    for (size_t i = 0; i < n; ++i) {
      Vec2 p0 = e.outline[i], p1 = e.outline[(i + 1) % n];
      triAway(c, {p0.x + e.cx, p0.y + e.cy, e.z}, {p1.x + e.cx, p1.y + e.cy, e.z}, inside, capMat);
    }
  }
}

void MeshBuilder::ellipsoid(Vec3 c, Vec3 r, int mat, int segs, int rings) {
  auto P = [&](int i, int j) {
    float th = 3.14159265f * j / rings, ph = 6.2831853f * i / segs;
    return Vec3{c.x + r.x * std::sin(th) * std::cos(ph), c.y + r.y * std::cos(th),
                c.z + r.z * std::sin(th) * std::sin(ph)};
  };
  for (int j = 0; j < rings; ++j)
    for (int i = 0; i < segs; ++i) {
      Vec3 a = P(i, j), b = P(i + 1, j), d = P(i, j + 1), e = P(i + 1, j + 1);
      if (j == 0)
        triAway(a, d, e, c, mat);
      else if (j == rings - 1)
        triAway(a, b, d, c, mat);
      else
        quadAway(a, b, e, d, c, mat);
    }
}

namespace {
std::string f6(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6f", double(v) == 0.0 ? 0.0 : double(v));
  return buf;
}
}  // namespace

namespace {
// The game's light shines along (0, -0.5, 1): this is the way back to it.
const Vec3 kToLight = normalized({0, 0.5f, -1});
constexpr int kFillSteps = 2;

// How much of the fill a face turned this way takes, in steps of
// 1/kFillSteps: none where the game's light falls square on it, most on
// the upper and right-hand faces it misses, so edges between unlit faces
// still show.
int fillStep(Vec3 n) {
  float lit = std::max(0.0f, dot(n, kToLight));
  float up = 0.5f + 0.5f * n.y, right = 0.5f + 0.5f * n.x;
  float share = (1 - lit) * std::clamp(0.25f + 0.5f * up + 0.25f * right, 0.0f, 1.0f);
  return int(std::lround(share * kFillSteps));
}
}  // namespace

std::string MeshBuilder::toX(const std::string& name) const {
  // With a fill, every (material, step) pair that some face uses becomes a
  // material of its own, in the order of the materials they come from.
  std::vector<Material> materials;
  std::vector<int> faceMat(faces_.size());
  {
    std::map<std::pair<int, int>, int> used;
    std::vector<int> step(faces_.size(), 0);
    for (size_t i = 0; i < faces_.size(); ++i) {
      const Face& f = faces_[i];
      if (fill_ > 0 && !materials_[f.mat].glows)
        step[i] = fillStep(normalized(cross(f.v[1] - f.v[0], f.v[2] - f.v[0])));
      used[{f.mat, step[i]}] = 0;
    }
    for (auto& [key, index] : used) {
      Material m = materials_[key.first];
      if (fill_ > 0 && !m.glows) {
        float k = fill_ * key.second / kFillSteps;
        m.name += "Fill" + std::to_string(key.second);
        m.emissive = {std::min(1.0f, m.emissive.r + m.diffuse.r * k), std::min(1.0f, m.emissive.g + m.diffuse.g * k),
                      std::min(1.0f, m.emissive.b + m.diffuse.b * k), 1};
      }
      index = int(materials.size());
      materials.push_back(m);
    }
    for (size_t i = 0; i < faces_.size(); ++i) faceMat[i] = used[{faces_[i].mat, step[i]}];
  }

  // Vertices shared between triangles of the same flat face (same position
  // and normal), so quads keep four corners.
  std::map<std::tuple<std::string, std::string>, int> index;
  std::vector<Vec3> verts, norms;
  std::vector<std::array<int, 3>> tris;
  for (const Face& f : faces_) {
    Vec3 n = normalized(cross(f.v[1] - f.v[0], f.v[2] - f.v[0]));
    std::array<int, 3> t{};
    for (int k = 0; k < 3; ++k) {
      std::string pk = f6(f.v[k].x) + ";" + f6(f.v[k].y) + ";" + f6(f.v[k].z);
      std::string nk = f6(n.x) + ";" + f6(n.y) + ";" + f6(n.z);
      auto key = std::make_tuple(pk, nk);
      auto it = index.find(key);
      if (it == index.end()) {
        it = index.emplace(key, int(verts.size())).first;
        verts.push_back(f.v[k]);
        norms.push_back(n);
      }
      t[k] = it->second;
    }
    tris.push_back(t);
  }
  std::string s = "xof 0302txt 0032\n\n";
  s += "Frame " + name + "Frame {\n FrameTransformMatrix {\n  1.000000,0.000000,0.000000,0.000000,"
       "0.000000,1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,"
       "0.000000,0.000000,0.000000,1.000000;;\n }\n";
  s += " Mesh " + name + " {\n  " + std::to_string(verts.size()) + ";\n";
  auto vecList = [&](const std::vector<Vec3>& v) {
    for (size_t i = 0; i < v.size(); ++i)
      s += "  " + f6(v[i].x) + ";" + f6(v[i].y) + ";" + f6(v[i].z) + (i + 1 < v.size() ? ";,\n" : ";;\n");
  };
  auto faceList = [&] {
    s += "  " + std::to_string(tris.size()) + ";\n";
    for (size_t i = 0; i < tris.size(); ++i)
      s += "  3;" + std::to_string(tris[i][0]) + "," + std::to_string(tris[i][1]) + "," +
           std::to_string(tris[i][2]) + (i + 1 < tris.size() ? ";,\n" : ";;\n");
  };
  vecList(verts);
  faceList();
  s += "  MeshNormals {\n  " + std::to_string(norms.size()) + ";\n";
  vecList(norms);
  faceList();
  s += "  }\n";
  s += "  MeshMaterialList {\n  " + std::to_string(materials.size()) + ";\n  " + std::to_string(faces_.size()) +
       ";\n";
  for (size_t i = 0; i < faces_.size(); ++i)
    s += "  " + std::to_string(faceMat[i]) + (i + 1 < faces_.size() ? ",\n" : ";\n");
  for (const Material& m : materials) {
    s += "  Material " + m.name + " {\n";
    s += "   " + f6(m.diffuse.r) + ";" + f6(m.diffuse.g) + ";" + f6(m.diffuse.b) + ";" + f6(m.diffuse.a) + ";;\n";
    s += "   " + f6(m.power) + ";\n";
    s += "   " + f6(m.specular.r) + ";" + f6(m.specular.g) + ";" + f6(m.specular.b) + ";;\n";
    s += "   " + f6(m.emissive.r) + ";" + f6(m.emissive.g) + ";" + f6(m.emissive.b) + ";;\n";
    s += "  }\n";
  }
  s += "  }\n }\n}\n";
  return s;
}

}  // namespace assetgen
