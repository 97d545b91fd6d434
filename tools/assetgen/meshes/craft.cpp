// The player's interceptor and missile, and the seven enemy craft. Enemies
// face -z (towards the player); the player's ship faces +z. Each is sized
// to its hit box and has its own colour and silhouette.
#include <cmath>

#include "gen/mesh.h"
#include "gen/pack.h"

namespace assetgen {
namespace {

const float kBodyGlow = 0.22f;  // keeps faces turned from the light readable
const float kFill = 0.45f;      // and the soft fill that shapes them

// Every craft starts with the fill on (the missile and the player's ship too).
MeshBuilder craftBuilder() {
  MeshBuilder m;
  m.fillUnlitFaces(kFill);
  return m;
}

Outline hexagon(float w, float h) { return {{w, 0}, {w * 0.5f, h}, {-w * 0.5f, h}, {-w, 0}, {-w * 0.5f, -h}, {w * 0.5f, -h}}; }

std::string interceptor() {
  MeshBuilder m = craftBuilder();
  int hull = m.material("Hull", rgb(190, 200, 222), kBodyGlow, 0.5f, 30);
  int trim = m.material("Trim", rgb(60, 70, 100), kBodyGlow);
  int glass = m.material("Cockpit", rgb(70, 210, 255), 0.5f, 0.9f, 60);
  int engine = m.glowMaterial("Engine", rgb(110, 170, 255));
  int accent = m.material("Accent", rgb(235, 60, 50), 0.3f);
  m.loftZ({{-0.72f, hexagon(0.2f, 0.14f)}, {-0.2f, hexagon(0.26f, 0.18f)}, {0.4f, hexagon(0.16f, 0.12f)},
           {0.8f, hexagon(0.02f, 0.02f)}},
          hull, trim);
  m.ellipsoid({0, 0.14f, 0.12f}, {0.1f, 0.08f, 0.24f}, glass, 10, 6);
  m.prismY({{0.15f, -0.55f}, {0.75f, -0.6f}, {0.75f, -0.4f}, {0.15f, 0.3f}}, -0.03f, 0.03f, hull);
  m.prismY({{-0.15f, -0.55f}, {-0.15f, 0.3f}, {-0.75f, -0.4f}, {-0.75f, -0.6f}}, -0.03f, 0.03f, hull);
  m.box({0.72f, 0.05f, -0.5f}, {0.04f, 0.12f, 0.12f}, accent);
  m.box({-0.72f, 0.05f, -0.5f}, {0.04f, 0.12f, 0.12f}, accent);
  m.prismZ({{0, 0.12f}, {0.025f, 0.12f}, {0.025f, 0.38f}, {0, 0.38f}}, -0.7f, -0.3f, trim);
  for (float x : {-0.14f, 0.14f}) {
    m.loftZ({{-0.78f, regular(8, 0.09f, 0.09f), x, -0.03f}, {-0.35f, regular(8, 0.08f, 0.08f), x, -0.03f}},
            trim, engine);
  }
  return m.toX("Interceptor");
}

std::string missile() {
  MeshBuilder m = craftBuilder();
  int body = m.material("Body", rgb(210, 215, 225), kBodyGlow, 0.6f, 40);
  int nose = m.material("Warhead", rgb(230, 60, 40), 0.35f);
  int fin = m.material("Fins", rgb(70, 80, 110), kBodyGlow);
  int flame = m.glowMaterial("Exhaust", rgb(255, 170, 60));
  m.loftZ({{-0.9f, regular(8, 0.15f, 0.15f)}, {0.5f, regular(8, 0.15f, 0.15f)}}, body, flame);
  m.loftZ({{0.5f, regular(8, 0.15f, 0.15f)}, {0.8f, regular(8, 0.1f, 0.1f)}, {0.98f, regular(8, 0.02f, 0.02f)}},
          nose);
  for (int k = 0; k < 4; ++k) {
    m.setTransform({0, 0, k * 90.0f}, {0, 0, 0});
    m.prismZ({{0.1f, -0.02f}, {0.55f, -0.02f}, {0.55f, 0.02f}, {0.1f, 0.02f}}, -0.85f, -0.45f, fin);
  }
  return m.toX("Missile");
}

// Dart fighter: long arrow with swept wings and twin fins; yellow lamps on
// the nose and wing tips and a yellow engine glow.
std::string dart() {
  MeshBuilder m = craftBuilder();
  int red = m.material("Hull", rgb(220, 50, 46), kBodyGlow, 0.5f, 30);
  int white = m.material("Stripe", rgb(230, 230, 236), kBodyGlow);
  int eye = m.glowMaterial("Eye", rgb(255, 230, 70));
  m.loftZ({{1.8f, hexagon(0.3f, 0.25f)}, {0.2f, hexagon(0.38f, 0.32f)}, {-1.2f, hexagon(0.22f, 0.2f)},
           {-2.0f, hexagon(0.02f, 0.02f)}},
          red, white);
  m.prismY({{0.3f, 1.4f}, {1.0f, 1.7f}, {1.0f, 1.2f}, {0.3f, -0.6f}}, -0.05f, 0.05f, white);
  m.prismY({{-0.3f, 1.4f}, {-0.3f, -0.6f}, {-1.0f, 1.2f}, {-1.0f, 1.7f}}, -0.05f, 0.05f, white);
  for (float x : {-0.22f, 0.22f}) m.prismZ({{x - 0.03f, 0.2f}, {x + 0.03f, 0.2f}, {x + 0.03f, 0.9f}, {x - 0.03f, 0.9f}}, 0.8f, 1.7f, red);
  m.ellipsoid({0, 0.14f, -1.05f}, {0.17f, 0.14f, 0.34f}, eye, 8, 5);
  for (float s : {-1.0f, 1.0f}) m.box({s * 1.0f, 0.07f, 1.3f}, {0.09f, 0.06f, 0.32f}, eye);
  m.ellipsoid({0, 0, 1.8f}, {0.24f, 0.2f, 0.1f}, eye, 8, 5);
  return m.toX("Dart");
}

// Ring drone: a ring facing the player around a glowing lime core, with
// four lamps on its face.
std::string ringDrone() {
  MeshBuilder m = craftBuilder();
  int green = m.material("Ring", rgb(60, 200, 110), kBodyGlow, 0.5f, 30);
  int dark = m.material("Frame", rgb(56, 84, 84), kBodyGlow);
  int core = m.glowMaterial("Core", rgb(170, 255, 90));
  const int n = 12;
  for (int i = 0; i < n; ++i) {
    float a0 = i * 6.2831853f / n, a1 = (i + 1) * 6.2831853f / n;
    Outline seg = {{0.75f * std::cos(a0), 0.75f * std::sin(a0)}, {0.98f * std::cos(a0), 0.98f * std::sin(a0)},
                   {0.98f * std::cos(a1), 0.98f * std::sin(a1)}, {0.75f * std::cos(a1), 0.75f * std::sin(a1)}};
    m.prismZ(seg, -0.3f, 0.3f, i % 3 == 0 ? dark : green);
  }
  m.ellipsoid({0, 0, 0}, {0.42f, 0.42f, 0.42f}, core, 10, 6);
  for (int k = 0; k < 4; ++k) {
    float a = 0.7854f + k * 1.5708f;
    m.box({0.865f * std::cos(a), 0.865f * std::sin(a), -0.33f}, {0.1f, 0.1f, 0.04f}, core);
  }
  for (int k = 0; k < 3; ++k) {
    m.setTransform({0, 0, 90.0f + k * 120.0f}, {0, 0, 0});
    m.prismZ({{0.3f, -0.05f}, {0.78f, -0.05f}, {0.78f, 0.05f}, {0.3f, 0.05f}}, -0.08f, 0.08f, dark);
  }
  m.resetTransform();
  m.loftZ({{0.3f, regular(6, 0.2f, 0.2f)}, {1.7f, regular(6, 0.05f, 0.05f)}}, dark);
  return m.toX("RingDrone");
}

// Crab walker: a wide shell with claws reaching forward, cyan eyes and a
// cyan visor.
std::string crab() {
  MeshBuilder m = craftBuilder();
  int shell = m.material("Shell", rgb(240, 140, 40), kBodyGlow, 0.4f, 25);
  int under = m.material("Under", rgb(110, 60, 30), kBodyGlow);
  int eyes = m.glowMaterial("Eyes", rgb(120, 255, 255));
  m.ellipsoid({0, 0.05f, 0.1f}, {1.0f, 0.5f, 1.4f}, shell, 14, 8);
  m.box({0, -0.3f, 0.1f}, {0.7f, 0.2f, 1.0f}, under);
  for (float s : {-1.0f, 1.0f}) {
    m.setTransform({0, s * 25.0f, 0}, {s * 0.9f, -0.05f, -0.6f});
    m.box({0, 0, -0.6f}, {0.14f, 0.14f, 0.7f}, under);
    m.setTransform({0, -s * 20.0f, 0}, {s * 1.15f, -0.05f, -1.45f});
    m.loftZ({{0.25f, regular(5, 0.2f, 0.16f)}, {-0.45f, regular(5, 0.04f, 0.04f)}}, shell);
    for (float z : {0.3f, 0.9f}) {
      m.setTransform({0, 0, s * -30.0f}, {s * 1.2f, -0.25f, z});
      m.box({0, 0, 0}, {0.32f, 0.08f, 0.08f}, under);
    }
  }
  m.resetTransform();
  m.ellipsoid({-0.32f, 0.36f, -1.05f}, {0.17f, 0.17f, 0.17f}, eyes, 8, 5);
  m.ellipsoid({0.32f, 0.36f, -1.05f}, {0.17f, 0.17f, 0.17f}, eyes, 8, 5);
  m.box({0, 0.02f, -1.27f}, {0.5f, 0.06f, 0.06f}, eyes);
  return m.toX("Crab");
}

// Hunter spike: a diamond lance with four blades, hot pink lamps at the
// blade tips and the nose.
std::string spike() {
  MeshBuilder m = craftBuilder();
  int purple = m.material("Hull", rgb(150, 70, 220), kBodyGlow, 0.6f, 40);
  int blade = m.material("Blades", rgb(210, 190, 240), kBodyGlow);
  int core = m.glowMaterial("Core", rgb(255, 80, 220));
  Outline diamond = {{0.45f, 0}, {0, 0.45f}, {-0.45f, 0}, {0, -0.45f}};
  Outline small = {{0.02f, 0}, {0, 0.02f}, {-0.02f, 0}, {0, -0.02f}};
  m.loftZ({{1.6f, small}, {0.4f, diamond}, {-2.0f, small}}, purple);
  for (int k = 0; k < 4; ++k) {
    m.setTransform({0, 0, 45.0f + k * 90.0f}, {0, 0, 0});
    m.prismZ({{0.25f, -0.03f}, {1.0f, -0.03f}, {1.0f, 0.03f}, {0.25f, 0.03f}}, 0.0f, 1.2f, blade);
    m.box({1.0f, 0, 0.15f}, {0.1f, 0.1f, 0.2f}, core);
  }
  m.resetTransform();
  m.ellipsoid({0, 0, -0.1f}, {0.28f, 0.28f, 0.5f}, core, 8, 6);
  m.ellipsoid({0, 0, -1.55f}, {0.13f, 0.13f, 0.3f}, core, 8, 5);
  return m.toX("Spike");
}

// Cross wing: four wings in an X around a barrel, white-hot lamps along the
// wing tips and in the barrel's mouth.
std::string crossWing() {
  MeshBuilder m = craftBuilder();
  int yellow = m.material("Wings", rgb(240, 210, 50), kBodyGlow, 0.5f, 30);
  int body = m.material("Barrel", rgb(70, 70, 80), kBodyGlow, 0.6f, 40);
  int lights = m.glowMaterial("Tips", rgb(255, 245, 200));
  m.loftZ({{1.5f, regular(8, 0.3f, 0.3f)}, {-1.2f, regular(8, 0.3f, 0.3f)}, {-1.8f, regular(8, 0.12f, 0.12f)}},
          body, lights);
  for (int k = 0; k < 4; ++k) {
    m.setTransform({0, 0, 45.0f + k * 90.0f}, {0, 0, 0});
    m.prismZ({{0.25f, -0.05f}, {1.25f, -0.05f}, {1.25f, 0.05f}, {0.25f, 0.05f}}, -0.4f, 1.1f, yellow);
    m.box({1.3f, 0, -0.2f}, {0.12f, 0.12f, 0.55f}, lights);
  }
  return m.toX("CrossWing");
}

// Patrol saucer: a disc with a dome and a forward sensor, a ring of red
// lamps round its rim.
std::string saucer() {
  MeshBuilder m = craftBuilder();
  int teal = m.material("Disc", rgb(40, 190, 190), kBodyGlow, 0.6f, 40);
  int rim = m.material("Rim", rgb(44, 84, 96), kBodyGlow);
  int dome = m.material("Dome", rgb(160, 240, 255), 0.45f, 0.9f, 60);
  int lamp = m.glowMaterial("Lamps", rgb(255, 60, 60));
  m.ellipsoid({0, 0, 0}, {1.0f, 0.3f, 1.0f}, teal, 16, 8);
  m.setTransform({90, 0, 0}, {0, 0, 0});
  m.prismZ(regular(16, 1.05f, 1.05f), -0.06f, 0.06f, rim);
  m.resetTransform();
  m.ellipsoid({0, 0.28f, 0.1f}, {0.42f, 0.32f, 0.42f}, dome, 10, 6);
  m.loftZ({{-0.8f, regular(6, 0.12f, 0.12f)}, {-1.8f, regular(6, 0.03f, 0.03f)}}, rim, lamp);
  for (int k = 0; k < 8; ++k) {
    float a = 0.3927f + k * 0.7854f;
    m.ellipsoid({1.0f * std::cos(a), 0, 1.0f * std::sin(a)}, {0.15f, 0.13f, 0.15f}, lamp, 6, 4);
  }
  m.loftZ({{0.8f, regular(4, 0.05f, 0.3f)}, {1.8f, regular(4, 0.02f, 0.1f)}}, rim);
  return m.toX("Saucer");
}

// Heavy gunship: blocks, side pods and twin cannons, a wide orange visor
// and muzzle glow in front, and orange vents behind.
std::string gunship() {
  MeshBuilder m = craftBuilder();
  int armour = m.material("Armour", rgb(100, 120, 160), kBodyGlow, 0.4f, 25);
  int dark = m.material("Plating", rgb(66, 74, 98), kBodyGlow);
  int vent = m.glowMaterial("Vents", rgb(255, 125, 30));
  m.box2({0, 0, 0}, {1.1f, 0.8f, 1.6f}, dark, armour);
  m.box({0, 0.9f, 0.3f}, {0.6f, 0.3f, 0.9f}, armour);
  for (float s : {-1.0f, 1.0f}) {
    m.box({s * 1.55f, -0.3f, 0.2f}, {0.42f, 0.6f, 1.5f}, armour);
    m.box({s * 1.55f, -0.3f, 1.75f}, {0.3f, 0.4f, 0.1f}, vent);
    m.loftZ({{-1.0f, regular(8, 0.18f, 0.18f), s * 0.6f, -0.4f}, {-1.95f, regular(8, 0.14f, 0.14f), s * 0.6f, -0.4f}},
            dark, vent);
  }
  m.box({0, 0.25f, -1.63f}, {0.75f, 0.16f, 0.05f}, vent);
  m.box({0, 0.9f, -0.62f}, {0.4f, 0.08f, 0.04f}, vent);
  return m.toX("Gunship");
}

}  // namespace

void addCraftMeshes(Builders& b) {
  b.meshes["x/mychar.x"] = interceptor;
  b.meshes["x/missile.x"] = missile;
  b.meshes["x/teki04.x"] = dart;
  b.meshes["x/teki3.x"] = ringDrone;
  b.meshes["x/teki06.x"] = crab;
  b.meshes["x/teki08.x"] = spike;
  b.meshes["x/teki09.x"] = crossWing;
  b.meshes["x/teki4.x"] = saucer;
  b.meshes["x/teki03.x"] = gunship;
}

}  // namespace assetgen
