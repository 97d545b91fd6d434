// The pack table. Each row names one file, what it shows and where the game
// uses it; the generator makes exactly these files and the tests check them.
#include "manifest.h"

namespace assetgen {
namespace {

constexpr uint32_t kBlack = 0xFF000000u;
constexpr uint32_t kWhite = 0xFFFFFFFFu;
constexpr uint32_t kNearWhite = 0xFFFEFEFEu;

AssetEntry tex(std::string path, int w, int h, uint32_t key, Placing placing, int x,
               int y, float scale, std::string shows, std::string where) {
  AssetEntry e{std::move(path), Kind::Texture, std::move(shows), std::move(where), {}, {}, {}, {}};
  e.tex.width = w;
  e.tex.height = h;
  e.tex.key = key;
  e.tex.placing = placing;
  e.tex.x = x;
  e.tex.y = y;
  e.tex.scale = scale;
  return e;
}

AssetEntry cells(AssetEntry e, int cx, int cy) {
  e.tex.cellsX = cx;
  e.tex.cellsY = cy;
  return e;
}

AssetEntry soft(AssetEntry e) {
  e.tex.alpha = true;
  return e;
}

AssetEntry mesh(std::string path, float hx, float hy, float hz, int minMaterials,
                std::string shows, std::string where) {
  AssetEntry e{std::move(path), Kind::Mesh, std::move(shows), std::move(where), {}, {}, {}, {}};
  e.mesh = {hx, hy, hz, minMaterials};
  return e;
}

AssetEntry wav(std::string path, int rate, int bits, int channels, float maxSeconds,
               std::string shows, std::string where) {
  AssetEntry e{std::move(path), Kind::Sound, std::move(shows), std::move(where), {}, {}, {}, {}};
  e.sound = {rate, bits, channels, 0.05f, maxSeconds};
  return e;
}

AssetEntry ogg(std::string path, float minS, float maxS, std::string shows, std::string where) {
  AssetEntry e{std::move(path), Kind::Music, std::move(shows), std::move(where), {}, {}, {}, {}};
  e.music = {minS, maxS};
  return e;
}

std::vector<AssetEntry> buildTable() {
  const Placing C = Placing::Cover, O = Placing::Overlay, S = Placing::Cells, Q = Placing::Quad;
  std::vector<AssetEntry> t;
  // Screen pictures, loaded first by the display, in its load order.
  t.push_back(tex("t/gameover.png", 1024, 1024, kNearWhite, O, 0, -420, 1,
                  "GAME OVER banner in the lower part of the picture",
                  "game-over screen, slides from y -770 down to (0,-420) over the field"));
  t.push_back(tex("t/title.png", 1024, 1024, kNearWhite, C, 0, -14, 1,
                  "TERVO logo over the corridor, ship and core; space for the menu",
                  "title screen, drawn at (0,-14)"));
  t.push_back(tex("t/staff.png", 1024, 1024, kNearWhite, C, 0, 0, 1,
                  "staff roll crediting the TERVO project", "staff roll after the clear, at (0,0)"));
  t.push_back(tex("t/story.png", 1024, 1024, kNearWhite, C, 0, 0, 1,
                  "starfield behind the story pictures", "story sequence background, at (0,0)"));
  t.push_back(tex("t/story1.png", 1024, 1024, kBlack, C, -60, 0, 1,
                  "the relay station TERVO in orbit, gone dark", "story, slides in from x 800 to rest at (-60,0)"));
  t.push_back(tex("t/story2.png", 1024, 1024, kBlack, C, -60, 0, 1,
                  "drones pouring out of the colony tunnels", "story, slides in from x 800 to rest at (-60,0)"));
  t.push_back(tex("t/story3.png", 1024, 1024, kBlack, C, -60, 0, 1,
                  "the last interceptor in its hangar", "story, slides in from x 1024 to rest at (-60,0)"));
  t.push_back(tex("t/story4.png", 1024, 1024, kBlack, C, -60, 0, 1,
                  "the interceptor diving down the corridor towards the core",
                  "story, slides in from x 1024 to rest at (-60,0)"));
  const char* captionWhere = "story caption box, drawn at (160,450)";
  t.push_back(tex("t/moji1.png", 512, 64, kBlack, O, 350, 270, 1,
                  "caption: the date line", "story opening caption, drawn at (350,270)"));
  t.push_back(tex("t/moji2.png", 1024, 128, kBlack, O, 160, 450, 1, "caption 2: the relay went silent", captionWhere));
  t.push_back(tex("t/moji3.png", 1024, 128, kBlack, O, 160, 450, 1, "caption 3: then it woke", captionWhere));
  t.push_back(tex("t/moji4.png", 1024, 128, kBlack, O, 160, 450, 1, "caption 4: the drones came", captionWhere));
  t.push_back(tex("t/moji5.png", 1024, 128, kBlack, O, 160, 450, 1, "caption 5: one interceptor left", captionWhere));
  t.push_back(tex("t/moji6.png", 1024, 128, kBlack, O, 160, 450, 1, "caption 6: fly in, shut it down", captionWhere));
  t.push_back(tex("t/easy.png", 256, 64, kBlack, O, 500, 370, 1, "menu entry EASY", "title menu, first row at (500,370)"));
  t.push_back(tex("t/hard.png", 256, 64, kBlack, O, 500, 470, 1, "menu entry HARD", "title menu, third row at (500,470)"));
  t.push_back(tex("t/easy2.png", 256, 64, kBlack, O, 500, 370, 1, "menu entry EASY, highlighted", "title menu, first row at (500,370)"));
  t.push_back(tex("t/hard2.png", 256, 64, kBlack, O, 500, 470, 1, "menu entry HARD, highlighted", "title menu, third row at (500,470)"));
  t.push_back(tex("t/easy3.png", 512, 64, kBlack, O, 300, 520, 1, "one-line description of EASY", "title menu description at (300,520)"));
  t.push_back(tex("t/hard3.png", 512, 64, kBlack, O, 440, 520, 1, "one-line description of HARD", "title menu description at (440,520)"));
  t.push_back(tex("t/normal.png", 256, 64, kBlack, O, 496, 420, 1, "menu entry NORMAL", "title menu, second row at (496,420)"));
  t.push_back(tex("t/normal2.png", 256, 64, kBlack, O, 500, 420, 1, "menu entry NORMAL, highlighted", "title menu, second row at (500,420)"));
  t.push_back(tex("t/normal3.png", 512, 64, kBlack, O, 300, 520, 1, "one-line description of NORMAL", "title menu description at (300,520)"));

  // Field of play.
  const char* corridor = "scrolling corridor, one tile over the 20 x 100 quad, wraps along v";
  t.push_back(tex("t/back1.png", 512, 1024, kBlack, Q, 0, 0, 1, "corridor floor plates with guide lights", corridor));
  t.push_back(tex("t/back2.png", 512, 1024, kBlack, Q, 0, 0, 1, "right wall panels", corridor));
  t.push_back(tex("t/back3.png", 512, 1024, kBlack, Q, 0, 0, 1, "left wall panels", corridor));
  t.push_back(tex("t/back4.png", 512, 1024, kBlack, Q, 0, 0, 1, "ceiling with light strips", corridor));
  t.push_back(soft(cells(tex("t/effect.png", 512, 512, kBlack, Q, 0, 0, 1,
                             "orange fireball, 16 frames blooming and fading",
                             "explosion billboard where a shot hits or the ship is hit"), 4, 4)));
  t.push_back(soft(cells(tex("t/effect2.png", 512, 512, kBlack, Q, 0, 0, 1,
                             "blue-white plasma burst, 16 frames",
                             "explosion billboard where the missile hits or ends"), 4, 4)));
  t.push_back(soft(tex("t/warp.png", 128, 128, kBlack, Q, 0, 0, 1, "violet warp ring",
                       "flash left behind by the warping enemy, 2 x 2 quad")));
  t.push_back(soft(tex("t/bakuha.png", 64, 64, kBlack, Q, 0, 0, 1, "blue engine glow",
                       "exhaust quad behind the player ship, additive")));
  t.push_back(soft(cells(tex("t/text.png", 256, 256, kBlack, S, 0, 0, 1, "glyph sheet: digits 0-7, 8-9, letters",
                        "frame-rate readout glyph quads"), 8, 8)));
  t.push_back(tex("t/missile.png", 64, 64, kWhite, O, 400, 490, 0.7f, "missile stock icon",
                  "HUD, icons at (200 + 50 i, 490) at 70 %"));
  const char* gauge = "HP gauge, drawn at (60,440) at 80 %";
  t.push_back(tex("t/hp1.png", 256, 128, kWhite, O, 60, 440, 0.8f, "shield gauge, three cells", gauge));
  t.push_back(tex("t/hp2.png", 256, 128, kWhite, O, 60, 440, 0.8f, "shield gauge, two cells", gauge));
  t.push_back(tex("t/hp3.png", 256, 128, kWhite, O, 60, 440, 0.8f, "shield gauge, one cell, warning", gauge));
  t.push_back(tex("t/hp4.png", 256, 128, kWhite, O, 60, 440, 0.8f, "shield gauge, empty, destroyed", gauge));
  t.push_back(tex("t/hp1-2.png", 256, 128, kWhite, O, 60, 440, 0.8f, "two cells with the lost cell flashing", gauge));
  t.push_back(tex("t/hp2-2.png", 256, 128, kWhite, O, 60, 440, 0.8f, "one cell with the lost cells flashing", gauge));
  t.push_back(soft(tex("t/sight1.png", 128, 128, kBlack, Q, 0, 0, 1, "green reticle",
                       "lock-on sight quad ahead of the ship")));
  t.push_back(soft(tex("t/sight2.png", 128, 128, kBlack, Q, 0, 0, 1, "red locked reticle",
                       "lock-on sight quad while an enemy is in line")));
  t.push_back(tex("t/radar.png", 128, 128, kBlack, O, 600, 440, 0.8f,
                  "radar scope, the ship's mark where a blip at (650,493) lands",
                  "radar panel at (600,440) at 80 %"));
  t.push_back(tex("t/enemy.png", 8, 8, kBlack, O, 650, 493, 1, "far blip (green)", "radar blip, z 60 to 150"));
  t.push_back(tex("t/enemy2.png", 8, 8, kBlack, O, 650, 493, 1, "middle blip (yellow)", "radar blip, z 20 to 60"));
  t.push_back(tex("t/enemy3.png", 8, 8, kBlack, O, 650, 493, 1, "near blip (red)", "radar blip, z below 20"));
  t.push_back(cells(tex("t/score.png", 256, 64, kWhite, S, 500, 20, 1, "score digits 0-9, 32 x 32 cells",
                        "score board, digits at (500 + 37 i, 20)"), 8, 2));
  t.push_back(tex("t/waku.png", 512, 64, kWhite, O, 500, 20, 1, "score frame behind the seven digits",
                  "score board frame at (500,20)"));
  t.push_back(tex("t/hitwaku.png", 256, 64, kWhite, O, 628, 80, 1, "hit counter frame",
                  "hit counter frame at (628,80)"));
  t.push_back(tex("t/hit.png", 128, 64, kWhite, O, 692, 80, 1, "HITS label", "hit counter label at (692,80)"));
  t.push_back(cells(tex("t/hitscore.png", 256, 64, kWhite, S, 628, 95, 1, "hit counter digits 0-9, 32 x 32 cells",
                        "hit counter digits at (628,95) and (658,95)"), 8, 2));
  t.push_back(tex("t/max.png", 256, 64, kWhite, O, 628, 80, 1, "MAX x50 badge", "replaces the hit counter at (628,80)"));

  // Meshes.
  const char* letter = "stage clear, spinning letter";
  t.push_back(mesh("x/C.x", 0.45f, 0.6f, 0.15f, 2, "extruded letter C", letter));
  t.push_back(mesh("x/L.x", 0.45f, 0.6f, 0.15f, 2, "extruded letter L", letter));
  t.push_back(mesh("x/E.x", 0.45f, 0.6f, 0.15f, 2, "extruded letter E", letter));
  t.push_back(mesh("x/A.x", 0.45f, 0.6f, 0.15f, 2, "extruded letter A", letter));
  t.push_back(mesh("x/R.x", 0.45f, 0.6f, 0.15f, 2, "extruded letter R", letter));
  t.push_back(mesh("x/!.x", 0.2f, 0.6f, 0.15f, 2, "extruded exclamation mark", "stage clear (loaded, never shown)"));
  t.push_back(mesh("x/boss.x", 3, 3, 5, 4, "final boss: armoured core ship with twin cannons", "first boss, hit box (3,3,5)"));
  t.push_back(mesh("x/boss2.x", 3, 3, 5, 4, "ring carrier with a glowing eye", "second boss, hit box (3,3,5)"));
  t.push_back(mesh("x/beam3.x", 1, 1, 1, 2, "cyan plasma bolt",
                   "player shots (box 1,1,1) and the ring carrier's spiral beams (box 2,1,2)"));
  t.push_back(mesh("x/bossbeam1.x", 2, 1, 2, 2, "orange fan beam", "final boss volleys, box (2,1,2)"));
  t.push_back(mesh("x/bossbeam3.x", 2, 1, 2, 2, "red needle beam", "final boss late volleys, box (2,1,2)"));
  t.push_back(mesh("x/beam4.x", 2, 1, 2, 2, "magenta energy bolt", "enemy shots, box (2,1,2)"));
  t.push_back(mesh("x/tama2.x", 2, 1, 2, 2, "green plasma orb", "second enemy shot look (loaded), box (2,1,2)"));
  t.push_back(mesh("x/mychar.x", 0.5f, 0.5f, 0.5f, 4, "player interceptor", "player ship, box (0.5,0.5,0.5)"));
  t.push_back(mesh("x/missile.x", 1, 1, 1, 3, "homing missile", "player missile, box (1,1,1)"));
  t.push_back(mesh("x/teki04.x", 1, 1, 2, 3, "dart fighter (red)", "dodging and warping enemies, box (1,1,2)"));
  t.push_back(mesh("x/teki3.x", 1, 1, 2, 3, "ring drone (green)", "ring and lissajous formations, box (1,1,2)"));
  t.push_back(mesh("x/teki06.x", 1.5f, 1.5f, 2, 3, "crab walker (orange)",
                   "bounce and weave groups (box 1,1,2) and the rose swarm (box 2,2,2)"));
  t.push_back(mesh("x/teki08.x", 1, 1, 2, 3, "hunter spike (purple)", "homing group, box (1,1,2)"));
  t.push_back(mesh("x/teki09.x", 1, 1, 2, 3, "cross wing (yellow)", "crossing group, box (1,1,2)"));
  t.push_back(mesh("x/teki4.x", 1, 1, 2, 3, "patrol saucer (teal)", "border patrol, box (1,1,2)"));
  t.push_back(mesh("x/teki03.x", 2, 2, 2, 3, "heavy block gunship (grey-blue)", "line and arch groups, box (2,2,2)"));

  // Sound effects.
  t.push_back(wav("w/bokaan.wav", 22050, 16, 2, 1.6f, "explosion", "enemy destroyed, ship hit"));
  t.push_back(wav("w/radar.wav", 22050, 8, 1, 0.6f, "radar contact ping", "an enemy or boss enters play"));
  t.push_back(wav("w/pishun.wav", 22050, 16, 2, 0.33f, "laser shot", "fire key, every 20 frames"));
  t.push_back(wav("w/missile.wav", 22050, 16, 2, 1.2f, "missile launch whoosh", "missile launch"));
  t.push_back(wav("w/silen.wav", 22050, 16, 1, 2.5f, "warning siren", "one hit point left"));
  t.push_back(wav("w/kin.wav", 22050, 8, 1, 1.0f, "metal ping", "screen bank (loaded, not played)"));
  t.push_back(wav("w/camera.wav", 22050, 16, 1, 0.8f, "picture slide whoosh and click", "story, each new picture"));
  t.push_back(wav("w/sam1.wav", 22050, 16, 1, 2.2f, "spoken: the date line", "story, at 1.5 s"));
  t.push_back(wav("w/sam2.wav", 22050, 16, 1, 8.8f, "spoken: caption 2", "story, at 3.8 s"));
  t.push_back(wav("w/sam3.wav", 22050, 16, 1, 1.9f, "spoken: caption 3", "story, at 13 s"));
  t.push_back(wav("w/sam4.wav", 22050, 16, 1, 8.5f, "spoken: caption 4", "story, at 15 s"));
  t.push_back(wav("w/sam5.wav", 22050, 16, 1, 8.8f, "spoken: caption 5", "story, at 24 s"));
  t.push_back(wav("w/sam6.wav", 22050, 16, 1, 6.4f, "spoken: caption 6", "story, at 33.5 s"));
  t.push_back(wav("w/ok.wav", 44100, 16, 2, 1.0f, "menu confirm chime", "game started from the title"));
  t.push_back(wav("w/over.wav", 44100, 16, 2, 4.0f, "game-over jingle", "game over"));
  t.push_back(wav("w/boss.wav", 22050, 16, 1, 1.5f, "heavy cannon volley", "final boss fires a volley"));
  t.push_back(wav("w/boss2.wav", 22050, 16, 2, 2.0f, "ring beam sweep", "ring carrier fires a ring"));

  // Music.
  t.push_back(ogg("o/title.ogg", 55, 65, "title theme: heroic, mid tempo", "title screen"));
  t.push_back(ogg("o/story.ogg", 45, 50, "story theme: slow and uneasy", "story, from 3.8 s"));
  t.push_back(ogg("o/game.ogg", 170, 190, "stage theme: driving", "play until the second boss falls"));
  t.push_back(ogg("o/boss.ogg", 110, 130, "boss theme: fast and dark", "final boss fight"));

  // The pause caption, centred over the dimmed picture (read by the platform
  // layer with the black key while the game is paused).
  t.push_back(soft(tex("t/paused.png", 512, 128, kBlack, O, 144, 236, 1, "PAUSED panel with how to resume",
                       "pause screen, centred over the dimmed picture")));

  // The window's icon.
  AssetEntry icon = soft(tex("t/icon.png", 64, 64, 0, Q, 0, 0, 1, "TERVO emblem", "program window icon"));
  icon.kind = Kind::Icon;
  t.push_back(icon);
  return t;
}

}  // namespace

const std::vector<AssetEntry>& manifest() {
  static const std::vector<AssetEntry> table = buildTable();
  return table;
}

const AssetEntry* findAsset(const std::string& path) {
  std::string p = path;
  for (char& c : p)
    if (c == '\\') c = '/';
  for (const AssetEntry& e : manifest())
    if (e.path == p) return &e;
  return nullptr;
}

int gameFileCount() { return int(manifest().size()); }

}  // namespace assetgen
