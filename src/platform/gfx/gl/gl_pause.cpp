#include "platform/gfx/gl/gl_pause.h"

#include <string>
#include <vector>

#include "platform/gfx/gl/gl_backend.h"
#include "platform/gfx/gl/gl_shaders.h"

namespace platform::gfx {

namespace {

// One textured quad from four vertex ids; uRect is x0, y0, x1, y1 in clip
// space. Textures copied from a frame buffer have their rows bottom up, the
// caption's rows are top down.
const char* kVertex = R"(#version 330 core
uniform vec4 uRect;
uniform bool uTopDown;
out vec2 vTex;
void main() {
    vec2 c = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1));
    vTex = vec2(c.x, uTopDown ? 1.0 - c.y : c.y);
    gl_Position = vec4(mix(uRect.xy, uRect.zw, c), 0.0, 1.0);
}
)";

// The texel, its colour scaled by uBrightness; colours are premultiplied.
const char* kFragment = R"(#version 330 core
uniform sampler2D uSampler;
uniform float uBrightness;
in vec2 vTex;
out vec4 fragColor;
void main() {
    vec4 t = texture(uSampler, vTex);
    fragColor = vec4(t.rgb * uBrightness, t.a);
}
)";

// How bright the paused picture stays.
constexpr float kDimmed = 0.38f;

GLuint newTexture() {
    GLuint t = 0;
    glGenTextures(1, &t);
    glBindTexture(GL_TEXTURE_2D, t);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    return t;
}

}  // namespace

bool PausePicture::begin(GLuint picture, int w, int h, const MipLevel* caption) {
    if (!program_) {
        std::string error;
        program_ = buildProgram(kVertex, kFragment, error);
        if (!program_) return false;
        rect_ = glGetUniformLocation(program_, "uRect");
        brightness_ = glGetUniformLocation(program_, "uBrightness");
        topDown_ = glGetUniformLocation(program_, "uTopDown");
        sampler_ = glGetUniformLocation(program_, "uSampler");
        glGenVertexArrays(1, &vao_);
    }
    end();
    picture_ = newTexture();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, picture);
    glCopyTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 0, 0, w, h, 0);
    if (caption && caption->width > 0 && caption->height > 0) {
        std::vector<std::uint8_t> pre = caption->rgba;  // premultiplied for blending and filtering
        for (std::size_t p = 0; p + 3 < pre.size(); p += 4)
            for (int c = 0; c < 3; ++c) pre[p + c] = std::uint8_t((pre[p + c] * pre[p + 3] + 127) / 255);
        caption_ = newTexture();
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, caption->width, caption->height, 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, pre.data());
        captionW_ = caption->width, captionH_ = caption->height;
    }
    return true;
}

void PausePicture::quad(GLuint texture, float x0, float y0, float x1, float y1, float brightness,
                        bool topDown) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glUniform4f(rect_, x0, y0, x1, y1);
    glUniform1f(brightness_, brightness);
    glUniform1i(topDown_, topDown);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
}

void PausePicture::draw(const PictureRect& r) {
    if (!picture_) return;
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glViewport(r.x, r.y, r.width, r.height);
    glUseProgram(program_);
    glBindVertexArray(vao_);
    glActiveTexture(GL_TEXTURE0);
    glBindSampler(0, 0);
    glUniform1i(sampler_, 0);
    glDisable(GL_BLEND);
    quad(picture_, -1, -1, 1, 1, kDimmed, false);
    if (caption_) {
        // Pixel for pixel on the 800 x 600 picture, centred.
        const float w = captionW_ / 400.0f, h = captionH_ / 300.0f;
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        quad(caption_, -w / 2, -h / 2, w / 2, h / 2, 1.0f, true);
        glDisable(GL_BLEND);
    }
}

void PausePicture::end() {
    if (picture_) glDeleteTextures(1, &picture_);
    if (caption_) glDeleteTextures(1, &caption_);
    picture_ = caption_ = 0;
    captionW_ = captionH_ = 0;
}

void PausePicture::destroy() {
    end();
    if (vao_) glDeleteVertexArrays(1, &vao_);
    if (program_) glDeleteProgram(program_);
    vao_ = program_ = 0;
}

}  // namespace platform::gfx
