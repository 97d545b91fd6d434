// The frame buffer the picture is composed in, and showing it: sized to the
// part of the window the picture fills, resolved, centred with black bars.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "platform/gfx/gfx_config.h"
#include "platform/gfx/gl/gl_backend.h"

namespace platform::gfx {

PictureRect fitPicture(int w, int h) {
    w = std::max(w, 1), h = std::max(h, 1);
    const double scale = std::min(w / 800.0, h / 600.0);
    PictureRect r;
    r.width = std::clamp(int(std::lround(800 * scale)), 1, w);
    r.height = std::clamp(int(std::lround(600 * scale)), 1, h);
    r.x = (w - r.width) / 2;
    r.y = (h - r.height) / 2;
    return r;
}

void GlBackend::destroyTarget() {
    if (fbo_) glDeleteFramebuffers(1, &fbo_);
    if (colorRb_) glDeleteRenderbuffers(1, &colorRb_);
    if (depthRb_) glDeleteRenderbuffers(1, &depthRb_);
    if (resolveFbo_) glDeleteFramebuffers(1, &resolveFbo_);
    if (resolveRb_) glDeleteRenderbuffers(1, &resolveRb_);
    fbo_ = colorRb_ = depthRb_ = resolveFbo_ = resolveRb_ = 0;
}

void GlBackend::fitTarget() {
    int w = 0, h = 0;
    context_->drawableSize(w, h);
    // The first frame is composed single-sampled: on a software rasteriser
    // making (and clearing) the multisampled buffers is a good part of the
    // time to the first picture. They are made once it has been shown.
    // Low quality's scaled copy waits for the second frame too: the first
    // copy of each kind makes llvmpipe compile a shader, and an unscaled
    // one compiles fastest.
    const int samples = shown_ ? samples_ : 0;
    const bool small = lowQuality_ && shown_;
    if (fbo_ && w == windowW_ && h == windowH_ && samples == targetSamples_ && small == smallTarget_) return;
    smallTarget_ = small;
    onScreen_.reset();  // a new window size or target: the next frame is drawn whatever it holds
    windowW_ = w, windowH_ = h;
    const PictureRect fit = small ? PictureRect{} : fitPicture(w, h);
    const int tw = fit.width, th = fit.height;
    if (fbo_ && tw == targetW_ && th == targetH_ && samples == targetSamples_) return;
    destroyTarget();
    if (!makeTarget(tw, th, samples) && samples > 0) {  // no multisampling after all
        samples_ = 0;
        makeTarget(tw, th, 0);
    }
}

bool GlBackend::makeTarget(int tw, int th, int samples) {
    targetW_ = tw, targetH_ = th;
    targetSamples_ = samples;
    glGenRenderbuffers(1, &colorRb_);
    glBindRenderbuffer(GL_RENDERBUFFER, colorRb_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_RGBA8, tw, th);
    glGenRenderbuffers(1, &depthRb_);
    glBindRenderbuffer(GL_RENDERBUFFER, depthRb_);
    glRenderbufferStorageMultisample(GL_RENDERBUFFER, samples, GL_DEPTH_COMPONENT24, tw, th);
    if (samples > 0) {  // the single-sample copy that is shown and read
        glGenRenderbuffers(1, &resolveRb_);
        glBindRenderbuffer(GL_RENDERBUFFER, resolveRb_);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, tw, th);
        glGenFramebuffers(1, &resolveFbo_);
        glBindFramebuffer(GL_FRAMEBUFFER, resolveFbo_);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, resolveRb_);
        if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            destroyTarget();
            return false;
        }
    }
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colorRb_);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depthRb_);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        destroyTarget();
        return false;
    }
    // A new target starts as the clear of a new frame would leave it.
    glClearColor(0, 0, 0, 1);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return true;
}

void GlBackend::clear(DWORD flags, D3DCOLOR color, float z) {
    if (gathering()) frame_.clear(flags, color, z);
    else runClear(flags, color, z);
}

void GlBackend::runGathered() {
    if (frameRun_) return;
    frame_.run(*this);
    frameRun_ = true;
}

void GlBackend::runClear(DWORD flags, D3DCOLOR color, float z) {
    if (!usable() || !fbo_) return;
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glViewport(0, 0, targetW_, targetH_);
    GLbitfield bits = 0;
    if (flags & D3DCLEAR_TARGET) {
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(((color >> 16) & 0xFF) / 255.0f, ((color >> 8) & 0xFF) / 255.0f,
                     (color & 0xFF) / 255.0f, (color >> 24) / 255.0f);
        bits |= GL_COLOR_BUFFER_BIT;
    }
    if (flags & D3DCLEAR_ZBUFFER) {
        glDepthMask(GL_TRUE);
        glClearDepth(z);
        bits |= GL_DEPTH_BUFFER_BIT;
    }
    if (bits) glClear(bits);
}

GLuint GlBackend::resolved() {
    if (targetSamples_ == 0) return fbo_;
    glBindFramebuffer(GL_READ_FRAMEBUFFER, fbo_);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, resolveFbo_);
    glBlitFramebuffer(0, 0, targetW_, targetH_, 0, 0, targetW_, targetH_, GL_COLOR_BUFFER_BIT,
                      GL_NEAREST);
    return resolveFbo_;
}

namespace {

// The window's own frame buffer, all black: the bars around the picture.
void clearWindow(int w, int h) {
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glViewport(0, 0, w, h);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

// Tests make each drawn frame slow on purpose (TERVO_TEST_DRAW_MS, in
// milliseconds), so that frames are skipped on any machine.
void slowPresentForTests() {
    static const int ms = [] {
        const char* v = std::getenv("TERVO_TEST_DRAW_MS");
        return v ? std::atoi(v) : 0;
    }();
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace

bool GlBackend::beginFrame() {
    if (!usable() || context_->offscreen()) return true;
    return pacer_.beginFrame(FramePacer::Clock::now());
}

bool GlBackend::present() {
    if (!usable() || !fbo_) {
        frame_.reset();
        frameRun_ = false;
        return true;
    }
    if (!context_->offscreen()) {
        // The window's size now decides the target the frame is drawn in.
        if (!frameRun_) fitTarget();
        const bool same = frameDrawn() && !frameRun_ && frame_.hasDraws() && frame_ == onScreen_;
        if (frameDrawn() && !same) {
            runGathered();
            // Centre the picture, black bars around it; a low-quality
            // picture is scaled up to fill its place in the same copy.
            const GLuint picture = resolved();
            const PictureRect fit = fitPicture(windowW_, windowH_);
            if (fit.width != windowW_ || fit.height != windowH_) clearWindow(windowW_, windowH_);
            glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
            glBindFramebuffer(GL_READ_FRAMEBUFFER, picture);
            glBlitFramebuffer(0, 0, targetW_, targetH_, fit.x, fit.y, fit.x + fit.width, fit.y + fit.height,
                              GL_COLOR_BUFFER_BIT,
                              fit.width == targetW_ && fit.height == targetH_ ? GL_NEAREST : GL_LINEAR);
            context_->swap();
            frameTimes().shown();
            shown_ = true;
            slowPresentForTests();
            onScreen_.swap(frame_);
        } else if (!frameDrawn() && !frame_.empty()) {
            // Skipped: only its buffer updates are made, and the picture on
            // screen is no longer one a gathered frame can be compared with.
            runGathered();
            onScreen_.reset();
        }
        frame_.reset();
        frameRun_ = false;
        pacer_.wait(frameDrawn() && !same && context_->vsyncAt60());
    }
    // Between frames, the next texture not yet drawn goes up, so play does
    // not start with all of them at once.
    uploadNextPending();
    return true;
}

std::vector<std::uint8_t> GlBackend::readPixels() {
    if (!usable() || !fbo_) return {};
    if (gathering()) runGathered();
    std::vector<std::uint8_t> rows(800u * 600u * 4u);
    GLuint tmpFbo = 0, tmpRb = 0;
    GLuint source = resolved();
    if (targetW_ != 800 || targetH_ != 600) {  // scale down to the game's picture
        glGenRenderbuffers(1, &tmpRb);
        glBindRenderbuffer(GL_RENDERBUFFER, tmpRb);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 800, 600);
        glGenFramebuffers(1, &tmpFbo);
        glBindFramebuffer(GL_DRAW_FRAMEBUFFER, tmpFbo);
        glFramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, tmpRb);
        glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
        glBlitFramebuffer(0, 0, targetW_, targetH_, 0, 0, 800, 600, GL_COLOR_BUFFER_BIT, GL_LINEAR);
        source = tmpFbo;
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, source);
    std::vector<std::uint8_t> flipped(rows.size());
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, flipped.data());
    for (int y = 0; y < 600; ++y)
        std::copy_n(&flipped[std::size_t(599 - y) * 3200], 3200, &rows[std::size_t(y) * 3200]);
    for (std::size_t i = 3; i < rows.size(); i += 4) rows[i] = 255;  // the picture is opaque
    if (tmpFbo) glDeleteFramebuffers(1, &tmpFbo);
    if (tmpRb) glDeleteRenderbuffers(1, &tmpRb);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    return rows;
}

void GlBackend::beginPause(const MipLevel* caption) {
    // Only a window shows it; a picture written off screen is a frame's.
    if (!usable() || !fbo_ || context_->offscreen()) return;
    onScreen_.reset();  // the window will show the paused picture instead
    pause_.begin(resolved(), targetW_, targetH_, caption);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
}

void GlBackend::presentPaused() {
    if (!usable() || !pause_.active()) return;
    int w = 0, h = 0;
    context_->drawableSize(w, h);
    clearWindow(w, h);
    pause_.draw(fitPicture(w, h));
    context_->swap();
    fitTarget();  // the next frame is composed for the window as it is now
}

void GlBackend::endPause() {
    if (usable()) pause_.end();
}

}  // namespace platform::gfx
