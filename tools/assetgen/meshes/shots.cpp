// Shots and beams (drawn additively, so mostly emissive) and the extruded
// letters of the stage-clear sequence.
#include <cmath>

#include "gen/mesh.h"
#include "gen/pack.h"

namespace assetgen {
namespace {

// A glowing bolt: an outer shell and a brighter core, both along z.
std::string bolt(const char* name, Color outer, Color inner, float w, float h, float len) {
  MeshBuilder m;
  int shell = m.glowMaterial("Shell", outer);
  int core = m.glowMaterial("Core", inner);
  m.loftZ({{-len, regular(8, 0.02f, 0.02f)}, {-len * 0.5f, regular(8, w, h)},
           {len * 0.6f, regular(8, w * 0.8f, h * 0.8f)}, {len, regular(8, 0.02f, 0.02f)}},
          shell);
  m.loftZ({{-len * 0.8f, regular(6, 0.02f, 0.02f)}, {-len * 0.3f, regular(6, w * 0.45f, h * 0.45f)},
           {len * 0.8f, regular(6, 0.02f, 0.02f)}},
          core);
  return m.toX(name);
}

// The enemies' shot, flying towards -z: a white-hot core with a bright head
// inside a thin, see-through magenta shell. It is drawn alpha-blended with
// the depth test on, so the opaque core comes first (material 0) and the
// shell over it second; missed shots pass close below the camera, where a
// slim bolt reads as a flash rather than a wall.
std::string enemyBolt() {
  MeshBuilder m;
  int core = m.glowMaterial("Core", rgb(255, 235, 255));
  int shell = m.glowMaterial("Shell", rgb(255, 50, 200, 0.5f));
  m.loftZ({{-1.22f, regular(8, 0.03f, 0.03f)}, {-1.0f, regular(8, 0.19f, 0.16f)},
           {-0.55f, regular(8, 0.14f, 0.12f)}, {1.0f, regular(8, 0.02f, 0.02f)}},
          core);
  m.loftZ({{-1.32f, regular(8, 0.04f, 0.04f)}, {-1.05f, regular(8, 0.4f, 0.32f)},
           {-0.4f, regular(8, 0.3f, 0.24f)}, {1.3f, regular(8, 0.02f, 0.02f)}},
          shell);
  return m.toX("EnemyBolt");
}

// The second shot look; the game draws it with the bolt's materials, so it
// keeps their order: opaque core first, see-through shell and halo second.
std::string orb() {
  MeshBuilder m;
  int core = m.glowMaterial("Core", rgb(210, 255, 210));
  int shell = m.glowMaterial("Shell", rgb(60, 230, 110, 0.5f));
  m.ellipsoid({0, 0, 0}, {0.32f, 0.32f, 0.32f}, core, 10, 6);
  m.ellipsoid({0, 0, 0}, {0.62f, 0.45f, 0.62f}, shell, 12, 8);
  m.setTransform({90, 0, 0}, {0, 0, 0});
  m.prismZ(regular(14, 1.25f, 1.25f), -0.04f, 0.04f, shell);
  m.resetTransform();
  return m.toX("Orb");
}

// Block letters, 0.9 wide, 1.2 tall and 0.3 deep, from bars and slanted
// strokes; gold faces and darker sides. The glyphs below are laid out as read
// with +x to the right, then mirrored in x, so that they read from the +z
// side: the stage-clear camera looks at the resting letters (turned 30
// degrees) from +z towards -z, where +x is on the viewer's left. The light
// comes from behind them as that camera sees them, so the readable face
// glows with its own emissive gold and the sides take the shading.
struct Letter {
  MeshBuilder m;
  int face, side;
  Letter() {
    face = m.material("Face", rgb(255, 200, 60), 0.75f, 0.8f, 40);
    side = m.material("Side", rgb(200, 90, 30), 0.25f, 0.4f, 20);
  }
  void bar(float x0, float y0, float x1, float y1) {
    m.box2({-(x0 + x1) / 2, (y0 + y1) / 2, 0}, {(x1 - x0) / 2, (y1 - y0) / 2, 0.15f}, face, side);
  }
  void stroke(Vec2 a, Vec2 b, float w) {  // slanted bar from a to b
    float dx = b.x - a.x, dy = b.y - a.y, l = std::hypot(dx, dy);
    float nx = -dy / l * w / 2, ny = dx / l * w / 2;
    // Mirrored corners; the prism turns its faces outwards whatever the order.
    m.prismZ({{-(a.x + nx), a.y + ny}, {-(b.x + nx), b.y + ny}, {-(b.x - nx), b.y - ny}, {-(a.x - nx), a.y - ny}},
             -0.15f, 0.15f, side, face);
  }
};

const float T = 0.22f;  // stroke thickness

std::string letter(char c) {
  Letter l;
  switch (c) {
    case 'C':
      l.bar(-0.45f, -0.6f, -0.45f + T, 0.6f);
      l.bar(-0.45f + T, 0.6f - T, 0.45f, 0.6f);
      l.bar(-0.45f + T, -0.6f, 0.45f, -0.6f + T);
      l.bar(0.45f - T, 0.2f, 0.45f, 0.6f - T);
      l.bar(0.45f - T, -0.6f + T, 0.45f, -0.2f);
      break;
    case 'L':
      l.bar(-0.45f, -0.6f + T, -0.45f + T, 0.6f);
      l.bar(-0.45f, -0.6f, 0.4f, -0.6f + T);
      break;
    case 'E':
      l.bar(-0.45f, -0.6f, -0.45f + T, 0.6f);
      l.bar(-0.45f + T, 0.6f - T, 0.42f, 0.6f);
      l.bar(-0.45f + T, -T / 2, 0.25f, T / 2);
      l.bar(-0.45f + T, -0.6f, 0.42f, -0.6f + T);
      break;
    case 'A':
      l.stroke({-0.4f, -0.6f}, {-0.02f, 0.6f}, T * 1.1f);
      l.stroke({0.4f, -0.6f}, {0.02f, 0.6f}, T * 1.1f);
      l.bar(-0.24f, -0.22f, 0.24f, -0.22f + T * 0.9f);
      break;
    case 'R':
      l.bar(-0.45f, -0.6f, -0.45f + T, 0.6f);
      l.bar(-0.45f + T, 0.6f - T, 0.25f, 0.6f);
      l.bar(-0.45f + T, -0.05f, 0.25f, -0.05f + T);
      l.bar(0.42f - T, 0.12f, 0.42f, 0.45f);
      l.stroke({0.25f, 0.6f - T / 2}, {0.42f, 0.42f}, T * 0.9f);
      l.stroke({0.25f, -0.05f + T / 2}, {0.42f, 0.15f}, T * 0.9f);
      l.stroke({-0.05f, -0.02f}, {0.42f, -0.6f}, T * 1.1f);
      break;
    case '!':
      l.bar(-0.12f, -0.2f, 0.12f, 0.6f);
      l.bar(-0.12f, -0.6f, 0.12f, -0.36f);
      break;
  }
  return l.m.toX(std::string("Letter") + (c == '!' ? std::string("Bang") : std::string(1, c)));
}

}  // namespace

void addCraftMeshes(Builders& b);
void addBossMeshes(Builders& b);

void addMeshes(Builders& b) {
  addCraftMeshes(b);
  addBossMeshes(b);
  b.meshes["x/beam3.x"] = [] { return bolt("PlasmaBolt", rgb(60, 200, 255), rgb(220, 250, 255), 0.35f, 0.35f, 1.4f); };
  b.meshes["x/bossbeam1.x"] = [] { return bolt("FanBeam", rgb(255, 140, 40), rgb(255, 240, 180), 1.2f, 0.3f, 1.5f); };
  b.meshes["x/bossbeam3.x"] = [] { return bolt("NeedleBeam", rgb(255, 50, 40), rgb(255, 200, 190), 0.45f, 0.45f, 2.0f); };
  b.meshes["x/beam4.x"] = enemyBolt;
  b.meshes["x/tama2.x"] = orb;
  for (char c : std::string("CLEAR!")) b.meshes[std::string("x/") + c + ".x"] = [c] { return letter(c); };
}

}  // namespace assetgen
