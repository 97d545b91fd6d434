// MeshBuilder: assembles a model from closed primitives (boxes, prisms,
// lofts, ellipsoids) with flat-shaded faces and named materials, and
// writes it as a DirectX .x text file. Faces are wound so that their front
// is clockwise seen from outside in the left-handed world, i.e. the
// geometric normal (b - a) x (c - a) points outwards.
#pragma once

#include <string>
#include <vector>

#include "gen/image.h"

namespace assetgen {

struct Vec3 {
  float x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator*(Vec3 a, float k) { return {a.x * k, a.y * k, a.z * k}; }
Vec3 cross(Vec3 a, Vec3 b);
float dot(Vec3 a, Vec3 b);
Vec3 normalized(Vec3 a);

struct Material {
  std::string name;
  Color diffuse;       // faceColor (alpha used by the blend)
  float power = 20;    // specular exponent
  Color specular;      // specular colour
  Color emissive;      // glow that lighting does not change
  bool glows = false;  // a light of its own: no fill (see fillUnlitFaces)
};

// 2D outline for prisms and loft sections (convex or star-shaped).
using Outline = std::vector<Vec2>;
Outline regular(int sides, float rx, float ry, float phase = 0);

class MeshBuilder {
 public:
  // Adds a material and returns its index.
  int material(const std::string& name, Color diffuse, float emissive = 0.0f, float shine = 0.3f,
               float power = 20);
  int glowMaterial(const std::string& name, Color c);  // dark body, bright emissive
  // The game lights with one directional light and no ambient, so a face
  // turned from it shows only its material's emissive: one flat colour per
  // material. With a fill, toX splits each non-glowing material by how much
  // the faces miss the game's light and how much they face up, adding
  // diffuse * strength * that share to the emissive of each copy, so the
  // unlit side keeps its shape (a soft light from above and behind).
  void fillUnlitFaces(float strength) { fill_ = strength; }

  // Placement of the primitives that follow: rotation (degrees about x, then
  // y, then z), then translation.
  void setTransform(Vec3 rotationDeg, Vec3 translation);
  void resetTransform();

  void box(Vec3 centre, Vec3 half, int mat);
  void box2(Vec3 centre, Vec3 half, int frontBackMat, int sideMat);  // front/back = ±z faces
  // Convex outline in the x-y plane extruded from z0 to z1.
  void prismZ(const Outline& xy, float z0, float z1, int mat, int capMat = -1);
  // Convex outline in the x-z plane extruded from y0 to y1 (flat wings).
  void prismY(const Outline& xz, float y0, float y1, int mat);
  // Sections along z: each outline (x-y, centred on (cx, cy)) at depth z;
  // the surface between them and caps at both ends.
  struct Section {
    float z;
    Outline outline;
    float cx = 0, cy = 0;
  };
  void loftZ(const std::vector<Section>& sections, int mat, int capMat = -1);
  void ellipsoid(Vec3 centre, Vec3 radii, int mat, int segments = 12, int rings = 8);

  int faceCount() const { return int(faces_.size()); }
  std::string toX(const std::string& name) const;

 private:
  struct Face {
    Vec3 v[3];
    int mat;
  };
  // Adds a triangle turned so its normal points away from `inside`.
  void triAway(Vec3 a, Vec3 b, Vec3 c, Vec3 inside, int mat);
  void quadAway(Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 inside, int mat);
  Vec3 apply(Vec3 p) const;

  std::vector<Material> materials_;
  std::vector<Face> faces_;
  float m_[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  Vec3 t_{};
  float fill_ = 0;
};

}  // namespace assetgen
