// The GLSL program that stands in for the Direct3D 9 fixed-function pipeline:
// row-vector transforms with 0..1 clip depth, one directional light with the
// material sources, the stage-0 texture transform and texture operation, and
// the alpha test. FixedFunctionProgram finds its uniforms once.
#pragma once

#include <epoxy/gl.h>

#include <string>

namespace platform::gfx {

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
    GLint hasTexture = -1, sampler = -1, stageOps = -1;
    GLint alphaTest = -1, alphaFunc = -1, alphaRef = -1;

    // false with the compiler's or linker's log in `error`.
    bool build(std::string& error);
    void destroy();
};

}  // namespace platform::gfx
