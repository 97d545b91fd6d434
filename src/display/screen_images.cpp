#include "display/screen_images.h"

using namespace platform;

float ScreenImages::letterSpin = 0.0f;

namespace {

struct ImageFile {
    int index;
    const char* path;
    D3DCOLOR colorKey;
    const char* failureText;
};

// In load order.
constexpr ImageFile imageFiles[] = {
    {0, "t\\gameover.png", 0xfffefefe, "GameOver画像ロスト"},
    {1, "t\\title.png", 0xfffefefe, "title画像ロスト"},
    {3, "t\\staff.png", 0xfffefefe, "staff画像ロスト"},
    {4, "t\\story.png", 0xfffefefe, "story画像ロスト"},
    {5, "t\\story1.png", 0xff000000, "story1画像ロスト"},
    {6, "t\\story2.png", 0xff000000, "story2画像ロスト"},
    {7, "t\\story3.png", 0xff000000, "story3画像ロスト"},
    {8, "t\\story4.png", 0xff000000, "story4画像ロスト"},
    {9, "t\\moji1.png", 0xff000000, "moji1画像ロスト"},
    {10, "t\\moji2.png", 0xff000000, "moji2画像ロスト"},
    {11, "t\\moji3.png", 0xff000000, "moji3画像ロスト"},
    {12, "t\\moji4.png", 0xff000000, "moji4画像ロスト"},
    {13, "t\\moji5.png", 0xff000000, "moji5画像ロスト"},
    {14, "t\\moji6.png", 0xff000000, "moji6画像ロスト"},
    {15, "t\\easy.png", 0xff000000, "easy画像ロスト"},
    {16, "t\\hard.png", 0xff000000, "hard画像ロスト"},
    {17, "t\\easy2.png", 0xff000000, "easy2画像ロスト"},
    {18, "t\\hard2.png", 0xff000000, "hard2画像ロスト"},
    {19, "t\\easy3.png", 0xff000000, "easy3画像ロスト"},
    {20, "t\\hard3.png", 0xff000000, "hard3画像ロスト"},
    {21, "t\\normal.png", 0xff000000, "normal画像ロスト"},
    {22, "t\\normal2.png", 0xff000000, "normal2画像ロスト"},
    {23, "t\\normal3.png", 0xff000000, "normal3画像ロスト"},
};

struct LetterFile {
    const char* path;
    const char* failureText;
};

constexpr LetterFile letterFiles[ScreenImages::letterCount] = {
    {"x\\C.x", "Cロスと"}, {"x\\L.x", "Lロスと"}, {"x\\E.x", "Eロスと"},
    {"x\\A.x", "Aロスと"}, {"x\\R.x", "Rロスと"}, {"x\\!.x", "!ロスと"},
};

}  // namespace

void resetLetterPlacements(std::vector<Placement>& letters) {
    for (int i = 0; i < static_cast<int>(letters.size()); ++i) {
        letters[i].x = -4 - i;
        letters[i].y = 10.0;
        letters[i].z = 2 * i - 20;
    }
}

void ScreenImages::load(GraphicsPart& owner) {
    device_ = owner.device;
    sprite_ = owner.sprite;
    for (const auto& file : imageFiles)
        if (!owner.loadTexture(file.path, file.colorKey, file.failureText, &images[file.index])) return;
    for (int i = 0; i < letterCount; ++i) {
        const std::string path = nativePath(letterFiles[i].path);
        if (FAILED(D3DXLoadMeshFromXA(path.c_str(), D3DXMESH_SYSTEMMEM, device_, nullptr,
                                      &letters[i].materials, nullptr, &letters[i].materialCount,
                                      &letters[i].mesh))) {
            reportLoadFailure(owner.ownerWindow, letterFiles[i].failureText);
            return;
        }
    }
}

void ScreenImages::drawImage(int index, float x, float y) {
    if (!sprite_) return;
    D3DXMATRIX transform;
    const D3DXVECTOR2 translation(x, y);
    D3DXMatrixTransformation2D(&transform, nullptr, 0.0f, nullptr, nullptr, 0.0f, &translation);
    sprite_->SetTransform(&transform);
    sprite_->Draw(images[index], nullptr, nullptr, nullptr, D3DCOLOR_COLORVALUE(1.0f, 1.0f, 1.0f, 1.0f));
}

void ScreenImages::drawClearLetters(std::int32_t clearTimer, std::vector<Placement>& placements) {
    for (int i = 0; i < 5; ++i) {  // the "!" is loaded but never drawn
        if (!(clearTimer < 450 - 20 * i)) continue;
        Placement& p = placements[i];
        if (p.y > 4.0 && clearTimer > 100) {
            p.y -= 0.1;
            letterSpin += 2.0f;
        } else if (letterSpin != 30.0f) {
            letterSpin += 2.0f;
        }
        if (letterSpin > 360.0f) letterSpin = 0;
        if (clearTimer < 100) {
            p.y += 0.1;
            letterSpin += 2.0f;
        }
        D3DXMATRIX world;
        D3DXMatrixRotationY(&world, letterSpin * 0.017453292f);
        setTranslationRow(world, p.x.toFloat(), p.y.toFloat(), p.z.toFloat());
        device_->SetTransform(D3DTS_WORLD, &world);
        const Letter& letter = letters[i];
        if (!letter.mesh || !letter.materials) continue;
        auto* materials = static_cast<D3DXMATERIAL*>(letter.materials->GetBufferPointer());
        for (DWORD j = 0; j < letter.materialCount; ++j) {
            device_->SetMaterial(&materials[j].MatD3D);
            letter.mesh->DrawSubset(j);
        }
    }
}

void ScreenImages::release() {
    releaseTextures(images);
    for (auto& letter : letters) {
        if (letter.mesh) letter.mesh->Release();
        if (letter.materials) letter.materials->Release();
        letter = Letter{};
    }
}
