// The OpenGL 3.3 core backend: resources and the fixed-function draw.
#include "platform/gfx/gl/gl_backend.h"

#include "platform/gfx/gfx_config.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace platform::gfx {

namespace {

GLenum blendFactor(DWORD b) {
    switch (b) {
        case D3DBLEND_ZERO: return GL_ZERO;
        case D3DBLEND_ONE: return GL_ONE;
        case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
        case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
        case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
        case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
        default: return GL_ONE;
    }
}

GLenum depthFunc(DWORD f) {
    switch (f) {
        case D3DCMP_NEVER: return GL_NEVER;
        case D3DCMP_LESS: return GL_LESS;
        case D3DCMP_EQUAL: return GL_EQUAL;
        case D3DCMP_LESSEQUAL: return GL_LEQUAL;
        case D3DCMP_GREATER: return GL_GREATER;
        case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
        case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
        default: return GL_ALWAYS;
    }
}

GLenum addressMode(DWORD a) {
    switch (a) {
        case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
        case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
        default: return GL_REPEAT;
    }
}

void setColor(GLint loc, const D3DCOLORVALUE& c) { glUniform4f(loc, c.r, c.g, c.b, c.a); }

// Normals go by the inverse transpose of the upper 3 x 3 of the world matrix:
// for row vectors n' = n * inverse(M)^T = n * cofactors(M) / det(M). Stored
// row by row, GLSL reads it transposed, so `N * n` is that product.
void normalMatrix(const D3DXMATRIX& m, float out[9]) {
    const float a = m._11, b = m._12, c = m._13, d = m._21, e = m._22, f = m._23, g = m._31,
                h = m._32, k = m._33;
    const float co[9] = {e * k - f * h, f * g - d * k, d * h - e * g,
                         c * h - b * k, a * k - c * g, b * g - a * h,
                         b * f - c * e, c * d - a * f, a * e - b * d};
    const float det = a * co[0] + b * co[1] + c * co[2];
    const float inv = det != 0.0f ? 1.0f / det : 0.0f;
    for (int i = 0; i < 9; ++i) out[i] = co[i] * inv;
}

}  // namespace

std::unique_ptr<GfxBackend> GlBackend::create(GlDeviceKind kind, std::string& error) {
    std::unique_ptr<GlBackend> b(new GlBackend);
    if (!b->init(kind, error)) return nullptr;
    return b;
}

bool GlBackend::init(GlDeviceKind kind, std::string& error) {
    context_ = GlContext::create(kind, error);
    if (!context_) return false;
    // The plainest variant is built now, so a context whose compiler fails
    // is refused at creation; the others are built as draws need them.
    if (!programFor(PipelineState{}, false)) {
        error = "shader: " + programError_;
        return false;
    }
    glGenVertexArrays(1, &vao_);
    glBindVertexArray(vao_);
    textureStorage_ = epoxy_gl_version() >= 42 || epoxy_has_gl_extension("GL_ARB_texture_storage");
    // Anisotropy only on hardware: Mesa's software rasteriser is slow with it
    // and blends in smaller mip levels even where a texture is magnified.
    const bool anisotropic = epoxy_has_gl_extension("GL_EXT_texture_filter_anisotropic") ||
                             epoxy_gl_version() >= 46;
    if (anisotropic && !isSoftwareRenderer(context_->renderer())) {
        glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maxAnisotropy_);
        maxAnisotropy_ = std::min(maxAnisotropy_, 16.0f);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // Software renderers get the cheaper picture unless told otherwise:
    // multisampling and a larger target cost them most of a frame.
    const GfxConfig::Quality quality = config().quality;
    lowQuality_ = !context_->offscreen() &&
                  (quality == GfxConfig::Quality::low ||
                   (quality == GfxConfig::Quality::automatic && isSoftwareRenderer(context_->renderer())));
    // 4x multisampling on screen for steady polygon edges; pictures written
    // off screen stay single-sampled, texel for pixel.
    if (!context_->offscreen() && !lowQuality_) {
        GLint most = 0;
        glGetIntegerv(GL_MAX_SAMPLES, &most);
        samples_ = std::min(4, int(most));
    }
    frameTimes().note("renderer " + context_->renderer() + ", " +
                      (context_->offscreen() ? "off screen" : lowQuality_ ? "low quality" : "high quality"));
    fitTarget();
    if (!fbo_) {
        error = "no frame buffer";
        return false;
    }
    return true;
}

GlBackend::~GlBackend() {
    if (!usable()) return;  // the context went with the window
    for (auto& [h, t] : textures_) glDeleteTextures(1, &t.name);
    for (auto& [h, b] : buffers_) glDeleteBuffers(1, &b.name);
    for (auto& [k, s] : samplers_) glDeleteSamplers(1, &s);
    destroyTarget();
    pause_.destroy();
    if (vao_) glDeleteVertexArrays(1, &vao_);
    for (auto& [k, p] : programs_) p.destroy();
}

std::uint32_t GlBackend::createTexture(TextureSource source) {
    if (!usable() || source.image.rgba.empty()) return 0;
    Texture t;
    glGenTextures(1, &t.name);
    t.job = decoder_.submit(std::move(source));
    const std::uint32_t h = next_++;
    textures_[h] = std::move(t);
    uploadQueue_.push_back(h);
    return h;
}

void GlBackend::upload(Texture& t) {
    std::vector<MipLevel> levels = t.job->take();
    t.job.reset();
    if (levels.empty()) return;
    glBindTexture(GL_TEXTURE_2D, t.name);
    // All the levels' storage at once where the driver allows: given them
    // one by one, a driver may gather them into one allocation again when
    // the texture is first used (on a software rasteriser, a second copy).
    if (textureStorage_)
        glTexStorage2D(GL_TEXTURE_2D, GLsizei(levels.size()), GL_RGBA8, levels[0].width, levels[0].height);
    for (std::size_t i = 0; i < levels.size(); ++i) {
        const MipLevel& l = levels[i];  // premultiplied by the decoder
        if (textureStorage_)
            glTexSubImage2D(GL_TEXTURE_2D, GLint(i), 0, 0, l.width, l.height, GL_RGBA, GL_UNSIGNED_BYTE,
                            l.rgba.data());
        else
            glTexImage2D(GL_TEXTURE_2D, GLint(i), GL_RGBA8, l.width, l.height, 0, GL_RGBA,
                         GL_UNSIGNED_BYTE, l.rgba.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, GLint(levels.size() - 1));
}

void GlBackend::uploadNextPending() {
    while (!uploadQueue_.empty()) {
        const auto it = textures_.find(uploadQueue_.front());
        if (it != textures_.end() && it->second.job) {
            if (!it->second.job->done()) return;  // not decoded yet: a later frame
            upload(it->second);
            uploadQueue_.pop_front();
            return;
        }
        uploadQueue_.pop_front();  // released, or drawn (and so uploaded) already
    }
}

void GlBackend::releaseTexture(std::uint32_t handle) {
    const auto it = textures_.find(handle);
    if (it == textures_.end()) return;
    if (usable()) glDeleteTextures(1, &it->second.name);
    textures_.erase(it);
}

std::uint32_t GlBackend::createBuffer(std::size_t bytes) {
    if (!usable()) return 0;
    GLuint b = 0;
    glGenBuffers(1, &b);
    glBindBuffer(GL_ARRAY_BUFFER, b);
    Buffer buffer;
    buffer.name = b;
    buffer.bytes.assign(bytes, 0);  // starts as zeros, as its copy does
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(bytes), buffer.bytes.data(), GL_DYNAMIC_DRAW);
    const std::uint32_t h = next_++;
    buffers_[h] = std::move(buffer);
    return h;
}

void GlBackend::updateBuffer(std::uint32_t handle, std::size_t offset, const void* data,
                             std::size_t bytes) {
    const auto it = buffers_.find(handle);
    if (it == buffers_.end() || !usable()) return;
    std::vector<std::uint8_t>& copy = it->second.bytes;
    if (offset > copy.size() || bytes > copy.size() - offset) return;  // past its end: GL refuses it too
    std::uint8_t* at = copy.data() + offset;
    if (std::memcmp(at, data, bytes) == 0) return;
    std::memcpy(at, data, bytes);
    if (gathering()) frame_.update(handle, offset, data, bytes);
    else runUpdate(handle, offset, data, bytes);
}

void GlBackend::runUpdate(std::uint32_t handle, std::size_t offset, const void* data, std::size_t bytes) {
    const auto it = buffers_.find(handle);
    if (it == buffers_.end() || !usable()) return;
    glBindBuffer(GL_ARRAY_BUFFER, it->second.name);
    glBufferSubData(GL_ARRAY_BUFFER, GLintptr(offset), GLsizeiptr(bytes), data);
}

void GlBackend::releaseBuffer(std::uint32_t handle) {
    const auto it = buffers_.find(handle);
    if (it == buffers_.end()) return;
    if (usable()) glDeleteBuffers(1, &it->second.name);
    buffers_.erase(it);
}

GLuint GlBackend::samplerFor(const SamplerState& s, bool) {
    // Filtering is ours, whatever the game asks: trilinear (anisotropic on
    // hardware), so the corridor's receding textures do not shimmer in motion.
    const std::uint32_t key = (s.addressU << 8) | s.addressV;
    const auto it = samplers_.find(key);
    if (it != samplers_.end()) return it->second;
    GLuint smp = 0;
    glGenSamplers(1, &smp);
    glSamplerParameteri(smp, GL_TEXTURE_WRAP_S, GLint(addressMode(s.addressU)));
    glSamplerParameteri(smp, GL_TEXTURE_WRAP_T, GLint(addressMode(s.addressV)));
    // At low quality, bilinear from the nearest mip level: on a software
    // renderer it costs less than blending two levels and looks the same in
    // play. The device's own default, point sampling, shimmers.
    glSamplerParameteri(smp, GL_TEXTURE_MIN_FILTER, lowQuality_ ? GL_LINEAR_MIPMAP_NEAREST : GL_LINEAR_MIPMAP_LINEAR);
    glSamplerParameteri(smp, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (maxAnisotropy_ > 1.0f) glSamplerParameterf(smp, GL_TEXTURE_MAX_ANISOTROPY_EXT, maxAnisotropy_);
    samplers_[key] = smp;
    return smp;
}

const FixedFunctionProgram* GlBackend::programFor(const PipelineState& s, bool hasTexture) {
    const TextureStage& t = s.stage0;
    FragmentVariant v;
    v.textured = hasTexture;
    v.colorOp = int(t.colorOp);
    v.colorArg1 = int(t.colorArg1 & 0xF);
    v.colorArg2 = int(t.colorArg2 & 0xF);
    v.alphaOps = int((t.alphaOp & 0xFF) | ((t.alphaArg1 & 0xF) << 8) | ((t.alphaArg2 & 0xF) << 16));
    v.alphaTest = s.alphaTestEnable;
    v.alphaFunc = int(s.alphaFunc);
    const std::uint64_t key = v.key();
    const auto it = programs_.find(key);
    if (it != programs_.end()) return it->second.program ? &it->second : nullptr;
    FixedFunctionProgram& p = programs_[key];
    if (!p.build(v, programError_)) {
        std::fprintf(stderr, "gfx: a shader variant did not build: %s\n", programError_.c_str());
        return nullptr;
    }
    return &p;
}

void GlBackend::draw(const PipelineState& s, const DrawCall& call) {
    if (gathering()) frame_.draw(s, call);
    else runDraw(s, call);
}

void GlBackend::runDraw(const PipelineState& s, const DrawCall& call) {
    const auto buf = buffers_.find(call.buffer);
    if (!usable() || !fbo_ || buf == buffers_.end() || call.vertexCount <= 0) return;
    const auto tex = textures_.find(s.texture0Handle);
    const bool hasTexture = s.texture0Handle != 0 && tex != textures_.end();
    const FixedFunctionProgram* program = programFor(s, hasTexture);
    if (!program) return;
    if (hasTexture && tex->second.job) upload(tex->second);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glViewport(0, 0, targetW_, targetH_);
    glUseProgram(program->program);
    glBindVertexArray(vao_);

    // Fixed-function raster state.
    if (s.zEnable) {
        glEnable(GL_DEPTH_TEST);
        glDepthFunc(depthFunc(s.zFunc));
    } else {
        glDisable(GL_DEPTH_TEST);
    }
    glDepthMask(s.zWriteEnable ? GL_TRUE : GL_FALSE);
    if (s.cullMode == D3DCULL_NONE) {
        glDisable(GL_CULL_FACE);
    } else {
        // Direct3D culls by the winding seen on screen; the picture is not
        // flipped on its way to the screen, so GL's window winding is the same.
        glEnable(GL_CULL_FACE);
        glCullFace(GL_BACK);
        glFrontFace(s.cullMode == D3DCULL_CCW ? GL_CW : GL_CCW);
    }
    if (s.alphaBlendEnable) {
        glEnable(GL_BLEND);
        glBlendFunc(blendFactor(s.srcBlend), blendFactor(s.destBlend));
    } else {
        glDisable(GL_BLEND);
    }

    // Transforms and lighting.
    D3DXMATRIX wv, wvp;
    D3DXMatrixMultiply(&wv, &s.world, &s.view);
    D3DXMatrixMultiply(&wvp, &wv, &s.projection);
    const FixedFunctionProgram& p = *program;
    glUniformMatrix4fv(p.worldViewProj, 1, GL_FALSE, &wvp.m[0][0]);
    float nm[9];
    normalMatrix(s.world, nm);
    glUniformMatrix3fv(p.normalMatrix, 1, GL_FALSE, nm);
    const VertexLayout& l = call.layout;
    glUniform1i(p.hasNormal, l.normalOffset >= 0);
    glUniform1i(p.hasColor, l.diffuseOffset >= 0);
    glUniform1i(p.hasTexCoord, l.texOffset >= 0);
    glUniform1i(p.lighting, s.lighting);
    glUniform1i(p.lightEnabled, s.light0Enabled && s.light0.Type == D3DLIGHT_DIRECTIONAL);
    glUniform1i(p.normalize, s.normalizeNormals);
    D3DXVECTOR3 dir(s.light0.Direction.x, s.light0.Direction.y, s.light0.Direction.z);
    D3DXVec3Normalize(&dir, &dir);
    glUniform3f(p.lightDir, dir.x, dir.y, dir.z);
    setColor(p.lightDiffuse, s.light0.Diffuse);
    setColor(p.lightAmbient, s.light0.Ambient);
    glUniform4f(p.globalAmbient, ((s.ambient >> 16) & 0xFF) / 255.0f,
                ((s.ambient >> 8) & 0xFF) / 255.0f, (s.ambient & 0xFF) / 255.0f,
                (s.ambient >> 24) / 255.0f);
    setColor(p.matDiffuse, s.material.Diffuse);
    setColor(p.matAmbient, s.material.Ambient);
    setColor(p.matEmissive, s.material.Emissive);
    auto fromVertex = [&](DWORD source) { return s.colorVertex && source == D3DMCS_COLOR1 ? 1 : 0; };
    glUniform3i(p.colorSources, fromVertex(s.diffuseSource), fromVertex(s.ambientSource),
                fromVertex(s.emissiveSource));
    glUniform1i(p.texTransform, s.stage0.transformFlags == D3DTTFF_COUNT2);
    glUniformMatrix4fv(p.texMatrix, 1, GL_FALSE, &s.texture0.m[0][0]);

    // Texture stage 0 (its operations are the variant's).
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, hasTexture ? tex->second.name : 0);
    glBindSampler(0, samplerFor(s.sampler0, false));
    glUniform1i(p.sampler, 0);
    glUniform1f(p.alphaRef, float(s.alphaRef & 0xFF));

    // Vertices.
    glBindBuffer(GL_ARRAY_BUFFER, buf->second.name);
    auto at = [&](int offset) {
        return reinterpret_cast<const void*>(call.byteOffset + std::size_t(offset));
    };
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, l.stride, at(0));
    if (l.normalOffset >= 0) {
        glEnableVertexAttribArray(1);
        glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, l.stride, at(l.normalOffset));
    } else {
        glDisableVertexAttribArray(1);
    }
    if (l.diffuseOffset >= 0) {
        glEnableVertexAttribArray(2);
        glVertexAttribPointer(2, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, l.stride, at(l.diffuseOffset));
    } else {
        glDisableVertexAttribArray(2);
    }
    if (l.texOffset >= 0) {
        glEnableVertexAttribArray(3);
        glVertexAttribPointer(3, 2, GL_FLOAT, GL_FALSE, l.stride, at(l.texOffset));
    } else {
        glDisableVertexAttribArray(3);
    }
    GLenum mode = GL_TRIANGLES;
    if (call.primitive == D3DPT_TRIANGLESTRIP) mode = GL_TRIANGLE_STRIP;
    if (call.primitive == D3DPT_TRIANGLEFAN) mode = GL_TRIANGLE_FAN;
    glDrawArrays(mode, call.firstVertex, call.vertexCount);
}

}  // namespace platform::gfx
