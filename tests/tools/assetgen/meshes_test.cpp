// The pack's meshes: well-formed .x text, faces wound outwards with
// matching normals, several materials, sized to the hit boxes, and
// enemies and bosses that look different from each other.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numeric>

#include "check/xfile_check.h"
#include "manifest.h"
#include "pack_files.h"

namespace assetgen {
namespace {

using V = std::array<float, 3>;
V sub(V a, V b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
V crossV(V a, V b) { return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]}; }
float dotV(V a, V b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }

const XMesh& mesh(const std::string& path) {
  static std::map<std::string, XMesh> cache;
  auto it = cache.find(path);
  if (it == cache.end()) {
    XMesh m;
    std::string err;
    parseXFile(test::readText(test::packDir() / path), m, err);
    it = cache.emplace(path, std::move(m)).first;
  }
  return it->second;
}

std::vector<const AssetEntry*> meshes() {
  std::vector<const AssetEntry*> v;
  for (const AssetEntry& e : manifest())
    if (e.kind == Kind::Mesh) v.push_back(&e);
  return v;
}

TEST(PackMeshes, ParseAsDirectXTextWithFrameNormalsAndMaterials) {
  for (const AssetEntry* e : meshes()) {
    SCOPED_TRACE(e->path);
    XMesh m;
    std::string err;
    ASSERT_TRUE(parseXFile(test::readText(test::packDir() / e->path), m, err)) << err;
    EXPECT_TRUE(m.hasFrame && m.hasFrameTransform);
    EXPECT_GT(m.faces.size(), 10u);
    EXPECT_EQ(m.faceMaterials.size(), m.faces.size());
    EXPECT_GE(int(m.materials.size()), e->mesh.minMaterials);
    std::vector<int> used(m.materials.size());
    for (int f : m.faceMaterials) used[f]++;
    for (size_t i = 0; i < used.size(); ++i) EXPECT_GT(used[i], 0) << "material " << i << " unused";
    // Enemy shots are drawn alpha-blended with the depth test on: their
    // shell may be see-through, but the core drawn before it is opaque.
    const bool shot = e->path == "x/beam4.x" || e->path == "x/tama2.x";
    if (shot && !m.materials.empty()) {
      EXPECT_FLOAT_EQ(m.materials[0].diffuse[3], 1.0f);
    }
    for (const XMaterial& x : m.materials) {
      if (shot) {
        EXPECT_GE(x.diffuse[3], 0.3f) << "a shot part that hardly shows";
        EXPECT_LE(x.diffuse[3], 1.0f);
      } else {
        EXPECT_FLOAT_EQ(x.diffuse[3], 1.0f);
      }
      for (float c : {x.diffuse[0], x.diffuse[1], x.diffuse[2], x.emissive[0], x.emissive[1], x.emissive[2]}) {
        EXPECT_GE(c, 0.0f);
        EXPECT_LE(c, 1.0f);
      }
    }
  }
}

TEST(PackMeshes, ParserRejectsBrokenFiles) {
  XMesh m;
  std::string err;
  const std::string good =
      "xof 0302txt 0032\nMesh M {\n3;\n0;0;0;,\n1;0;0;,\n0;1;0;;\n1;\n3;0,1,2;;\n"
      "MeshNormals {\n1;\n0;0;-1;;\n1;\n3;0,0,0;;\n}\n"
      "MeshMaterialList {\n1;\n1;\n0;\nMaterial {\n1;1;1;1;;\n10;\n0;0;0;;\n0;0;0;;\n}\n}\n}\n";
  EXPECT_TRUE(parseXFile(good, m, err)) << err;
  std::string badIndex = good;
  badIndex.replace(badIndex.find("3;0,1,2;;"), 9, "3;0,1,7;;");
  EXPECT_FALSE(parseXFile(badIndex, m = {}, err));
  std::string badCount = good;
  badCount.replace(badCount.find("Mesh M {\n3;"), 11, "Mesh M {\n4;");
  EXPECT_FALSE(parseXFile(badCount, m = {}, err));
  EXPECT_FALSE(parseXFile("xof 0303bin 0032", m = {}, err));
  std::string noMaterials = good.substr(0, good.find("MeshMaterialList")) + "}\n";
  EXPECT_FALSE(parseXFile(noMaterials, m = {}, err));
}

// Front faces are clockwise seen from outside in the left-handed world, so
// (b - a) x (c - a) points out of the solid: every closed part of the model
// then has a positive signed volume, and the stored normals agree.
TEST(PackMeshes, FacesAreWoundOutwardsAndNormalsAgree) {
  for (const AssetEntry* e : meshes()) {
    SCOPED_TRACE(e->path);
    const XMesh& m = mesh(e->path);
    ASSERT_FALSE(m.faces.empty());
    // Parts: triangles joined by shared corner positions.
    std::map<std::array<long, 3>, int> ids;
    std::vector<int> parent;
    auto id = [&](V v) {
      std::array<long, 3> k{std::lround(v[0] * 1e4f), std::lround(v[1] * 1e4f), std::lround(v[2] * 1e4f)};
      auto it = ids.find(k);
      if (it != ids.end()) return it->second;
      parent.push_back(int(parent.size()));
      return ids[k] = int(parent.size()) - 1;
    };
    std::function<int(int)> root = [&](int a) { return parent[a] == a ? a : parent[a] = root(parent[a]); };
    std::vector<std::array<int, 3>> corner;
    for (const auto& f : m.faces) {
      std::array<int, 3> c{id(m.vertices[f[0]]), id(m.vertices[f[1]]), id(m.vertices[f[2]])};
      parent[root(c[1])] = root(c[0]);
      parent[root(c[2])] = root(c[0]);
      corner.push_back(c);
    }
    std::map<int, double> volume;
    int badNormals = 0;
    for (size_t i = 0; i < m.faces.size(); ++i) {
      V a = m.vertices[m.faces[i][0]], b = m.vertices[m.faces[i][1]], c = m.vertices[m.faces[i][2]];
      volume[root(corner[i][0])] += dotV(a, crossV(b, c)) / 6.0;
      V n = crossV(sub(b, a), sub(c, a));
      float len = std::sqrt(dotV(n, n));
      for (int k = 0; k < 3; ++k)
        if (dotV(m.normals[m.normalFaces[i][k]], n) < 0.99f * len) ++badNormals;
    }
    EXPECT_EQ(badNormals, 0) << "stored normals disagree with the winding";
    for (const auto& [part, v] : volume) EXPECT_GT(v, 0.0) << "a part is wound inside out";
  }
}

TEST(PackMeshes, SizedToTheirHitBoxes) {
  for (const AssetEntry* e : meshes()) {
    SCOPED_TRACE(e->path);
    const XMesh& m = mesh(e->path);
    V lo{1e9f, 1e9f, 1e9f}, hi{-1e9f, -1e9f, -1e9f};
    for (const V& v : m.vertices)
      for (int k = 0; k < 3; ++k) lo[k] = std::min(lo[k], v[k]), hi[k] = std::max(hi[k], v[k]);
    const float box[3] = {e->mesh.hx, e->mesh.hy, e->mesh.hz};
    float best = 0;
    for (int k = 0; k < 3; ++k) {
      float reach = std::max(std::fabs(lo[k]), std::fabs(hi[k]));
      EXPECT_LE(reach, box[k] * 1.6f + 0.15f) << "axis " << k << " sticks out of the hit box";
      EXPECT_LE(std::fabs(lo[k] + hi[k]) / 2, box[k] * 0.4f + 0.05f) << "axis " << k << " off centre";
      best = std::max(best, reach / box[k]);
    }
    EXPECT_GE(best, 0.6f) << "much smaller than its hit box";
  }
}

TEST(PackMeshes, EnemiesAndBossesHaveTheirOwnColours) {
  const std::vector<std::string> craft = {"x/teki04.x", "x/teki3.x", "x/teki06.x", "x/teki08.x", "x/teki09.x",
                                          "x/teki4.x", "x/teki03.x", "x/boss.x", "x/boss2.x"};
  for (size_t i = 0; i < craft.size(); ++i)
    for (size_t j = i + 1; j < craft.size(); ++j) {
      const XMaterial &a = mesh(craft[i]).materials.at(0), &b = mesh(craft[j]).materials.at(0);
      float d = std::fabs(a.diffuse[0] - b.diffuse[0]) + std::fabs(a.diffuse[1] - b.diffuse[1]) +
                std::fabs(a.diffuse[2] - b.diffuse[2]);
      EXPECT_GT(d, 0.15f) << craft[i] << " and " << craft[j] << " share a colour";
      EXPECT_NE(mesh(craft[i]).vertices.size(), mesh(craft[j]).vertices.size()) << craft[i] << " " << craft[j];
    }
}

}  // namespace
}  // namespace assetgen
