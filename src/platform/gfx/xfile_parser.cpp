// The .x text reader. Every count is bounded by what is left of the file
// before anything is allocated, every index is checked against its count, and
// nesting depth is limited, so a hostile file fails cleanly.
#include "platform/gfx/xfile_parser.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "platform/gfx/d3dx_math.h"
#include "platform/gfx/xfile_lexer.h"

namespace platform::gfx {

namespace {

constexpr std::size_t kMaxCorners = 3u << 21;  // triangles' corners in one file
constexpr int kMaxDepth = 64;

struct Corner {
    MeshVertex v;
    std::uint32_t material = 0;
};

class XParser {
public:
    explicit XParser(std::string_view body) : lex_(body) {}

    bool run(MeshData& out);
    const std::string& error() const { return error_; }

private:
    bool fail(const std::string& what) {
        if (error_.empty()) error_ = what;
        return false;
    }
    void skipSeparators() {
        while (lex_.peek() == XToken::Separator) lex_.next();
    }
    bool expect(XToken t, const char* what) {
        skipSeparators();
        return lex_.next() == t ? true : fail(std::string("expected ") + what);
    }
    bool readFloat(float& v) {
        skipSeparators();
        if (lex_.next() != XToken::Number) return fail("expected a number");
        v = static_cast<float>(lex_.number());
        return true;
    }
    // A non-negative integer, at most `limit`, and small enough that `minBytes`
    // per item still fit in the rest of the file.
    bool readCount(std::uint32_t& n, std::size_t minBytes, std::uint32_t limit = 1u << 24) {
        skipSeparators();
        if (lex_.next() != XToken::Number || !lex_.integral() || lex_.number() < 0)
            return fail("expected a count");
        const double d = lex_.number();
        if (d > limit || d * static_cast<double>(minBytes) > static_cast<double>(lex_.remaining()))
            return fail("count larger than the file");
        n = static_cast<std::uint32_t>(d);
        return true;
    }
    bool readIndex(std::uint32_t& i, std::uint32_t count) {
        skipSeparators();
        if (lex_.next() != XToken::Number || !lex_.integral() || lex_.number() < 0 ||
            lex_.number() >= count)
            return fail("index out of range");
        i = static_cast<std::uint32_t>(lex_.number());
        return true;
    }

    bool skipBlock();  // the opening brace has been read
    bool dataObject(const std::string& type, int depth);
    bool objectHeader(std::string* name);  // optional name, '{', optional GUID
    bool frame(int depth);
    bool frameTransform();
    bool mesh(int depth);
    bool material(D3DMATERIAL9& m, int depth);
    bool materialList(std::uint32_t faces, std::vector<std::uint32_t>& faceMaterial,
                      std::vector<D3DMATERIAL9>& mats, int depth);

    XLexer lex_;
    std::string error_;
    std::map<std::string, D3DMATERIAL9, std::less<>> named_;
    std::vector<Corner> corners_;
    std::vector<D3DMATERIAL9> materials_;
    D3DXMATRIX pendingTransform_;
    std::uint32_t sourceVertices_ = 0;
};

D3DMATERIAL9 defaultMaterial() {
    D3DMATERIAL9 m;
    m.Diffuse = {0.5f, 0.5f, 0.5f, 1.0f};
    return m;
}

bool XParser::skipBlock() {
    int depth = 1;
    while (depth > 0) {
        switch (lex_.next()) {
            case XToken::Open: ++depth; break;
            case XToken::Close: --depth; break;
            case XToken::End: return fail("unterminated block");
            case XToken::Error: return fail("bad token");
            default: break;
        }
    }
    return true;
}

bool XParser::objectHeader(std::string* name) {
    skipSeparators();
    XToken t = lex_.next();
    if (t == XToken::Name) {
        if (name) *name = std::string(lex_.text());
        t = lex_.next();
    }
    if (t != XToken::Open) return fail("expected {");
    if (lex_.peek() == XToken::Guid) lex_.next();
    return true;
}

bool XParser::dataObject(const std::string& type, int depth) {
    if (depth > kMaxDepth) return fail("nested too deeply");
    if (type == "Frame") return frame(depth);
    if (type == "Mesh") return mesh(depth);
    std::string name;
    if (!objectHeader(&name)) return false;
    if (type == "Material") {
        D3DMATERIAL9 m;
        if (!material(m, depth)) return false;
        if (!name.empty()) named_[name] = m;
        return true;
    }
    return skipBlock();
}

bool XParser::run(MeshData& out) {
    for (;;) {
        skipSeparators();
        const XToken t = lex_.next();
        if (t == XToken::End) break;
        if (t != XToken::Name) return fail("expected an object");
        const std::string type(lex_.text());
        if (type == "template") {
            if (lex_.next() != XToken::Name || lex_.next() != XToken::Open)
                return fail("bad template");
            if (!skipBlock()) return false;
        } else if (!dataObject(type, 0)) {
            return false;
        }
    }

    // Group the triangles by material, keeping file order inside a group.
    std::vector<std::size_t> order(corners_.size() / 3);
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return corners_[a * 3].material < corners_[b * 3].material;
    });
    out.vertices.clear();
    out.vertices.reserve(corners_.size());
    out.materials = materials_;
    out.sourceVertices = sourceVertices_;
    out.subsets.assign(materials_.size(), MeshSubset{});
    for (std::size_t tri : order) {
        const std::uint32_t m = corners_[tri * 3].material;
        MeshSubset& s = out.subsets[m];
        if (s.vertexCount == 0) s.firstVertex = static_cast<int>(out.vertices.size());
        for (int k = 0; k < 3; ++k) out.vertices.push_back(corners_[tri * 3 + k].v);
        s.vertexCount += 3;
    }
    return true;
}

bool XParser::frameTransform() {
    if (!objectHeader(nullptr)) return false;
    D3DXMATRIX m;
    for (int i = 0; i < 16; ++i)
        if (!readFloat(m.m[i / 4][i % 4])) return false;
    if (!expect(XToken::Close, "} after the matrix")) return false;
    pendingTransform_ = m;
    return true;
}

bool XParser::frame(int depth) {
    if (!objectHeader(nullptr)) return false;
    const std::size_t firstCorner = corners_.size();
    D3DXMATRIX local;
    D3DXMatrixIdentity(&local);
    bool hasLocal = false;
    for (;;) {
        skipSeparators();
        const XToken t = lex_.next();
        if (t == XToken::Close) break;
        if (t == XToken::Open) {  // a reference to another object
            if (!skipBlock()) return false;
            continue;
        }
        if (t != XToken::Name) return fail("bad frame member");
        const std::string type(lex_.text());
        if (type == "FrameTransformMatrix") {
            if (!frameTransform()) return false;
            local = pendingTransform_;
            hasLocal = true;
        } else if (!dataObject(type, depth + 1)) {
            return false;
        }
    }
    if (!hasLocal) return true;
    // Positions by the matrix, normals by its inverse transpose (renormalised).
    const D3DXMATRIX& m = local;
    const float a = m._11, b = m._12, c = m._13, d = m._21, e = m._22, f = m._23;
    const float g = m._31, h = m._32, k = m._33;
    const float co[9] = {e * k - f * h, f * g - d * k, d * h - e * g,
                         c * h - b * k, a * k - c * g, b * g - a * h,
                         b * f - c * e, c * d - a * f, a * e - b * d};  // cofactors
    const float det = a * co[0] + b * co[1] + c * co[2];
    const float sign = det < 0.0f ? -1.0f : 1.0f;  // a mirroring frame keeps normals outward
    for (std::size_t i = firstCorner; i < corners_.size(); ++i) {
        MeshVertex& v = corners_[i].v;
        D3DXVECTOR3 p(v.x, v.y, v.z);
        D3DXVec3TransformCoord(&p, &p, &m);
        v.x = p.x, v.y = p.y, v.z = p.z;
        D3DXVECTOR3 n(sign * (v.nx * co[0] + v.ny * co[3] + v.nz * co[6]),
                      sign * (v.nx * co[1] + v.ny * co[4] + v.nz * co[7]),
                      sign * (v.nx * co[2] + v.ny * co[5] + v.nz * co[8]));
        D3DXVec3Normalize(&n, &n);
        v.nx = n.x, v.ny = n.y, v.nz = n.z;
    }
    return true;
}

bool XParser::material(D3DMATERIAL9& m, int depth) {
    m = D3DMATERIAL9();
    float* fields[] = {&m.Diffuse.r, &m.Diffuse.g, &m.Diffuse.b, &m.Diffuse.a, &m.Power,
                       &m.Specular.r, &m.Specular.g, &m.Specular.b,
                       &m.Emissive.r, &m.Emissive.g, &m.Emissive.b};
    for (float* f : fields)
        if (!readFloat(*f)) return false;
    m.Specular.a = m.Emissive.a = 1.0f;
    for (;;) {  // TextureFilename and the like: names are not kept
        skipSeparators();
        const XToken t = lex_.next();
        if (t == XToken::Close) return true;
        if (t == XToken::Open) {
            if (!skipBlock()) return false;
        } else if (t == XToken::Name) {
            if (depth > kMaxDepth || !objectHeader(nullptr) || !skipBlock()) return false;
        } else {
            return fail("bad material member");
        }
    }
}

bool XParser::materialList(std::uint32_t faces, std::vector<std::uint32_t>& faceMaterial,
                           std::vector<D3DMATERIAL9>& mats, int depth) {
    if (!objectHeader(nullptr)) return false;
    std::uint32_t count = 0, indexes = 0;
    if (!readCount(count, 2) || !readCount(indexes, 2)) return false;
    if (indexes > faces || (faces > 0 && indexes == 0))
        return fail("material list does not match the faces");
    faceMaterial.assign(faces, 0);
    for (std::uint32_t i = 0; i < indexes; ++i)
        if (!readIndex(faceMaterial[i], count)) return false;
    for (std::uint32_t i = indexes; i < faces; ++i) faceMaterial[i] = faceMaterial[indexes - 1];
    mats.clear();
    for (;;) {
        skipSeparators();
        const XToken t = lex_.next();
        if (t == XToken::Close) break;
        if (t == XToken::Open) {  // { MaterialName }
            if (lex_.next() != XToken::Name) return fail("bad material reference");
            const auto it = named_.find(lex_.text());
            if (it == named_.end()) return fail("unknown material");
            mats.push_back(it->second);
            if (!expect(XToken::Close, "} after the reference")) return false;
        } else if (t == XToken::Name && lex_.text() == "Material") {
            std::string name;
            D3DMATERIAL9 m;
            if (!objectHeader(&name) || !material(m, depth + 1)) return false;
            mats.push_back(m);
        } else if (t == XToken::Name) {
            if (!objectHeader(nullptr) || !skipBlock()) return false;
        } else {
            return fail("bad material list member");
        }
        if (mats.size() > count) return fail("more materials than counted");
    }
    if (mats.size() != count) return fail("fewer materials than counted");
    return true;
}

bool XParser::mesh(int depth) {
    if (!objectHeader(nullptr)) return false;
    std::uint32_t nv = 0, nf = 0;
    if (!readCount(nv, 6)) return false;
    if (sourceVertices_ + std::uint64_t{nv} > kMaxCorners) return fail("too many vertices");
    sourceVertices_ += nv;
    std::vector<D3DXVECTOR3> pos(nv);
    for (auto& p : pos)
        if (!readFloat(p.x) || !readFloat(p.y) || !readFloat(p.z)) return false;
    if (!readCount(nf, 8)) return false;
    std::vector<std::vector<std::uint32_t>> faces(nf);
    std::size_t newCorners = 0;
    for (auto& face : faces) {
        std::uint32_t n = 0;
        if (!readCount(n, 2, 1u << 16)) return false;
        if (n < 3) return fail("face with fewer than three corners");
        face.resize(n);
        for (auto& i : face)
            if (!readIndex(i, nv)) return false;
        newCorners += 3 * (n - 2);
        if (corners_.size() + newCorners > kMaxCorners) return fail("too many triangles");
    }

    std::vector<D3DXVECTOR3> normals;
    std::vector<std::vector<std::uint32_t>> faceNormals;
    std::vector<float> uv;
    std::vector<std::uint32_t> faceMaterial;
    std::vector<D3DMATERIAL9> mats;
    bool hasMaterials = false;
    for (;;) {
        skipSeparators();
        const XToken t = lex_.next();
        if (t == XToken::Close) break;
        if (t == XToken::Open) {
            if (!skipBlock()) return false;
            continue;
        }
        if (t != XToken::Name) return fail("bad mesh member");
        const std::string type(lex_.text());
        if (type == "MeshNormals") {
            if (!objectHeader(nullptr)) return false;
            std::uint32_t nn = 0, nfn = 0;
            if (!readCount(nn, 6)) return false;
            normals.assign(nn, {});
            for (auto& n : normals)
                if (!readFloat(n.x) || !readFloat(n.y) || !readFloat(n.z)) return false;
            if (!readCount(nfn, 8)) return false;
            if (nfn != nf) return fail("normals do not match the faces");
            faceNormals.assign(nf, {});
            for (std::uint32_t f = 0; f < nf; ++f) {
                std::uint32_t n = 0;
                if (!readCount(n, 2, 1u << 16)) return false;
                if (n != faces[f].size()) return fail("face normals do not match the face");
                faceNormals[f].resize(n);
                for (auto& i : faceNormals[f])
                    if (!readIndex(i, nn)) return false;
            }
            if (!expect(XToken::Close, "} after the normals")) return false;
        } else if (type == "MeshTextureCoords") {
            if (!objectHeader(nullptr)) return false;
            std::uint32_t nt = 0;
            if (!readCount(nt, 4)) return false;
            if (nt != nv) return fail("texture coordinates do not match the vertices");
            uv.assign(2 * std::size_t{nt}, 0.0f);
            for (auto& f : uv)
                if (!readFloat(f)) return false;
            if (!expect(XToken::Close, "} after the texture coordinates")) return false;
        } else if (type == "MeshMaterialList") {
            if (depth > kMaxDepth || !materialList(nf, faceMaterial, mats, depth + 1))
                return false;
            hasMaterials = true;
        } else {
            if (depth > kMaxDepth || !objectHeader(nullptr) || !skipBlock()) return false;
        }
    }
    if (!hasMaterials) {
        mats.assign(1, defaultMaterial());
        faceMaterial.assign(nf, 0);
    }

    const std::uint32_t base = static_cast<std::uint32_t>(materials_.size());
    materials_.insert(materials_.end(), mats.begin(), mats.end());
    corners_.reserve(corners_.size() + newCorners);
    for (std::uint32_t f = 0; f < nf; ++f) {
        const auto& face = faces[f];
        for (std::size_t k = 1; k + 1 < face.size(); ++k) {
            const std::size_t idx[3] = {0, k, k + 1};
            for (std::size_t c : idx) {
                Corner corner;
                const D3DXVECTOR3& p = pos[face[c]];
                corner.v.x = p.x, corner.v.y = p.y, corner.v.z = p.z;
                if (!faceNormals.empty()) {
                    const D3DXVECTOR3& n = normals[faceNormals[f][c]];
                    corner.v.nx = n.x, corner.v.ny = n.y, corner.v.nz = n.z;
                }
                if (!uv.empty()) {
                    corner.v.u = uv[2 * std::size_t{face[c]}];
                    corner.v.v = uv[2 * std::size_t{face[c]} + 1];
                }
                corner.material = base + faceMaterial[f];
                corners_.push_back(corner);
            }
        }
    }
    return true;
}

}  // namespace

bool parseXFile(std::string_view file, MeshData& out, std::string* error) {
    auto failWith = [&](const char* what) {
        if (error) *error = what;
        return false;
    };
    // "xof " version(4) format(4) float size(4)
    if (file.size() < 16 || file.substr(0, 4) != "xof ") return failWith("not a .x file");
    const std::string_view format = file.substr(8, 4);
    if (format != "txt ") return failWith("only the text format is read");
    const std::string_view floatSize = file.substr(12, 4);
    if (floatSize != "0032" && floatSize != "0064") return failWith("bad float size");
    XParser parser(file.substr(16));
    MeshData result;
    if (!parser.run(result)) {
        if (error) *error = parser.error();
        return false;
    }
    out = std::move(result);
    return true;
}

}  // namespace platform::gfx
