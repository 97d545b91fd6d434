// The audio part of the headless trace: which sound-bank entries were
// played and stopped and which music calls were made since the last frame.
#pragma once

#include <cstddef>
#include <string>

#include "app/json_writer.h"

// Writes the member "audio" ({"played": [{"owner", "entry"}...], "stopped":
// [...], "music": [{"call", "t"}...]}, each in call order) and clears the
// frame's record. The harness calls it after each frame.
void traceAudio(JsonWriter& w);

// Calls are recorded only while a trace is written (the harness switches
// it on); otherwise nobody would ever clear the record.
void setAudioCallRecording(bool on);
// The calls recorded and not yet written.
std::size_t heldAudioCalls();

// Called by SoundBank and MusicPlayer.
void recordSoundCall(const std::string& owner, int entry, bool played);
void recordMusicCall(const char* call, int t);  // t < 0: the call has no track
