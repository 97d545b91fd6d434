// Score: a small sequencer for the music. Notes and drum hits are rendered
// straight into a stereo mix with a reverb send; `master` levels the track
// to the pack's common loudness and keeps it clear of clipping.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

enum class Voice { Lead, Brass, Pad, Bass, DriveBass, Pluck, Bell };
enum class Drum { Kick, Snare, Rim, HatClosed, HatOpen, Crash, Tom };

// A key: root note (MIDI) and a seven-note scale; degrees past 6 climb octaves.
struct Key {
  int root;
  std::vector<int> steps;
  int midi(int degree) const;
};
Key minorKey(int root);

// Chord on a scale degree: 'm' minor, 'M' major, 'd' diminished triad.
struct Chord {
  int degree;
  char quality;
};

class Score {
 public:
  Score(float bpm, int bars, float tailSeconds);

  float beatsPerBar() const { return 4; }
  int bars() const { return bars_; }

  void note(Voice v, float beat, float beats, float midi, float velocity, float pan);
  void drum(Drum d, float beat, float velocity, float pan = 0.5f);

  // Melody tokens, one per `step` beats: scale degree digits (several digits
  // allowed, e.g. 10), then ' (octave up), , (octave down), # or b; "-" holds
  // the previous note, "." is a rest.
  void melody(Voice v, const Key& k, float beat, const std::string& tokens, int octave, float velocity,
              float pan, float step = 0.5f);
  // Held chords, one per bar starting at `bar`.
  void pads(Voice v, const Key& k, int bar, const std::vector<Chord>& chords, int octave, float velocity);
  // Bass line: the chord root on each step of the bar's pattern ('x' root,
  // 'o' root an octave up, 'f' the fifth, '.' rest), 16 steps per bar.
  void bassLine(Voice v, const Key& k, int bar, const std::vector<Chord>& chords, const std::string& pattern,
                int octave, float velocity);
  // Arpeggio through chord tones in 16ths.
  void arpeggio(Voice v, const Key& k, int bar, const std::vector<Chord>& chords, int octave, float velocity);
  // One bar of drums from 16-step patterns per drum ('x' hit, 'X' accent).
  void drumBar(int bar, const std::string& kick, const std::string& snare, const std::string& hats,
               float velocity);

  // Mixes, levels and fades; returns interleaved stereo at 44.1 kHz.
  std::vector<float> master(float fadeOutSeconds);

  static constexpr int kRate = 44100;

 private:
  std::vector<int> chordNotes(const Key& k, Chord c, int octave) const;
  float seconds(float beat) const { return beat * 60.0f / bpm_; }
  void render(float startSec, int lengthSamples, float pan, float send, const std::vector<float>& mono);

  float bpm_;
  int bars_;
  std::vector<float> l_, r_, sendL_, sendR_;
};

}  // namespace assetgen
