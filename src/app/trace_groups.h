// The trace's per-owner writers, each in a file of its own beside
// trace_state.cpp, which calls them.
#pragma once

class JsonWriter;

// The "player" group: ship, shots, missile, sight, damage and gauge.
void writePlayer(JsonWriter& w);
// Inside the "world" group: "score" and "radar".
void writeHud(JsonWriter& w);
// Inside the "world" group: "boss", "boss2", "bossBeams", "spiralBeams".
void writeBosses(JsonWriter& w);
