// How the program and the harness set up the graphics layer: which backend
// the device gets, which frames are written as PNG pictures, and the calls of
// the current frame for the trace.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/gfx/call_log.h"
#include "platform/gfx/frame_times.h"

namespace platform::gfx {

struct GfxConfig {
    bool headless = false;  // no display: recording backend unless pictures are wanted
    bool window = false;    // --window: a resizable 1024 x 768 window (the SDL backend makes it)
    std::vector<std::pair<std::uint64_t, std::string>> screenshots;  // frame, PNG path
    bool recordCalls = false;  // keep each frame's calls (the trace's display group)
    // A window's picture: automatic takes low on a software renderer. Low
    // composes 800 x 600 without multisampling and scales it up; high
    // composes at the window's size with 4x multisampling.
    enum class Quality { automatic, low, high };
    Quality quality = Quality::automatic;
};

// Called once before the device is created.
void configure(const GfxConfig& config);
const GfxConfig& config();

// Test hooks: make the next device creations fail at the given stages
// (hal+hardware vertex processing, hal+software, reference).
struct CreationFailures {
    bool halHardware = false, halSoftware = false, reference = false;
};
void setCreationFailures(const CreationFailures& failures);
const CreationFailures& creationFailures();

// Make the next `count` presents of the recording backend fail (device lost).
void failPresents(int count);
// Make the next `count` CreateVertexBuffer calls fail (any backend).
void failVertexBuffers(int count);
// Make the next `count` GetViewport calls fail (any backend).
void failViewports(int count);

// The harness says which frame runs next; this starts a new trace frame (the
// recorded calls of the previous one are dropped) and picks the screenshots.
void setCurrentFrame(std::uint64_t frame);
std::uint64_t currentFrame();
// Whether a picture asked for could not be written (the run then fails).
bool screenshotFailed();
void noteScreenshotFailed();

// Whether the frame about to be rendered is drawn: a window's backend says
// no while the loop runs behind its 60 Hz schedule; a frame whose picture is
// to be written is always drawn. Asked once a frame (platform's
// beginFrameDrawing, which keeps the answer in replays); setFrameDrawn
// stores the answer given.
bool frameWanted();
void setFrameDrawn(bool drawn);
bool frameDrawn();

// The window lost what it showed (it was uncovered): the next frame is drawn
// even if it is the same as the one on screen.
void windowPictureLost();

// Whether this frame's picture is needed: with a display, when the frame is
// drawn; headless,
// only on the frames that are written out (the others skip drawing, which
// keeps long headless runs with a few pictures fast).
bool pictureWanted();

// The benchmark's per-frame times (--frame-times): while open, headless runs
// draw every frame with OpenGL off screen and each present writes a line.
FrameTimes& frameTimes();

// The calls recorded since the frame started (empty without a device or with
// recording off).
CallList frameCalls();

}  // namespace platform::gfx
