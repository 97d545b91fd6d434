// .x text reader: tokens, nested data objects, and the mesh built from them.
#include "check/xfile_check.h"

#include <cctype>
#include <cstdlib>
#include <memory>

namespace assetgen {
namespace {

struct Block {
  std::string type, name;
  std::vector<double> numbers;
  std::vector<std::unique_ptr<Block>> children;
};

class Parser {
 public:
  explicit Parser(const std::string& s) : s_(s) {}

  bool parseTop(std::vector<std::unique_ptr<Block>>& out, std::string& err) {
    while (skip(), pos_ < s_.size()) {
      auto b = std::make_unique<Block>();
      if (!parseBlock(*b, err)) return false;
      out.push_back(std::move(b));
    }
    return true;
  }

 private:
  void skip() {
    while (pos_ < s_.size()) {
      if (std::isspace(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == ';' || s_[pos_] == ',') {
        ++pos_;
      } else if (s_[pos_] == '#' || (s_[pos_] == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/')) {
        while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }
  std::string ident() {
    size_t b = pos_;
    while (pos_ < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[pos_])) || s_[pos_] == '_' || s_[pos_] == '-'))
      ++pos_;
    return s_.substr(b, pos_ - b);
  }
  bool parseBlock(Block& b, std::string& err) {
    b.type = ident();
    if (b.type.empty()) return err = "expected a template name at offset " + std::to_string(pos_), false;
    skip();
    if (pos_ < s_.size() && s_[pos_] != '{') b.name = ident(), skip();
    if (pos_ >= s_.size() || s_[pos_] != '{') return err = "expected { after " + b.type, false;
    ++pos_;
    for (;;) {
      skip();
      if (pos_ >= s_.size()) return err = "unterminated " + b.type, false;
      char c = s_[pos_];
      if (c == '}') {
        ++pos_;
        return true;
      }
      if (c == '{') {  // a reference to a named object
        while (pos_ < s_.size() && s_[pos_] != '}') ++pos_;
        ++pos_;
        continue;
      }
      if (std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.') {
        char* end = nullptr;
        double v = std::strtod(s_.c_str() + pos_, &end);
        if (end == s_.c_str() + pos_) return err = "bad number in " + b.type, false;
        pos_ = size_t(end - s_.c_str());
        b.numbers.push_back(v);
        continue;
      }
      auto child = std::make_unique<Block>();
      if (!parseBlock(*child, err)) return false;
      b.children.push_back(std::move(child));
    }
  }
  const std::string& s_;
  size_t pos_ = 16;  // after the header
};

// Reads "n; n vectors" and "m; m faces" from a number list.
bool readVectorsAndFaces(const std::vector<double>& n, std::vector<std::array<float, 3>>& verts,
                         std::vector<std::array<int, 3>>& faces, std::vector<int>& polyOfTri, std::string& err,
                         const char* what) {
  size_t p = 0;
  auto take = [&](double& v) { return p < n.size() ? (v = n[p++], true) : false; };
  double count;
  if (!take(count) || count < 0) return err = std::string(what) + ": missing vertex count", false;
  for (int i = 0; i < int(count); ++i) {
    std::array<float, 3> v{};
    for (float& c : v) {
      double d;
      if (!take(d)) return err = std::string(what) + ": fewer vectors than counted", false;
      c = float(d);
    }
    verts.push_back(v);
  }
  double fc;
  if (!take(fc) || fc < 0) return err = std::string(what) + ": missing face count", false;
  for (int f = 0; f < int(fc); ++f) {
    double k;
    if (!take(k) || k < 3) return err = std::string(what) + ": bad face size", false;
    std::vector<int> idx;
    for (int j = 0; j < int(k); ++j) {
      double d;
      if (!take(d)) return err = std::string(what) + ": fewer faces than counted", false;
      if (d < 0 || d >= count) return err = std::string(what) + ": index out of range", false;
      idx.push_back(int(d));
    }
    for (size_t j = 1; j + 1 < idx.size(); ++j) {
      faces.push_back({idx[0], idx[j], idx[j + 1]});
      polyOfTri.push_back(f);
    }
  }
  if (p != n.size()) return err = std::string(what) + ": extra numbers after the faces", false;
  return true;
}

const Block* findMesh(const std::vector<std::unique_ptr<Block>>& blocks, XMesh& out) {
  for (const auto& b : blocks) {
    if (b->type == "Mesh") return b.get();
    if (b->type == "Frame") {
      out.hasFrame = true;
      for (const auto& c : b->children)
        if (c->type == "FrameTransformMatrix" && c->numbers.size() == 16) out.hasFrameTransform = true;
      if (const Block* m = findMesh(b->children, out)) return m;
    }
  }
  return nullptr;
}

}  // namespace

bool parseXFile(const std::string& text, XMesh& out, std::string& error) {
  if (text.size() < 16 || text.compare(0, 16, "xof 0302txt 0032") != 0) return error = "not a .x text file", false;
  std::vector<std::unique_ptr<Block>> top;
  Parser p(text);
  if (!p.parseTop(top, error)) return false;
  const Block* mesh = findMesh(top, out);
  if (!mesh) return error = "no Mesh", false;
  std::vector<int> polyOfTri, normalPoly;
  if (!readVectorsAndFaces(mesh->numbers, out.vertices, out.faces, polyOfTri, error, "Mesh")) return false;
  size_t polygons = polyOfTri.empty() ? 0 : size_t(polyOfTri.back()) + 1;
  bool haveNormals = false, haveMaterials = false;
  for (const auto& c : mesh->children) {
    if (c->type == "MeshNormals") {
      haveNormals = true;
      if (!readVectorsAndFaces(c->numbers, out.normals, out.normalFaces, normalPoly, error, "MeshNormals"))
        return false;
      if (out.normalFaces.size() != out.faces.size()) return error = "normal faces differ from faces", false;
    } else if (c->type == "MeshMaterialList") {
      haveMaterials = true;
      const auto& n = c->numbers;
      if (n.size() < 2) return error = "short MeshMaterialList", false;
      size_t nm = size_t(n[0]), ni = size_t(n[1]);
      if (n.size() != 2 + ni) return error = "material index count differs", false;
      if (ni != polygons && ni != 1) return error = "material list does not cover every face", false;
      std::vector<int> perPoly;
      for (size_t i = 0; i < ni; ++i) {
        if (n[2 + i] < 0 || n[2 + i] >= double(nm)) return error = "material index out of range", false;
        perPoly.push_back(int(n[2 + i]));
      }
      for (int poly : polyOfTri) out.faceMaterials.push_back(ni == 1 ? perPoly[0] : perPoly[poly]);
      for (const auto& m : c->children) {
        if (m->type != "Material") continue;
        if (m->numbers.size() != 11) return error = "a Material needs 11 numbers", false;
        XMaterial x;
        for (int k = 0; k < 4; ++k) x.diffuse[k] = float(m->numbers[k]);
        x.power = float(m->numbers[4]);
        for (int k = 0; k < 3; ++k) x.specular[k] = float(m->numbers[5 + k]), x.emissive[k] = float(m->numbers[8 + k]);
        out.materials.push_back(x);
      }
      if (out.materials.size() != nm) return error = "material count differs from the Materials given", false;
    }
  }
  if (!haveNormals) return error = "no MeshNormals", false;
  if (!haveMaterials) return error = "no MeshMaterialList", false;
  return true;
}

}  // namespace assetgen
