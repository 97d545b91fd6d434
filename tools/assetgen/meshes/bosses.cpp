// The two bosses, both sized to the (3,3,5) box and facing -z.
#include <cmath>

#include "gen/mesh.h"
#include "gen/pack.h"

namespace assetgen {
namespace {

const float kBodyGlow = 0.2f;

// Final boss: an armoured dreadnought with twin cannons and a red core.
std::string dreadnought() {
  MeshBuilder m;
  int armour = m.material("Armour", rgb(90, 96, 118), kBodyGlow, 0.5f, 30);
  int plate = m.material("Plates", rgb(150, 40, 50), kBodyGlow, 0.4f, 25);
  int dark = m.material("Frame", rgb(40, 42, 54), kBodyGlow);
  int core = m.glowMaterial("Core", rgb(255, 60, 40));
  int lights = m.glowMaterial("Lights", rgb(255, 200, 80));
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
  }
  // Bridge tower and its fin.
  m.loftZ({{2.5f, hexa(0.8f, 0.5f), 0, 1.6f}, {-0.5f, hexa(0.5f, 0.35f), 0, 1.6f}}, plate, dark);
  m.prismZ({{-0.06f, 2.0f}, {0.06f, 2.0f}, {0.06f, 2.9f}, {-0.06f, 2.9f}}, 0.5f, 2.6f, dark);
  m.box({0, 1.75f, -0.45f}, {0.4f, 0.12f, 0.06f}, lights);
  // Engines.
  for (float x : {-0.8f, 0.8f})
    m.loftZ({{4.5f, regular(8, 0.5f, 0.5f), x, 0}, {5.0f, regular(8, 0.42f, 0.42f), x, 0}}, dark, lights);
  m.ellipsoid({0, -0.2f, -4.1f}, {0.75f, 0.65f, 0.6f}, core, 12, 8);
  return m.toX("Dreadnought");
}

// Second boss: a ring carrier around one great eye.
std::string ringCarrier() {
  MeshBuilder m;
  int hull = m.material("Hull", rgb(200, 200, 220), kBodyGlow, 0.6f, 40);
  int purple = m.material("Ring", rgb(120, 60, 190), kBodyGlow, 0.5f, 30);
  int dark = m.material("Frame", rgb(40, 36, 60), kBodyGlow);
  int eye = m.glowMaterial("Eye", rgb(255, 230, 90));
  int glow = m.glowMaterial("Nodes", rgb(120, 220, 255));
  const int n = 20;
  for (int i = 0; i < n; ++i) {
    float a0 = i * 6.2831853f / n, a1 = (i + 1) * 6.2831853f / n;
    Outline seg = {{2.3f * std::cos(a0), 2.3f * std::sin(a0)}, {2.95f * std::cos(a0), 2.95f * std::sin(a0)},
                   {2.95f * std::cos(a1), 2.95f * std::sin(a1)}, {2.3f * std::cos(a1), 2.3f * std::sin(a1)}};
    m.prismZ(seg, -0.6f, 0.6f, i % 5 == 0 ? dark : purple);
    if (i % 5 == 0) m.ellipsoid({2.62f * std::cos(a0 + 0.15f), 2.62f * std::sin(a0 + 0.15f), -0.7f}, {0.22f, 0.22f, 0.22f}, glow, 8, 5);
  }
  for (int k = 0; k < 4; ++k) {
    m.setTransform({0, 0, 45.0f + k * 90.0f}, {0, 0, 0});
    m.prismZ({{0.9f, -0.18f}, {2.4f, -0.12f}, {2.4f, 0.12f}, {0.9f, 0.18f}}, -0.3f, 0.3f, hull);
  }
  m.resetTransform();
  m.ellipsoid({0, 0, 0}, {1.1f, 1.1f, 1.1f}, hull, 14, 9);
  m.ellipsoid({0, 0, -0.75f}, {0.7f, 0.7f, 0.5f}, eye, 12, 7);
  m.loftZ({{0.8f, regular(8, 0.9f, 0.9f)}, {3.6f, regular(8, 0.7f, 0.7f)}, {4.8f, regular(8, 0.45f, 0.45f)}}, dark, glow);
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
