// The GLSL program that stands in for the Direct3D 9 fixed-function pipeline:
// row-vector transforms with 0..1 clip depth, one directional light with the
// material sources, the stage-0 texture transform and texture operation, and
// the alpha test. Each FixedFunctionProgram is one variant of it, built for a
// texture stage and alpha test, and finds its uniforms once.
#pragma once

#include <epoxy/gl.h>

#include <cstdint>
#include <string>

namespace platform::gfx {

// What a variant's fragment stage is built for: stage 0's operations as the
// device holds them (alpha op in bits 0-7, its arguments in 8-11 and 16-19)
// and the alpha test.
struct FragmentVariant {
    bool textured = false;
    int colorOp = 1, colorArg1 = 0, colorArg2 = 0;
    int alphaOps = 1;
    bool alphaTest = false;
    int alphaFunc = 8;

    // Equal for variants that draw the same picture.
    std::uint64_t key() const;
};

// Compiles and links a program from its two sources; 0 with the log in `error`.
GLuint buildProgram(const char* vertexSource, const char* fragmentSource, std::string& error);

struct FixedFunctionProgram {
    GLuint program = 0;
    GLint worldViewProj = -1, normalMatrix = -1;
    GLint hasNormal = -1, hasColor = -1, hasTexCoord = -1;
    GLint lighting = -1, lightEnabled = -1, lightDir = -1, lightDiffuse = -1, lightAmbient = -1;
    GLint globalAmbient = -1, matDiffuse = -1, matAmbient = -1, matEmissive = -1;
    GLint colorSources = -1, normalize = -1;
    GLint texTransform = -1, texMatrix = -1;
    GLint sampler = -1, alphaRef = -1;

    // false with the compiler's or linker's log in `error`.
    bool build(const FragmentVariant& variant, std::string& error);
    void destroy();
};

}  // namespace platform::gfx
