// The four music tracks: title (heroic, D minor), story (slow and uneasy,
// A minor), stage (driving, E minor) and boss (fast and dark, C minor).
// None of them loops in the game, so each is composed to its full length
// with an intro, sections and an ending.
#include "audio/score.h"
#include "gen/audio.h"
#include "gen/pack.h"

namespace assetgen {
namespace {

using C = std::vector<Chord>;

void repeatDrums(Score& s, int from, int to, const std::string& k, const std::string& sn, const std::string& h,
                 float vel) {
  for (int b = from; b < to; ++b) s.drumBar(b, k, sn, h, vel);
}

std::vector<uint8_t> titleTrack() {
  Score s(112, 28, 2.0f);
  Key key = minorKey(62);  // D
  C a = {{0, 'm'}, {5, 'M'}, {2, 'M'}, {6, 'M'}};
  C b = {{3, 'm'}, {0, 'm'}, {5, 'M'}, {6, 'M'}, {3, 'm'}, {0, 'm'}, {6, 'M'}, {6, 'M'}};
  const std::string melA =
      "4 - - 3 4 - 7 - | 6 - 5 - 4 - 2 - | 2 - 4 - 7 - 6 5 | 6 - - - 4 - - . |"
      "4 - - 3 4 - 7 - | 8 - 7 6 5 - 4 - | 2 - 4 - 7 8 9 - | 8 - - - - - . .";
  const std::string melB =
      "7 - 6 - 5 - 3 - | 4 - - - 2 3 4 - | 5 - 7 - 9 - 8 7 | 8 - - - 6 - - . |"
      "7 - 6 - 5 - 3 - | 4 - 7 - 9 - 8 - | 8 - 7 - 6 - 8 - | 9 - - - - - - .";
  for (int bar = 0; bar < 28; bar += 4) {
    if (bar >= 12 && bar < 20) continue;
    C part(a.begin(), a.begin() + (bar == 24 ? 3 : 4));  // bar 27 is the ending
    s.pads(Voice::Pad, key, bar, part, -1, 0.8f);
    s.arpeggio(Voice::Pluck, key, bar, part, 0, bar < 4 ? 0.6f : 0.8f);
    if (bar >= 4) s.bassLine(Voice::Bass, key, bar, part, "x.x.x.xox.x.x.xo", -2, 0.8f);
  }
  s.pads(Voice::Pad, key, 12, b, -1, 0.8f);
  s.arpeggio(Voice::Pluck, key, 12, b, 0, 0.8f);
  s.bassLine(Voice::Bass, key, 12, b, "x.x.x.xox.x.x.xo", -2, 0.85f);
  s.melody(Voice::Brass, key, 4 * 4, melA, 0, 0.8f, 0.45f);
  s.melody(Voice::Lead, key, 12 * 4, melB, 0, 0.85f, 0.5f);
  // The last pass lands on the tonic instead of leading back.
  const std::string melEnd = melA.substr(0, melA.rfind('|')) + "| 7 - - - - - - -";
  s.melody(Voice::Lead, key, 20 * 4, melEnd, 1, 0.8f, 0.55f);
  s.melody(Voice::Brass, key, 20 * 4, melEnd, 0, 0.6f, 0.4f);
  repeatDrums(s, 2, 4, "x.......x.......", "................", "x.x.x.x.x.x.x.x.", 0.7f);
  repeatDrums(s, 4, 20, "x.....x.x.......", "....x.......x...", "x.x.x.x.x.x.x.xo", 0.8f);
  repeatDrums(s, 20, 27, "x.....x.x.x.....", "....x.......x..x", "xxxxxxxxxxxxxxxo", 0.85f);
  for (int b : {4, 12, 20}) s.drum(Drum::Crash, b * 4.0f, 0.8f);
  s.pads(Voice::Pad, key, 27, {{0, 'm'}}, -1, 0.9f);
  s.note(Voice::Bass, 27 * 4.0f, 4, float(key.midi(0) - 24), 0.9f, 0.5f);
  s.drum(Drum::Crash, 27 * 4.0f, 0.9f);
  s.drum(Drum::Kick, 27 * 4.0f, 0.9f);
  return encodeOgg(s.master(2.5f), Score::kRate, 2, 0.3f);
}

std::vector<uint8_t> storyTrack() {
  Score s(76, 15, 1.5f);
  Key key = minorKey(57);  // A
  C prog = {{0, 'm'}, {5, 'M'}, {3, 'm'}, {4, 'M'}};
  const std::string mel =
      "4 - - - 2 - 3 - | 2 - - - 0 - - - | 3 - 5 - 4 - 3 - | 4 - - - 1 - - - |"
      "7 - - - 6 - 4 - | 5 - - - 4 - 2 - | 3 - 2 - 3 - 5 - | 4 - - - - - . . |"
      "4 - 7 - 6 - 4 - | 5 - 4 - 2 - 0 - | 3 - - - 5 - 4 - | 1 - - - - - - -";
  for (int bar = 0; bar < 14; bar += 4) {
    C part(prog.begin(), prog.begin() + std::min<size_t>(4, 14 - bar));
    s.pads(Voice::Pad, key, bar, part, -1, 0.9f);
    if (bar >= 2) s.bassLine(Voice::Bass, key, bar, part, "x-------f-------", -2, 0.6f);
    if (bar >= 4) s.arpeggio(Voice::Pluck, key, bar, part, -1, 0.35f);
  }
  s.melody(Voice::Bell, key, 2 * 4, mel, 0, 0.7f, 0.55f);
  s.melody(Voice::Bell, key, 2 * 4 + 0.75f, mel, 1, 0.25f, 0.3f);  // a soft echo an octave up
  repeatDrums(s, 2, 6, "x.......x.......", "............r...", "................", 0.45f);
  repeatDrums(s, 6, 14, "x.......x.....x.", "............r...", "..x...x...x...x.", 0.5f);
  s.pads(Voice::Pad, key, 14, {{0, 'm'}}, -1, 0.9f);
  s.note(Voice::Bell, 14 * 4.0f, 4, float(key.midi(0)), 0.7f, 0.5f);
  s.note(Voice::Bass, 14 * 4.0f, 4, float(key.midi(0) - 24), 0.6f, 0.5f);
  s.drum(Drum::Tom, 14 * 4.0f, 0.5f);
  return encodeOgg(s.master(3.0f), Score::kRate, 2, 0.3f);
}

std::vector<uint8_t> gameTrack() {
  Score s(140, 105, 1.5f);
  Key key = minorKey(64);  // E
  C a = {{0, 'm'}, {5, 'M'}, {6, 'M'}, {4, 'm'}};
  C b = {{3, 'm'}, {0, 'm'}, {5, 'M'}, {6, 'M'}};
  C c = {{5, 'M'}, {6, 'M'}, {0, 'm'}, {0, 'm'}};
  const std::string melA =
      "7 - 6 - 4 - 6 - | 5 - - 4 2 - 4 - | 6 - 5 - 6 - 8 - | 4 - - - - - 2 3 |"
      "4 - 7 - 6 - 4 - | 5 - 4 - 2 - 0 - | 1 - 3 - 6 - 5 - | 4 - - - - - . .";
  const std::string melB =
      "3 - 5 - 7 - 8 - | 7 - - - 4 - - - | 5 - 7 - 9 - 8 - | 8 - - - 6 - - - |"
      "3 - 5 - 7 - 10 - | 9 - - 8 7 - - - | 5 - 7 - 9 - 10 - | 8 - - - - - - .";
  const std::string melC = "0 . 2 . 4 . 7 . | 6 . 4 . 1 . 6, . | 7 . 4 . 2 . 4 . | 7 - - - - - - - ";
  auto section = [&](int bar, const C& prog, int bars) {
    for (int i = 0; i < bars; i += 4) {
      s.pads(Voice::Pad, key, bar + i, prog, -1, 0.7f);
      s.arpeggio(Voice::Pluck, key, bar + i, prog, 0, 0.7f);
      s.bassLine(Voice::Bass, key, bar + i, prog, "xoxoxoxoxoxoxoxo", -2, 0.8f);
    }
  };
  // Intro: arpeggio and bass over a kick.
  s.arpeggio(Voice::Pluck, key, 0, a, 0, 0.6f);
  s.bassLine(Voice::Bass, key, 0, a, "x.x.x.x.x.x.x.x.", -2, 0.7f);
  repeatDrums(s, 2, 4, "x...x...x...x...", "................", "..x...x...x...x.", 0.7f);
  const std::string kick = "x...x...x...x...", snare = "....x.......x...", hats = "..x...x...x...xo";
  const std::string hats16 = "xxxxXxxxxxxxXxxo";
  int bar = 4;
  for (int pass = 0; pass < 3; ++pass) {
    section(bar, a, 16);
    s.melody(pass == 1 ? Voice::Lead : Voice::Brass, key, bar * 4.0f, melA + "|" + melA, pass == 2 ? 1 : 0, 0.8f, 0.5f);
    if (pass == 2) s.melody(Voice::Brass, key, bar * 4.0f, melA + "|" + melA, 0, 0.55f, 0.35f);
    repeatDrums(s, bar, bar + 16, kick, snare, pass == 0 ? hats : hats16, 0.8f);
    s.drum(Drum::Crash, bar * 4.0f, 0.8f);
    bar += 16;
    if (pass == 2) break;
    section(bar, b, 16);
    s.melody(Voice::Lead, key, bar * 4.0f, melB + "|" + melB, 0, 0.85f, 0.55f);
    repeatDrums(s, bar, bar + 16, "x...x...x...x.x.", "....x.......x..x", hats16, 0.85f);
    s.drum(Drum::Crash, bar * 4.0f, 0.8f);
    bar += 16;
    // Breakdown, then a bridge that climbs back in.
    for (int i = 0; i < 8; i += 4) {
      s.pads(Voice::Pad, key, bar + i, c, -1, 0.8f);
      s.bassLine(Voice::Bass, key, bar + i, c, "x-------x-------", -2, 0.7f);
      s.melody(Voice::Bell, key, (bar + i) * 4.0f, melC, pass, 0.7f, 0.6f);
      if (pass == 1) s.arpeggio(Voice::Pluck, key, bar + i, c, 0, 0.5f);
    }
    repeatDrums(s, bar, bar + 6, pass ? "x.......x.......": "................", "............r...", "..x...x...x...x.", 0.6f);
    repeatDrums(s, bar + 6, bar + 8, "x...x...x...x...", "....x...x...xxxx", "xxxxxxxxxxxxxxxx", 0.75f);
    bar += 8;
  }
  // Ending on the tonic (bars 100-104).
  s.pads(Voice::Pad, key, bar, {{0, 'm'}, {5, 'M'}, {6, 'M'}, {0, 'm'}, {0, 'm'}}, -1, 0.8f);
  s.bassLine(Voice::Bass, key, bar, {{0, 'm'}, {5, 'M'}, {6, 'M'}}, "xoxoxoxoxoxoxoxo", -2, 0.8f);
  s.melody(Voice::Brass, key, bar * 4.0f, "4 - 6 - 7 - - - | 5 - - - 4 - 2 - | 6 - - - 8 - - - | 7 - - - - - - - | 7 - - - - - - -", 0, 0.8f, 0.5f);
  repeatDrums(s, bar, bar + 3, kick, snare, hats16, 0.8f);
  s.drum(Drum::Crash, (bar + 3) * 4.0f, 0.9f);
  s.drum(Drum::Kick, (bar + 3) * 4.0f, 0.9f);
  s.note(Voice::Bass, (bar + 3) * 4.0f, 6, float(key.midi(0) - 24), 0.8f, 0.5f);
  return encodeOgg(s.master(3.0f), Score::kRate, 2, 0.3f);
}

std::vector<uint8_t> bossTrack() {
  Score s(160, 80, 1.5f);
  Key key = minorKey(60);  // C
  C a = {{0, 'm'}, {5, 'M'}, {6, 'M'}, {4, 'M'}};
  C b = {{3, 'm'}, {0, 'm'}, {5, 'M'}, {4, 'M'}};
  const std::string melA =
      "7 - 6 5 4 - 2 - | 5 - 4 2 0 - 2 - | 6 - 5 4 3 - 1 - | 4 - 6# - 8 - 6# - |"
      "7 - 9 - 8 7 6 - | 5 - 7 - 9 - 10 - | 9 - 8 7 6 - 8 - | 11 - - - - - . .";
  const std::string melB =
      "3 - 5 - 7 - 8 - | 9 - - 8 7 - 4 - | 5 - 7 - 9 - 10 - | 11 - 10 - 9 - 8 - |"
      "10 - 9 - 10 - 12 - | 11 - - - 9 - 7 - | 7 - 9 - 12 - 11 - | 11 - - - - - - .";
  auto section = [&](int bar, const C& prog) {
    for (int i = 0; i < 16; i += 4) {
      s.pads(Voice::Pad, key, bar + i, prog, -1, 0.7f);
      s.bassLine(Voice::DriveBass, key, bar + i, prog, "xxoxxxoxxxoxxxox", -2, 0.85f);
      s.arpeggio(Voice::Pluck, key, bar + i, prog, 1, 0.5f);
    }
  };
  // Intro: driving bass and toms.
  s.bassLine(Voice::DriveBass, key, 0, a, "xxoxxxoxxxoxxxox", -2, 0.8f);
  repeatDrums(s, 0, 4, "x...x...x...x...", "..t...t...t..ttt", "x.x.x.x.x.x.x.x.", 0.75f);
  const std::string kick = "x.x.x...x.x.x...", snare = "....x.......x...", hats = "xxXxxxXxxxXxxxXx";
  for (int pass = 0; pass < 2; ++pass) {
    int bar = 4 + pass * 40;
    section(bar, a);
    s.melody(Voice::Lead, key, bar * 4.0f, melA + "|" + melA, 0, 0.85f, 0.5f);
    if (pass == 1) s.melody(Voice::Brass, key, bar * 4.0f, melA + "|" + melA, -1, 0.6f, 0.35f);
    repeatDrums(s, bar, bar + 16, kick, snare, hats, 0.85f);
    s.drum(Drum::Crash, bar * 4.0f, 0.85f);
    section(bar + 16, b);
    s.melody(Voice::Brass, key, (bar + 16) * 4.0f, melB + "|" + melB, 0, 0.85f, 0.5f);
    s.melody(Voice::Lead, key, (bar + 16) * 4.0f, melB + "|" + melB, 1, 0.5f, 0.65f);
    repeatDrums(s, bar + 16, bar + 32, "x.x.x.x.x.x.x.x.", "....x.......x..x", hats, 0.9f);
    s.drum(Drum::Crash, (bar + 16) * 4.0f, 0.85f);
    if (pass == 0) {
      // Breakdown, bars 36-43: pads, toms and a rising arpeggio.
      C d = {{5, 'M'}, {6, 'M'}, {0, 'm'}, {4, 'M'}};
      for (int i = 0; i < 8; i += 4) {
        s.pads(Voice::Pad, key, 36 + i, d, -1, 0.9f);
        s.arpeggio(Voice::Pluck, key, 36 + i, d, i ? 1 : 0, 0.7f);
        s.bassLine(Voice::DriveBass, key, 36 + i, d, "x.......x.......", -2, 0.8f);
      }
      repeatDrums(s, 36, 42, "x.......x.......", "......t.....t.t.", "x...x...x...x...", 0.7f);
      repeatDrums(s, 42, 44, "x.x.x.x.x.x.x.x.", "t.t.t.t.ttttxxxx", "xxxxxxxxxxxxxxxx", 0.8f);
    }
  }
  // Ending, bars 76-79.
  s.pads(Voice::Pad, key, 76, {{5, 'M'}, {4, 'M'}, {0, 'm'}, {0, 'm'}}, -1, 0.9f);
  s.bassLine(Voice::DriveBass, key, 76, {{5, 'M'}, {4, 'M'}}, "xxoxxxoxxxoxxxox", -2, 0.85f);
  s.melody(Voice::Lead, key, 76 * 4.0f, "12 - 11 - 10 - 9 - | 8 - 6# - 8 - 11 - | 7 - - - - - - - | 7 - - - - - - -", 0, 0.85f, 0.5f);
  repeatDrums(s, 76, 78, kick, snare, hats, 0.85f);
  s.drum(Drum::Crash, 78 * 4.0f, 0.9f);
  s.drum(Drum::Kick, 78 * 4.0f, 0.9f);
  s.note(Voice::DriveBass, 78 * 4.0f, 7, float(key.midi(0) - 24), 0.8f, 0.5f);
  return encodeOgg(s.master(3.0f), Score::kRate, 2, 0.3f);
}

}  // namespace

void addMusic(Builders& b) {
  b.files["o/title.ogg"] = titleTrack;
  b.files["o/story.ogg"] = storyTrack;
  b.files["o/game.ogg"] = gameTrack;
  b.files["o/boss.ogg"] = bossTrack;
}

}  // namespace assetgen
