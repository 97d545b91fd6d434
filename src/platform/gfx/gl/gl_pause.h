// PausePicture: what the window shows while the game is paused: a copy of
// the picture last presented, dimmed, with a caption image centred over it,
// both scaled with the picture to the window.
#pragma once

#include <epoxy/gl.h>

#include "platform/gfx/gfx_backend.h"

namespace platform::gfx {

struct PictureRect;

class PausePicture {
public:
    // Copies the w x h picture of the read frame buffer `picture` and takes
    // the caption (may be null). False when its program cannot be built.
    bool begin(GLuint picture, int w, int h, const MipLevel* caption);
    // Draws into the bound frame buffer, the picture at `rect`.
    void draw(const PictureRect& rect);
    // Lets the copies go (the program stays for the next pause).
    void end();
    void destroy();
    bool active() const { return picture_ != 0; }

private:
    void quad(GLuint texture, float x0, float y0, float x1, float y1, float brightness, bool topDown);

    GLuint program_ = 0, vao_ = 0;
    GLint rect_ = -1, brightness_ = -1, topDown_ = -1, sampler_ = -1;
    GLuint picture_ = 0, caption_ = 0;
    int captionW_ = 0, captionH_ = 0;
};

}  // namespace platform::gfx
