// Shader sources of the fixed-function stand-in.
#include "platform/gfx/gl/gl_shaders.h"

#include <cstdint>
#include <vector>

namespace platform::gfx {

namespace {

// Matrices arrive as Direct3D lays them out in memory (row-major rows of a
// row-vector transform); read column-major, GLSL sees their transposes, so
// `M * v` is Direct3D's `v * M`.
const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec3 aNormal;
layout(location = 2) in vec4 aColor;
layout(location = 3) in vec2 aTex;

uniform mat4 uWorldViewProj;
uniform mat3 uNormalMatrix;
uniform bool uHasNormal, uHasColor, uHasTexCoord;
uniform bool uLighting, uLightEnabled, uNormalize;
uniform vec3 uLightDir;
uniform vec4 uLightDiffuse, uLightAmbient, uGlobalAmbient;
uniform vec4 uMatDiffuse, uMatAmbient, uMatEmissive;
uniform ivec3 uColorSources;  // diffuse, ambient, emissive: 1 = vertex colour
uniform bool uTexTransform;
uniform mat4 uTexMatrix;

out vec4 vColor;
out vec2 vTex;

void main() {
    gl_Position = uWorldViewProj * vec4(aPos, 1.0);
    gl_Position.z = 2.0 * gl_Position.z - gl_Position.w;  // depth 0..1 onto GL's -1..1

    vec4 vertexColor = uHasColor ? aColor : vec4(1.0);
    if (uLighting) {
        vec4 diffuse = (uColorSources.x == 1 && uHasColor) ? aColor : uMatDiffuse;
        vec4 ambient = (uColorSources.y == 1 && uHasColor) ? aColor : uMatAmbient;
        vec4 emissive = (uColorSources.z == 1 && uHasColor) ? aColor : uMatEmissive;
        vec3 n = uHasNormal ? uNormalMatrix * aNormal : vec3(0.0);
        if (uNormalize && dot(n, n) > 0.0) n = normalize(n);
        float ndotl = uLightEnabled ? clamp(dot(n, -uLightDir), 0.0, 1.0) : 0.0;
        vec3 lightAmbient = uLightEnabled ? uLightAmbient.rgb : vec3(0.0);
        vec3 c = ambient.rgb * (uGlobalAmbient.rgb + lightAmbient)
               + diffuse.rgb * uLightDiffuse.rgb * ndotl + emissive.rgb;
        vColor = vec4(clamp(c, 0.0, 1.0), clamp(diffuse.a, 0.0, 1.0));
    } else {
        vColor = vertexColor;
    }

    vec2 t = uHasTexCoord ? aTex : vec2(0.0);
    if (uTexTransform) t = t.x * uTexMatrix[0].xy + t.y * uTexMatrix[1].xy + uTexMatrix[2].xy;
    vTex = t;
}
)";

// Texels are stored with premultiplied alpha so filtering never pulls in the
// colour of transparent texels; they are divided back before the stage runs.
// The stage's operations and the alpha test's function are compile-time
// constants of each variant (the prelude defines them), so the compiler
// drops every branch the state does not take: a software rasteriser runs
// only the operations in use, pixel by pixel.
const char* kFragmentShader = R"(
in vec4 vColor;
in vec2 vTex;
out vec4 fragColor;

uniform sampler2D uSampler;
uniform float uAlphaRef;

const bool kHasTexture = HAS_TEXTURE != 0;
const ivec4 kStageOps = ivec4(COLOR_OP, COLOR_ARG1, COLOR_ARG2, ALPHA_OPS);
const bool kAlphaTest = ALPHA_TEST != 0;
const int kAlphaFunc = ALPHA_FUNC;

const int TOP_DISABLE = 1, TOP_SELECTARG1 = 2, TOP_SELECTARG2 = 3, TOP_MODULATE = 4,
          TOP_MODULATE2X = 5, TOP_MODULATE4X = 6, TOP_ADD = 7;
const int TA_TEXTURE = 2;

vec4 arg(int a, vec4 tex) { return a == TA_TEXTURE ? tex : vColor; }

vec4 combine(int op, vec4 a1, vec4 a2) {
    if (op == TOP_SELECTARG1) return a1;
    if (op == TOP_SELECTARG2) return a2;
    if (op == TOP_MODULATE) return a1 * a2;
    if (op == TOP_MODULATE2X) return min(a1 * a2 * 2.0, 1.0);
    if (op == TOP_MODULATE4X) return min(a1 * a2 * 4.0, 1.0);
    if (op == TOP_ADD) return min(a1 + a2, 1.0);
    return vColor;
}

bool passes(int func, float a, float ref) {
    if (func == 1) return false;
    if (func == 2) return a < ref;
    if (func == 3) return a == ref;
    if (func == 4) return a <= ref;
    if (func == 5) return a > ref;
    if (func == 6) return a != ref;
    if (func == 7) return a >= ref;
    return true;
}

void main() {
    vec4 result = vColor;
    int colorOp = kStageOps.x;
    if (kHasTexture && colorOp != TOP_DISABLE) {
        vec4 p = texture(uSampler, vTex);
        vec4 tex = p.a > 0.0 ? vec4(p.rgb / p.a, p.a) : vec4(0.0);
        int alphaOp = kStageOps.w & 255;
        int alphaArg1 = (kStageOps.w >> 8) & 255, alphaArg2 = (kStageOps.w >> 16) & 255;
        result.rgb = combine(colorOp, arg(kStageOps.y, tex), arg(kStageOps.z, tex)).rgb;
        if (alphaOp != TOP_DISABLE)
            result.a = combine(alphaOp, arg(alphaArg1, tex), arg(alphaArg2, tex)).a;
    }
    if (kAlphaTest && !passes(kAlphaFunc, floor(result.a * 255.0 + 0.5), uAlphaRef)) discard;
    fragColor = result;
}
)";

GLuint compile(GLenum type, const char* source, std::string& error) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint ok = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        GLint len = 0;
        glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &len);
        std::vector<char> log(std::size_t(len) + 1);
        glGetShaderInfoLog(shader, len, nullptr, log.data());
        error = log.data();
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

std::uint64_t FragmentVariant::key() const {
    // Operations the state does not use leave the key alone, so equal
    // pictures share one program.
    const bool staged = textured && colorOp != 1;
    std::uint64_t k = staged ? 1 : 0;
    if (staged)
        k |= std::uint64_t(colorOp & 0xFF) << 1 | std::uint64_t(colorArg1 & 0xF) << 9 |
             std::uint64_t(colorArg2 & 0xF) << 13 | std::uint64_t(alphaOps & 0xFFFFFF) << 17;
    if (alphaTest) k |= std::uint64_t(1) << 41 | std::uint64_t(alphaFunc & 0xF) << 42;
    return k;
}

GLuint buildProgram(const char* vertexSource, const char* fragmentSource, std::string& error) {
    const GLuint vs = compile(GL_VERTEX_SHADER, vertexSource, error);
    if (!vs) return 0;
    const GLuint fs = compile(GL_FRAGMENT_SHADER, fragmentSource, error);
    if (!fs) {
        glDeleteShader(vs);
        return 0;
    }
    GLuint program = glCreateProgram();
    glAttachShader(program, vs);
    glAttachShader(program, fs);
    glLinkProgram(program);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[2048] = {};
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
        error = log;
        glDeleteProgram(program);
        return 0;
    }
    return program;
}

bool FixedFunctionProgram::build(const FragmentVariant& v, std::string& error) {
    const bool staged = v.textured && v.colorOp != 1;
    const std::string fsSource =
        "#version 330 core\n#define HAS_TEXTURE " + std::to_string(staged ? 1 : 0) +
        "\n#define COLOR_OP " + std::to_string(staged ? v.colorOp : 1) +
        "\n#define COLOR_ARG1 " + std::to_string(v.colorArg1 & 0xF) +
        "\n#define COLOR_ARG2 " + std::to_string(v.colorArg2 & 0xF) +
        "\n#define ALPHA_OPS " + std::to_string(v.alphaOps & 0xFFFFFF) +
        "\n#define ALPHA_TEST " + std::to_string(v.alphaTest ? 1 : 0) +
        "\n#define ALPHA_FUNC " + std::to_string(v.alphaFunc & 0xF) + "\n" + kFragmentShader;
    program = buildProgram(kVertexShader, fsSource.c_str(), error);
    if (!program) return false;
    auto loc = [&](const char* n) { return glGetUniformLocation(program, n); };
    worldViewProj = loc("uWorldViewProj");
    normalMatrix = loc("uNormalMatrix");
    hasNormal = loc("uHasNormal");
    hasColor = loc("uHasColor");
    hasTexCoord = loc("uHasTexCoord");
    lighting = loc("uLighting");
    lightEnabled = loc("uLightEnabled");
    normalize = loc("uNormalize");
    lightDir = loc("uLightDir");
    lightDiffuse = loc("uLightDiffuse");
    lightAmbient = loc("uLightAmbient");
    globalAmbient = loc("uGlobalAmbient");
    matDiffuse = loc("uMatDiffuse");
    matAmbient = loc("uMatAmbient");
    matEmissive = loc("uMatEmissive");
    colorSources = loc("uColorSources");
    texTransform = loc("uTexTransform");
    texMatrix = loc("uTexMatrix");
    sampler = loc("uSampler");
    alphaRef = loc("uAlphaRef");
    return true;
}

void FixedFunctionProgram::destroy() {
    if (program) glDeleteProgram(program);
    program = 0;
}

}  // namespace platform::gfx
