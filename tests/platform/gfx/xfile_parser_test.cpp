// The .x text reader: valid files, subsets, frames, and every malformed shape.
#include <gtest/gtest.h>

#include <string>

#include "platform/gfx/xfile_parser.h"

using namespace platform;
using namespace platform::gfx;

namespace {

const std::string kHeader = "xof 0302txt 0032\n";

// A unit quad (one four-corner face) and a triangle, two materials: red for
// the quad, emissive green for the triangle.
std::string meshBody(const std::string& extra = "") {
    return "Mesh quadAndTri {\n"
           " 7;\n"
           " 0.0;0.0;0.0;, 1.0;0.0;0.0;, 1.0;1.0;0.0;, 0.0;1.0;0.0;,\n"
           " 5.0;0.0;0.0;, 6.0;0.0;0.0;, 5.0;1.0;0.0;;\n"
           " 2;\n"
           " 4;0,3,2,1;,\n"
           " 3;4,6,5;;\n"
           " MeshNormals {\n"
           "  1; 0.0;0.0;-1.0;;\n"
           "  2; 4;0,0,0,0;, 3;0,0,0;;\n"
           " }\n"
           " MeshTextureCoords {\n"
           "  7; 0.0;0.0;, 1.0;0.0;, 1.0;1.0;, 0.0;1.0;, 0.5;0.5;, 0.25;0.75;, 0.0;0.0;;\n"
           " }\n"
           " MeshMaterialList {\n"
           "  2; 2; 0, 1;;\n"
           "  Material red { 1.0;0.0;0.0;1.0;; 8.0; 0.5;0.5;0.5;; 0.0;0.0;0.0;;\n"
           "   TextureFilename { \"ignored.png\"; } }\n"
           "  Material { 0.0;1.0;0.0;0.5;; 1.0; 0.0;0.0;0.0;; 0.0;0.25;0.0;; }\n"
           " }\n" +
           extra + "}\n";
}

MeshData parseOk(const std::string& text) {
    MeshData m;
    std::string error;
    EXPECT_TRUE(parseXFile(text, m, &error)) << error;
    return m;
}

void expectFails(const std::string& text, const std::string& why) {
    MeshData m;
    std::string error;
    EXPECT_FALSE(parseXFile(text, m, &error)) << why;
    EXPECT_FALSE(error.empty()) << why;
}

TEST(XFileParser, ReadsMeshNormalsCoordinatesAndMaterials) {
    const MeshData m = parseOk(kHeader + "// a comment\n# another\n" + meshBody());
    ASSERT_EQ(m.materials.size(), 2u);
    EXPECT_FLOAT_EQ(m.materials[0].Diffuse.r, 1.0f);
    EXPECT_FLOAT_EQ(m.materials[0].Power, 8.0f);
    EXPECT_FLOAT_EQ(m.materials[0].Specular.g, 0.5f);
    EXPECT_FLOAT_EQ(m.materials[1].Diffuse.a, 0.5f);
    EXPECT_FLOAT_EQ(m.materials[1].Emissive.g, 0.25f);
    EXPECT_EQ(m.sourceVertices, 7u);
    // The quad became two triangles, the triangle stayed one.
    EXPECT_EQ(m.triangles(), 3u);
    ASSERT_EQ(m.subsets.size(), 2u);
    EXPECT_EQ(m.subsets[0].vertexCount, 6);
    EXPECT_EQ(m.subsets[1].vertexCount, 3);
    // Fan order keeps the file's winding: (0, 3, 2) then (0, 2, 1).
    const MeshVertex& a = m.vertices[m.subsets[0].firstVertex + 1];
    EXPECT_FLOAT_EQ(a.x, 0.0f);
    EXPECT_FLOAT_EQ(a.y, 1.0f);
    EXPECT_FLOAT_EQ(a.u, 0.0f);
    EXPECT_FLOAT_EQ(a.v, 1.0f);
    EXPECT_FLOAT_EQ(a.nz, -1.0f);
    const MeshVertex& b = m.vertices[m.subsets[0].firstVertex + 5];
    EXPECT_FLOAT_EQ(b.x, 1.0f);
    EXPECT_FLOAT_EQ(b.y, 0.0f);
    const MeshVertex& t = m.vertices[m.subsets[1].firstVertex + 1];
    EXPECT_FLOAT_EQ(t.x, 5.0f);
    EXPECT_FLOAT_EQ(t.y, 1.0f);
}

TEST(XFileParser, GroupsFacesByMaterialWhateverTheirOrder) {
    std::string body = meshBody();
    body.replace(body.find("2; 2; 0, 1;;"), 12, "2; 2; 1, 0;;");
    const MeshData m = parseOk(kHeader + body);
    EXPECT_EQ(m.subsets[0].vertexCount, 3);  // the triangle
    EXPECT_EQ(m.subsets[1].vertexCount, 6);  // the quad
    EXPECT_FLOAT_EQ(m.vertices[m.subsets[0].firstVertex].x, 5.0f);
}

TEST(XFileParser, AppliesNestedFrameTransformsAndCollapsesMeshes) {
    // Outer frame moves by +10 in x, inner frame turns a quarter about z
    // (x -> y); a second mesh at the top level is untouched.
    const std::string text = kHeader +
        "template Unused { <3D82AB43-62DA-11cf-AB39-0020AF71E433> DWORD n; }\n"
        "Frame outer {\n"
        " FrameTransformMatrix { 1,0,0,0, 0,1,0,0, 0,0,1,0, 10,0,0,1;; }\n"
        " Frame inner {\n"
        "  FrameTransformMatrix { 0,1,0,0, -1,0,0,0, 0,0,1,0, 0,0,0,1;; }\n"
        "  Mesh { 3; 1;0;0;, 1;1;0;, 0;0;0;; 1; 3;0,1,2;;\n"
        "   MeshNormals { 1; 1;0;0;; 1; 3;0,0,0;; } }\n"
        " }\n"
        "}\n"
        "Mesh { 3; 0;0;5;, 0;1;5;, 1;0;5;; 1; 3;0,1,2;; }\n";
    const MeshData m = parseOk(text);
    ASSERT_EQ(m.triangles(), 2u);
    ASSERT_EQ(m.materials.size(), 2u);  // a default material for the bare mesh
    const MeshVertex& v = m.vertices[m.subsets[0].firstVertex];
    EXPECT_NEAR(v.x, 10.0f, 1e-6);  // (1,0,0) turned to (0,1,0), moved by 10
    EXPECT_NEAR(v.y, 1.0f, 1e-6);
    EXPECT_NEAR(v.nx, 0.0f, 1e-6);  // the normal turned with it
    EXPECT_NEAR(v.ny, 1.0f, 1e-6);
    const MeshVertex& w = m.vertices[m.subsets[1].firstVertex];
    EXPECT_FLOAT_EQ(w.z, 5.0f);
    EXPECT_FLOAT_EQ(w.nz, 0.0f);  // no normals in the file
}

TEST(XFileParser, MaterialReferencesAndAShortIndexList) {
    // One index for two faces repeats it; the material is a reference to a
    // top-level Material.
    const std::string text = kHeader +
        "Material shiny { 0.2;0.4;0.6;1.0;; 5.0; 0;0;0;; 0.1;0.1;0.1;; }\n"
        "Mesh { 4; 0;0;0;, 1;0;0;, 1;1;0;, 0;1;0;; 2; 3;0,1,2;, 3;0,2,3;;\n"
        " MeshMaterialList { 1; 1; 0;; { shiny } } }\n";
    const MeshData m = parseOk(text);
    ASSERT_EQ(m.materials.size(), 1u);
    EXPECT_FLOAT_EQ(m.materials[0].Diffuse.b, 0.6f);
    EXPECT_EQ(m.subsets[0].vertexCount, 6);
}

TEST(XFileParser, EmptyMeshAndNoMeshAreValid) {
    EXPECT_EQ(parseOk(kHeader).triangles(), 0u);
    const MeshData m = parseOk(kHeader + "Mesh { 0;; 0;; MeshMaterialList { 0; 0;; } }\n");
    EXPECT_EQ(m.triangles(), 0u);
    EXPECT_TRUE(m.materials.empty());
}

TEST(XFileParser, RejectsOtherFormatsAndBadHeaders) {
    MeshData m;
    EXPECT_FALSE(parseXFile("", m));
    EXPECT_FALSE(parseXFile("xof 0302", m));
    EXPECT_FALSE(parseXFile("xof 0302bin 0032" + meshBody(), m));
    EXPECT_FALSE(parseXFile("xof 0302tzip0032" + meshBody(), m));
    EXPECT_FALSE(parseXFile("xof 0302bzip0032" + meshBody(), m));
    EXPECT_FALSE(parseXFile("xof 0302txt 0016" + meshBody(), m));
    EXPECT_FALSE(parseXFile("XOF 0302txt 0032" + meshBody(), m));
}

TEST(XFileParser, RejectsEveryMalformedShape) {
    const std::string good = meshBody();
    auto with = [&](const std::string& from, const std::string& to) {
        std::string s = good;
        const auto at = s.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        s.replace(at, from.size(), to);
        return kHeader + s;
    };
    expectFails(with(" 7;\n", " 9;\n"), "more vertices counted than listed");
    expectFails(with(" 7;\n", " 99999999;\n"), "vertex count larger than the file");
    expectFails(with(" 7;\n", " -1;\n"), "negative count");
    expectFails(with(" 7;\n", " 7.5;\n"), "fractional count");
    expectFails(with("4;0,3,2,1;", "4;0,3,2,7;"), "vertex index out of range");
    expectFails(with("4;0,3,2,1;", "4;0,3,2,-1;"), "negative index");
    expectFails(with("4;0,3,2,1;,", "2;0,3;,"), "face of two corners");
    expectFails(with(" 2;\n 4;", " 3;\n 4;"), "fewer faces than counted");
    expectFails(with("1.0;1.0;0.0;, 0.0", "1.0;abc;0.0;, 0.0"), "a name where a number goes");
    expectFails(with("1.0;1.0;0.0;, 0.0", "1.0;1e999;0.0;, 0.0"), "a number that overflows");
    expectFails(with("2; 4;0,0,0,0;", "1; 4;0,0,0,0;"), "face normals count differs");
    expectFails(with("4;0,0,0,0;", "3;0,0,0;"), "face normal corners differ");
    expectFails(with("3;0,0,0;;\n }", "3;0,0,5;;\n }"), "normal index out of range");
    expectFails(with("  7; 0.0;0.0;, 1.0", "  6; 0.0;0.0;, 1.0"), "texture coordinates count");
    expectFails(with("2; 2; 0, 1;;", "2; 2; 0, 2;;"), "material index out of range");
    expectFails(with("2; 2; 0, 1;;", "2; 3; 0, 1, 1;;"), "more material indices than faces");
    expectFails(with("2; 2; 0, 1;;", "3; 2; 0, 1;;"), "fewer materials than counted");
    expectFails(with("2; 2; 0, 1;;", "1; 2; 0, 0;;"), "more materials than counted");
    expectFails(with("1.0;0.0;0.0;1.0;; 8.0;", "1.0;0.0;0.0;; 8.0;"), "short face colour");
    expectFails(with("Mesh quadAndTri {", "Mesh quadAndTri"), "missing brace");
    expectFails(with("TextureFilename { \"ignored.png\"; }", "TextureFilename { \"ignored.png; }"),
                "unterminated string");
    expectFails(kHeader + good.substr(0, good.size() / 2), "truncated");
    expectFails(kHeader + good.substr(0, good.size() - 3), "last brace missing");
    expectFails(kHeader + "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;\n"
                          " MeshMaterialList { 1; 1; 0;; { nowhere } } }\n",
                "reference to an unknown material");
    expectFails(kHeader + "Frame { FrameTransformMatrix { 1,0,0,0, 0,1,0,0; } }", "short matrix");
    expectFails(kHeader + "} Mesh {", "stray brace");
    expectFails(kHeader + "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; @ }", "unknown character");
    expectFails(kHeader + "template T { <guid", "unterminated guid");
    std::string deep = kHeader;
    for (int i = 0; i < 200; ++i) deep += "Frame {";
    expectFails(deep, "nested too deeply");
}

}  // namespace
