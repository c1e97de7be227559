// screen_assets.cpp: the walk over the screen tables that lists what data.pak must hold.
#include "frontend/screen_assets.h"

#include <set>

#include "assets/asset_names.h"

namespace {

constexpr int32_t kScreenWidth = 240;
constexpr int32_t kScreenHeight = 320;

struct AssetList {
    std::vector<ScreenAsset> assets;
    std::set<WideString> seen;
};

void add(AssetList& list, WideString name, AssetUse use, int32_t width, int32_t height) {
    if (list.seen.insert(name).second)
        list.assets.push_back({std::move(name), use, width, height});
}

} // namespace

std::vector<ScreenAsset> screenAssets() {
    AssetList list;
    for (const ScreenLayout& screen : allScreenLayouts()) {
        if (screen.backdrop)
            add(list, dataEntryName(screen.backdrop), AssetUse::Backdrop, kScreenWidth,
                kScreenHeight);
        for (const char16_t* backdrop : screen.backdropByStadium)
            add(list, dataEntryName(backdrop), AssetUse::Backdrop, kScreenWidth, kScreenHeight);
        for (const ButtonLayout& button : screen.buttons)
            forEachFaceImage(button, [&](const FaceImage& face) {
                add(list, buttonEntryName(face.image), AssetUse::Face, button.rect.width,
                    button.rect.height);
                if (face.mask)
                    add(list, buttonEntryName(face.mask), AssetUse::Mask, button.rect.width,
                        button.rect.height);
            });
    }
    return list.assets;
}
