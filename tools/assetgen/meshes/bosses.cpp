// The two bosses, both sized to the (3,3,5) box and facing -z.
#include <cmath>

#include "gen/mesh.h"
#include "gen/pack.h"

namespace assetgen {
namespace {

const float kBodyGlow = 0.2f;
const float kFill = 0.6f;  // the boss entrance and the clear orbit look at their unlit sides

// A ring of quads between radii r0 and r1 in the x-y plane, from z0 to z1.
void ring(MeshBuilder& m, int segments, float r0, float r1, float z0, float z1, int mat, Vec2 c = {}) {
  for (int i = 0; i < segments; ++i) {
    float a0 = i * 6.2831853f / segments, a1 = (i + 1) * 6.2831853f / segments;
    m.prismZ({{c.x + r0 * std::cos(a0), c.y + r0 * std::sin(a0)}, {c.x + r1 * std::cos(a0), c.y + r1 * std::sin(a0)},
              {c.x + r1 * std::cos(a1), c.y + r1 * std::sin(a1)}, {c.x + r0 * std::cos(a1), c.y + r0 * std::sin(a1)}},
             z0, z1, mat);
  }
}

// Final boss: an armoured dreadnought with twin cannons and a red core;
// ribbed hull, deck panels, rows of lit ports and four engines behind.
std::string dreadnought() {
  MeshBuilder m;
  m.fillUnlitFaces(kFill);
  int armour = m.material("Armour", rgb(100, 106, 130), kBodyGlow, 0.5f, 30);
  int plate = m.material("Plates", rgb(160, 44, 54), kBodyGlow, 0.4f, 25);
  int dark = m.material("Frame", rgb(80, 84, 106), kBodyGlow);
  int core = m.glowMaterial("Core", rgb(255, 60, 40));
  int lights = m.glowMaterial("Lights", rgb(255, 200, 80));
  int engine = m.glowMaterial("Engines", rgb(255, 150, 70));
  int hot = m.glowMaterial("EngineCores", rgb(255, 240, 200));
  auto hexa = [](float w, float h) {
    return Outline{{w, 0}, {w * 0.6f, h}, {-w * 0.6f, h}, {-w, 0}, {-w * 0.6f, -h}, {w * 0.6f, -h}};
  };
  m.loftZ({{4.8f, hexa(1.4f, 1.0f)}, {2.0f, hexa(2.0f, 1.5f)}, {-2.5f, hexa(1.8f, 1.3f)}, {-4.2f, hexa(0.9f, 0.7f)}},
          armour, dark);
  // Side armour and the cannons.
  for (float s : {-1.0f, 1.0f}) {
    m.box({s * 2.15f, 0, 0.5f}, {0.55f, 0.9f, 2.8f}, plate);
    m.loftZ({{0.5f, regular(10, 0.38f, 0.38f), s * 2.3f, -0.2f}, {-4.6f, regular(10, 0.3f, 0.3f), s * 2.3f, -0.2f}},
            dark, core);
    m.box({s * 2.3f, -0.2f, -4.0f}, {0.5f, 0.5f, 0.3f}, armour);
    m.box({s * 2.15f, 0.95f, 2.5f}, {0.3f, 0.08f, 0.6f}, lights);
    // Ports along the side armour, a rib round it and an engine behind it.
    for (float z : {-1.6f, -0.3f, 1.0f, 2.3f}) m.box({s * 2.71f, 0.3f, z}, {0.03f, 0.07f, 0.42f}, lights);
    // Seams and a hatch on the side armour's outer face.
    for (float y : {0.58f, -0.3f}) m.box({s * 2.71f, y, 0.5f}, {0.025f, 0.035f, 2.7f}, dark);
    for (float z : {1.65f, -1.0f}) m.box({s * 2.71f, 0, z}, {0.025f, 0.86f, 0.035f}, dark);
    m.box({s * 2.71f, -0.6f, 0.35f}, {0.03f, 0.18f, 0.9f}, armour);
    m.box({s * 2.15f, 0, -0.9f}, {0.6f, 0.95f, 0.12f}, dark);
    m.box({s * 2.15f, -0.5f, 1.8f}, {0.6f, 0.12f, 1.0f}, armour);
    m.loftZ({{3.3f, regular(8, 0.34f, 0.34f), s * 2.15f, 0}, {3.75f, regular(8, 0.28f, 0.28f), s * 2.15f, 0}}, dark,
            engine);
    // Deck panels either side of a centre trench.
    m.box({s * 0.75f, 1.42f, 0.2f}, {0.42f, 0.08f, 1.6f}, armour);
    m.box({s * 0.75f, 1.44f, 2.9f}, {0.36f, 0.06f, 0.5f}, plate);
    m.box({s * 2.15f, 0.95f, -1.6f}, {0.3f, 0.06f, 0.3f}, lights);
  }
  // Ribs round the hull.
  for (float z : {3.4f, 0.6f, -1.4f}) {
    float k = z > 2.0f ? 1.0f + (z - 2.0f) / 2.8f * -0.3f : 1.0f + (2.0f - z) / 4.5f * -0.1f;
    m.loftZ({{z - 0.12f, hexa(2.05f * k, 1.55f * k)}, {z + 0.12f, hexa(2.05f * k, 1.55f * k)}}, dark);
  }
  m.box({0, -1.3f, 0.3f}, {0.3f, 0.2f, 2.6f}, dark);  // keel
  // Bridge tower and its fin.
  m.loftZ({{2.5f, hexa(0.8f, 0.5f), 0, 1.6f}, {-0.5f, hexa(0.5f, 0.35f), 0, 1.6f}}, plate, dark);
  m.prismZ({{-0.06f, 2.0f}, {0.06f, 2.0f}, {0.06f, 2.9f}, {-0.06f, 2.9f}}, 0.5f, 2.6f, dark);
  m.box({0, 1.75f, -0.45f}, {0.4f, 0.12f, 0.06f}, lights);
  // Engines.
  // Engines: a nozzle with a white-hot centre, and a lit grille between them.
  for (float x : {-0.8f, 0.8f}) {
    m.loftZ({{4.5f, regular(8, 0.5f, 0.5f), x, 0}, {5.0f, regular(8, 0.42f, 0.42f), x, 0}}, dark, engine);
    ring(m, 8, 0.42f, 0.52f, 4.95f, 5.12f, armour, {x, 0});
    m.loftZ({{5.0f, regular(8, 0.2f, 0.2f), x, 0}, {5.06f, regular(8, 0.18f, 0.18f), x, 0}}, hot);
  }
  for (float y : {0.62f, -0.62f}) m.box({0, y, 4.83f}, {0.55f, 0.05f, 0.04f}, lights);
  m.box({0, 0, 4.82f}, {0.08f, 0.5f, 0.04f}, armour);
  m.ellipsoid({0, -0.2f, -4.1f}, {0.75f, 0.65f, 0.6f}, core, 12, 8);
  return m.toX("Dreadnought");
}

// Second boss: a ring carrier around one great eye; panelled ring with lit
// nodes on both faces, a rimmed eye and a tail of four thrusters.
std::string ringCarrier() {
  MeshBuilder m;
  m.fillUnlitFaces(kFill);
  int hull = m.material("Hull", rgb(200, 200, 220), kBodyGlow, 0.6f, 40);
  int purple = m.material("Ring", rgb(120, 60, 190), kBodyGlow, 0.5f, 30);
  int dark = m.material("Frame", rgb(64, 58, 92), kBodyGlow);
  int panel = m.material("Panels", rgb(160, 110, 220), kBodyGlow, 0.5f, 30);
  int eye = m.glowMaterial("Eye", rgb(255, 230, 90));
  int glow = m.glowMaterial("Nodes", rgb(120, 220, 255));
  const int n = 20;
  for (int i = 0; i < n; ++i) {
    float a0 = i * 6.2831853f / n, a1 = (i + 1) * 6.2831853f / n;
    Outline seg = {{2.3f * std::cos(a0), 2.3f * std::sin(a0)}, {2.95f * std::cos(a0), 2.95f * std::sin(a0)},
                   {2.95f * std::cos(a1), 2.95f * std::sin(a1)}, {2.3f * std::cos(a1), 2.3f * std::sin(a1)}};
    m.prismZ(seg, -0.6f, 0.6f, i % 5 == 0 ? dark : i % 2 ? panel : purple);
    if (i % 5 == 0)
      for (float z : {-0.7f, 0.7f})
        m.ellipsoid({2.62f * std::cos(a0 + 0.15f), 2.62f * std::sin(a0 + 0.15f), z}, {0.22f, 0.22f, 0.22f}, glow, 8, 5);
  }
  ring(m, 20, 2.22f, 2.34f, -0.7f, 0.7f, dark);  // inner lip
  ring(m, 14, 0.68f, 0.86f, -1.0f, -0.7f, dark);  // the eye's rim
  for (int k = 0; k < 4; ++k) {
    m.setTransform({0, 0, 45.0f + k * 90.0f}, {0, 0, 0});
    m.prismZ({{0.9f, -0.18f}, {2.4f, -0.12f}, {2.4f, 0.12f}, {0.9f, 0.18f}}, -0.3f, 0.3f, hull);
  }
  m.resetTransform();
  m.ellipsoid({0, 0, 0}, {1.1f, 1.1f, 1.1f}, hull, 14, 9);
  m.ellipsoid({0, 0, -0.75f}, {0.7f, 0.7f, 0.5f}, eye, 12, 7);
  m.loftZ({{0.8f, regular(8, 0.9f, 0.9f)}, {3.6f, regular(8, 0.7f, 0.7f)}, {4.8f, regular(8, 0.45f, 0.45f)}}, dark, glow);
  for (float z : {1.6f, 2.6f}) m.loftZ({{z, regular(8, 0.9f, 0.9f)}, {z + 0.25f, regular(8, 0.88f, 0.88f)}}, hull);
  for (int k = 0; k < 4; ++k) {
    float a = 0.7854f + k * 1.5708f;
    m.loftZ({{3.4f, regular(6, 0.2f, 0.2f), 0.72f * std::cos(a), 0.72f * std::sin(a)},
             {4.6f, regular(6, 0.16f, 0.16f), 0.72f * std::cos(a), 0.72f * std::sin(a)}},
            hull, glow);
  }
  for (int k = 0; k < 4; ++k) {
    m.setTransform({0, 0, k * 90.0f}, {0, 0, 0});
    m.loftZ({{-0.5f, regular(4, 0.16f, 0.16f), 2.62f, 0}, {-4.5f, regular(4, 0.03f, 0.03f), 2.62f, 0}}, hull);
  }
  return m.toX("RingCarrier");
}

}  // namespace

void addBossMeshes(Builders& b) {
  b.meshes["x/boss.x"] = dreadnought;
  b.meshes["x/boss2.x"] = ringCarrier;
}

}  // namespace assetgen
