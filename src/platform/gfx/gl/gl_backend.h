// GlBackend: draws the device's calls with OpenGL 3.3 core. At high quality
// the game's 800 x 600 picture is composed in a frame buffer sized to the
// part of the window it will fill (so the 3D field is rendered at the output
// resolution), with 4x multisampling from the second frame on; at low
// quality (the choice on a software renderer) it is composed at 800 x 600,
// single-sampled, and scaled up. Either is shown centred with black bars. A
// window's frames keep to the 60 Hz schedule of a FramePacer, which skips
// drawing frames while the loop runs behind, and each is gathered in a
// FrameList and drawn at its present only if it differs from the frame on
// screen, so a still screen costs nothing to show again. Off screen every
// call draws at once, and the picture is exactly 800 x 600, single-sampled.
#pragma once

#include <epoxy/gl.h>

#include <deque>
#include <map>
#include <memory>
#include <vector>
#include <string>

#include "platform/gfx/frame_pacer.h"
#include "platform/gfx/gfx_backend.h"
#include "platform/gfx/gl/frame_list.h"
#include "platform/gfx/gl/gl_context.h"
#include "platform/gfx/gl/gl_pause.h"
#include "platform/gfx/gl/gl_shaders.h"
#include "platform/gfx/gl/texture_decoder.h"

namespace platform::gfx {

// Where the 800 x 600 picture goes in a window of w x h pixels: the largest
// 4:3 rectangle that fits, centred (GL window coordinates, origin bottom left).
struct PictureRect {
    int x = 0, y = 0, width = 800, height = 600;
};
PictureRect fitPicture(int windowWidth, int windowHeight);

class GlBackend final : public GfxBackend, private FrameList::Target {
public:
    static std::unique_ptr<GfxBackend> create(GlDeviceKind kind, std::string& error);
    ~GlBackend() override;

    const char* name() const override { return "gl"; }
    std::uint32_t createTexture(TextureSource source) override;
    void releaseTexture(std::uint32_t handle) override;
    std::uint32_t createBuffer(std::size_t bytes) override;
    void updateBuffer(std::uint32_t handle, std::size_t offset, const void* data,
                      std::size_t bytes) override;
    void releaseBuffer(std::uint32_t handle) override;
    bool beginFrame() override;
    void clear(DWORD flags, D3DCOLOR color, float z) override;
    void draw(const PipelineState& state, const DrawCall& call) override;
    bool present() override;
    bool reset() override { return true; }
    std::vector<std::uint8_t> readPixels() override;
    void beginPause(const MipLevel* caption) override;
    void presentPaused() override;
    void endPause() override;
    void pictureLost() override { onScreen_.reset(); }
    void finish() override {
        if (usable()) glFinish();
    }

    const std::string& renderer() const { return context_->renderer(); }
    // Size of the frame buffer the picture is composed in.
    int targetWidth() const { return targetW_; }
    int targetHeight() const { return targetH_; }

private:
    GlBackend() = default;
    // The calls themselves, run at once off screen and from the FrameList
    // in a window.
    void runClear(DWORD flags, D3DCOLOR color, float z) override;
    void runUpdate(std::uint32_t handle, std::size_t offset, const void* data, std::size_t bytes) override;
    void runDraw(const PipelineState& state, const DrawCall& call) override;
    bool gathering() const { return usable() && !context_->offscreen(); }
    void runGathered();  // draws the frame gathered so far (for a picture of it)
    bool init(GlDeviceKind kind, std::string& error);
    void fitTarget();  // (re)makes the frame buffer for the window's size
    bool makeTarget(int width, int height, int samples);  // false (and none) on failure
    void destroyTarget();
    GLuint resolved();  // the frame buffer holding the finished single-sample picture
    GLuint samplerFor(const SamplerState& s, bool sprite);
    // A texture's levels are made on the decoder's thread and go up
    // between frames once made (one a frame, in the order they were
    // made), or when it is first drawn, whichever comes first: start-up
    // uploads nothing but what the first frame shows.
    struct Texture {
        GLuint name = 0;
        std::shared_ptr<TextureDecoder::Job> job;  // null once uploaded
    };
    void upload(Texture& t);
    void uploadNextPending();
    // The program variant for this texture stage and alpha test, built on
    // first use; nullptr when it does not build (the draw is skipped).
    const FixedFunctionProgram* programFor(const PipelineState& s, bool hasTexture);
    bool usable() const { return context_ && context_->alive(); }

    std::unique_ptr<GlContext> context_;
    std::map<std::uint64_t, FixedFunctionProgram> programs_;  // by FragmentVariant::key
    std::string programError_;
    GLuint vao_ = 0;
    GLuint fbo_ = 0, colorRb_ = 0, depthRb_ = 0;
    GLuint resolveFbo_ = 0, resolveRb_ = 0;  // only with multisampling
    bool lowQuality_ = false;
    bool smallTarget_ = false;  // the target is 800 x 600 (low quality, after the first frame)
    int samples_ = 0;        // the multisampling a window's target gets
    int targetSamples_ = 0;  // the target's own: none before the first present
    bool shown_ = false;     // a frame has been shown in the window
    int targetW_ = 0, targetH_ = 0;
    int windowW_ = 0, windowH_ = 0;
    std::map<std::uint32_t, Texture> textures_;
    std::deque<std::uint32_t> uploadQueue_;  // handles not yet up, in creation order
    // Each buffer with a copy of what it holds: an update that writes what
    // is there already is dropped, so a still frame gathers no updates.
    struct Buffer {
        GLuint name = 0;
        std::vector<std::uint8_t> bytes;
    };
    std::map<std::uint32_t, Buffer> buffers_;
    std::map<std::uint32_t, GLuint> samplers_;  // by address modes and kind
    std::uint32_t next_ = 1;
    float maxAnisotropy_ = 1.0f;
    bool textureStorage_ = false;  // glTexStorage2D is there
    FramePacer pacer_;
    FrameList frame_;     // the window's frame being gathered
    FrameList onScreen_;  // the frame the window shows (empty: redraw)
    bool frameRun_ = false;  // frame_ has been drawn already
    PausePicture pause_;
    TextureDecoder decoder_;  // last: its thread stops first
};

}  // namespace platform::gfx
