// The mesh builder: every primitive comes out closed and wound outwards,
// whatever order its outline is given in and however it is turned, and the
// .x text it writes reads back the same through both readers.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "check/xfile_check.h"
#include "gen/mesh.h"
#include "platform/gfx/xfile_parser.h"

namespace assetgen {
namespace {

using V = std::array<float, 3>;

double signedVolume(const XMesh& m) {
  double v = 0;
  for (const auto& f : m.faces) {
    V a = m.vertices[f[0]], b = m.vertices[f[1]], c = m.vertices[f[2]];
    v += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) + a[2] * (b[0] * c[1] - b[1] * c[0])) / 6;
  }
  return v;
}

XMesh build(MeshBuilder& b) {
  XMesh m;
  std::string err;
  EXPECT_TRUE(parseXFile(b.toX("Test"), m, err)) << err;
  return m;
}

TEST(MeshBuilder, BoxIsClosedOutwardAndSharesCornersPerFace) {
  MeshBuilder b;
  int mat = b.material("Body", rgb(200, 100, 50), 0.2f);
  b.box({1, 2, 3}, {0.5f, 1, 1.5f}, mat);
  XMesh m = build(b);
  EXPECT_EQ(m.faces.size(), 12u);
  EXPECT_EQ(m.vertices.size(), 24u);  // four corners per flat face
  EXPECT_NEAR(signedVolume(m), 1 * 2 * 3, 1e-4);
  ASSERT_EQ(m.materials.size(), 1u);
  EXPECT_NEAR(m.materials[0].emissive[0], 200 / 255.0f * 0.2f, 1e-5f);
}

// With a fill, faces the game's light misses get a brighter emissive copy
// of their material, faces it lights keep theirs, and glows stay one.
TEST(MeshBuilder, FillShapesOnlyTheFacesTheLightMisses) {
  MeshBuilder b;
  b.fillUnlitFaces(0.5f);
  int body = b.material("Body", rgb(200, 100, 50), 0.2f), glow = b.glowMaterial("Glow", rgb(255, 60, 40));
  b.box({0, 0, 0}, {1, 1, 1}, body);
  b.box({0, 0, 3}, {0.2f, 0.2f, 0.2f}, glow);
  XMesh m = build(b);
  std::map<int, int> uses;
  float front = -1, back = -1;
  for (size_t i = 0; i < m.faces.size(); ++i) {
    uses[m.faceMaterials[i]]++;
    const auto& n = m.normals[m.normalFaces[i][0]];
    float e = m.materials[m.faceMaterials[i]].emissive[0];
    if (m.vertices[m.faces[i][0]][2] < 2 && n[2] < -0.9f) front = e;
    if (m.vertices[m.faces[i][0]][2] < 2 && n[2] > 0.9f) back = e;
  }
  EXPECT_NEAR(front, 200 / 255.0f * 0.2f, 1e-5f);
  EXPECT_GT(back, front + 0.1f);
  EXPECT_EQ(uses.size(), m.materials.size()) << "a material no face uses";
  int glows = 0;
  for (const XMaterial& x : m.materials) glows += x.emissive[0] == 1.0f && x.emissive[1] < 0.3f;
  EXPECT_EQ(glows, 1);
}

TEST(MeshBuilder, OutlineOrderDoesNotChangeTheWinding) {
  Outline ccw = {{0, 0}, {1, 0}, {1, 1}, {0, 1}}, cw(ccw.rbegin(), ccw.rend());
  for (const Outline* o : {&ccw, &cw}) {
    MeshBuilder b;
    int mat = b.material("M", rgb(255, 255, 255));
    b.prismZ(*o, -1, 1, mat);
    b.prismY(*o, 3, 3.5f, mat);
    EXPECT_NEAR(signedVolume(build(b)), 2 + 0.5, 1e-4);
  }
}

TEST(MeshBuilder, TurnedAndLoftedPartsStayOutward) {
  MeshBuilder b;
  int mat = b.material("M", rgb(255, 255, 255));
  b.setTransform({30, 45, 60}, {2, -1, 5});
  b.box({0, 0, 0}, {1, 1, 1}, mat);
  b.resetTransform();
  b.loftZ({{-1, regular(8, 1, 1)}, {0, regular(8, 1.5f, 1)}, {2, regular(8, 0.02f, 0.02f)}}, mat);
  b.ellipsoid({5, 0, 0}, {1, 2, 3}, mat, 16, 10);
  XMesh m = build(b);
  double expected = 8 + 0;  // box; the loft and ellipsoid add their own positive parts
  EXPECT_GT(signedVolume(m), expected);
  // Every triangle's normal points away from the centre of its own part.
  int inward = 0;
  for (const auto& f : m.faces) {
    V a = m.vertices[f[0]], bb = m.vertices[f[1]], c = m.vertices[f[2]];
    V u{bb[0] - a[0], bb[1] - a[1], bb[2] - a[2]}, w{c[0] - a[0], c[1] - a[1], c[2] - a[2]};
    V n{u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
    V centroid{(a[0] + bb[0] + c[0]) / 3, (a[1] + bb[1] + c[1]) / 3, (a[2] + bb[2] + c[2]) / 3};
    V centre = centroid[0] > 3.5f ? V{5, 0, 0} : centroid[2] > 3 ? V{2, -1, 5} : V{0, 0, centroid[2]};
    inward += n[0] * (centroid[0] - centre[0]) + n[1] * (centroid[1] - centre[1]) + n[2] * (centroid[2] - centre[2]) < 0;
  }
  EXPECT_EQ(inward, 0);
}

TEST(MeshBuilder, WrittenTextReadsTheSameInTheGamesReader) {
  MeshBuilder b;
  int body = b.material("Body", rgb(100, 120, 160), 0.2f), glow = b.glowMaterial("Glow", rgb(255, 60, 40));
  b.box({0, 0, 0}, {1, 1, 2}, body);
  b.ellipsoid({0, 0, -2}, {0.5f, 0.5f, 0.5f}, glow);
  std::string text = b.toX("Sample"), err;
  EXPECT_EQ(text.rfind("xof 0302txt 0032", 0), 0u);
  XMesh mine;
  ASSERT_TRUE(parseXFile(text, mine, err)) << err;
  platform::gfx::MeshData game;
  ASSERT_TRUE(platform::gfx::parseXFile(text, game, &err)) << err;
  EXPECT_EQ(game.triangles(), mine.faces.size());
  ASSERT_EQ(game.materials.size(), 2u);
  EXPECT_NEAR(game.materials[1].Emissive.r, 1.0f, 1e-5f);
  EXPECT_EQ(game.subsets[0].vertexCount, 36);  // the box's twelve triangles
}

}  // namespace
}  // namespace assetgen
