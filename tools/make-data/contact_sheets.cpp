// contact_sheets.cpp: composes each screen from data.pak the way the game draws it.
#include "contact_sheets.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "assets/asset_names.h"
#include "assets/pak_archive.h"
#include "frontend/screen_tables.h"
#include "writers/picture_decoding.h"
#include "writers/png_writer.h"

namespace {

constexpr int kScreenWidth = 240;
constexpr int kScreenHeight = 320;

// A screen being composed: RGBA bytes, top row first.
struct Sheet {
    std::vector<uint8_t> pixels = std::vector<uint8_t>(kScreenWidth * kScreenHeight * 4, 0);
};

struct SheetSources {
    PakArchive* pak;
    std::vector<uint8_t> font6x12;
};

enum class SheetState { Start, Pressed, Keyboard };

struct SheetVariant {
    ScreenId screen;
    SheetState state;
    int stadium;
    std::string name;
};

std::vector<uint8_t> fontFromPak(PakArchive* pak, const WideString& name) {
    const std::vector<uint8_t> bytes = readPakEntry(pak, name);
    size_t at = 0;
    for (int lines = 0; lines < 3 && at < bytes.size();) {
        const bool comment = bytes[at] == '#';
        while (at < bytes.size() && bytes[at] != '\n')
            ++at;
        ++at;
        if (!comment)
            ++lines;
    }
    if (bytes.size() < at + 12288)
        throw std::runtime_error("font entry too short: " + toUtf8(name));
    return {bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at) + 12288};
}

uint8_t* pixel(Sheet& sheet, int x, int y) {
    return &sheet.pixels[(static_cast<size_t>(y) * kScreenWidth + x) * 4];
}

// The 6 x 12 glyph drawing of the game: ink lifts the halved picture, blank darkens it.
void drawGlyph6x12(Sheet& sheet, const std::vector<uint8_t>& font, int x, int y, char16_t code) {
    int c = code > 126 ? 127 : code;
    int cell = (c & 127) - 33;
    if (cell < 0)
        cell = 94;
    const int left = 8 * (cell & 15), top = 16 * (cell >> 4);
    for (int row = 0; row < 12; ++row)
        for (int col = 0; col < 6; ++col) {
            if (x + col < 0 || x + col >= kScreenWidth || y + row < 0 || y + row >= kScreenHeight)
                continue;
            const int g = font[(top + row) * 128 + left + col];
            uint8_t* p = pixel(sheet, x + col, y + row);
            for (int k = 0; k < 3; ++k)
                p[k] = static_cast<uint8_t>(g != 0 ? std::min(255, g + p[k] / 2) : p[k] / 2);
        }
}

void drawTextField(Sheet& sheet, const std::vector<uint8_t>& font, int x0, int y, int w,
                   const WideString& text) {
    if (text.empty())
        return;
    int x = x0;
    for (size_t i = 0; i < text.size() && x < x0 + w; ++i, x += 6)
        drawGlyph6x12(sheet, font, x, y, text[i]);
    for (; x < x0 + w; x += 6)
        drawGlyph6x12(sheet, font, x, y, u' ');
}

void fillRect(Sheet& sheet, const ScreenRect& r, uint32_t colour) {
    for (int y = std::max(r.top, 0); y < std::min(r.top + r.height, kScreenHeight); ++y)
        for (int x = std::max(r.left, 0); x < std::min(r.left + r.width, kScreenWidth); ++x)
            for (int k = 0; k < 4; ++k)
                pixel(sheet, x, y)[k] = static_cast<uint8_t>(colour >> (8 * k));
}

// The face blit of the game: alpha 255 copies, 0 skips, anything else blends with (A + 1).
void blitFace(Sheet& sheet, const std::vector<uint8_t>& face, const ScreenRect& r) {
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x) {
            const int sx = r.left + x, sy = r.top + y;
            if (sx < 0 || sy < 0 || sx >= kScreenWidth || sy >= kScreenHeight)
                continue;
            const uint8_t* src = &face[(static_cast<size_t>(y) * r.width + x) * 4];
            uint8_t* dst = pixel(sheet, sx, sy);
            const int a = src[3];
            if (a == 255)
                std::copy(src, src + 4, dst);
            else if (a != 0)
                for (int k = 0; k < 3; ++k)
                    dst[k] = static_cast<uint8_t>(
                        std::min(255, (dst[k] * (255 - a) + src[k] * (a + 1)) >> 8));
        }
}

std::vector<uint8_t> loadFace(PakArchive* pak, const FaceImage& face, const ScreenRect& r) {
    std::vector<uint8_t> rgba(static_cast<size_t>(r.width) * r.height * 4, 255);
    const DecodedPicture colour = decodePicture(readPakEntry(pak, buttonEntryName(face.image)));
    if (colour.width != r.width || colour.height != r.height || colour.components != 3)
        throw std::runtime_error("face does not fit its button: " + toUtf8(WideString(face.image)));
    for (size_t i = 0; i < static_cast<size_t>(r.width) * r.height; ++i)
        std::copy(&colour.samples[i * 3], &colour.samples[i * 3] + 3, &rgba[i * 4]);
    if (face.mask) {
        const DecodedPicture mask = decodePicture(readPakEntry(pak, buttonEntryName(face.mask)));
        if (mask.width != r.width || mask.height != r.height || mask.components != 1)
            throw std::runtime_error("mask does not fit its button: " +
                                     toUtf8(WideString(face.mask)));
        for (size_t i = 0; i < static_cast<size_t>(r.width) * r.height; ++i)
            rgba[i * 4 + 3] = mask.samples[i];
    }
    return rgba;
}

// Sample values for everything the game fills in at run time.
WideString sampleLabel(const ButtonSpec& button, int slotIndex) {
    switch (button.label) {
    case LabelSource::None:
        return {};
    case LabelSource::Text:
        return button.text;
    case LabelSource::FirstName:
        return u"Alexandra";
    case LabelSource::LastName:
        return u"Moreno";
    case LabelSource::LevelName:
        return kLevelNames[2];
    case LabelSource::RankRow: {
        const char16_t* names[] = {u"Ana Ruiz",   u"Ben Okafor",       u"Chen Wei",   u"Dana Ilic",
                                   u"Emil Berg",  u"Alexandra Moreno", u"Gus Tanaka", u"Hana Novak",
                                   u"Ivo Petrov", u"Jo Silva"};
        return names[(slotIndex - 4) % 10];
    }
    case LabelSource::Hud:
        return u"123kmh";
    }
    return {};
}

uint32_t sampleFill(FillSource fill) {
    switch (fill) {
    case FillSource::None:
        return 0;
    case FillSource::SkinColour:
        return 0xFF63A5E3;
    case FillSource::HairColour:
        return 0xFF22394E;
    case FillSource::Colour3:
        return 0xFFBACBC6;
    case FillSource::Colour4:
        return 0xFF755C34;
    case FillSource::PowerMeter:
        return 0xFF00B24C;
    }
    return 0;
}

const FaceImage* chosenFace(const FaceChoice& choice, int stadium) {
    switch (choice.selector) {
    case FaceSelector::Stadium:
        return &choice.images[static_cast<size_t>(stadium)];
    case FaceSelector::TournamentRoundAbove:
        return &choice.images[0]; // every laurel won
    default:
        return &choice.images[0];
    }
}

void drawButton(Sheet& sheet, const SheetSources& sources, const ButtonSpec& button, int slotIndex,
                const SheetVariant& variant) {
    ScreenRect rect = button.rect;
    int face = button.startFace;
    const bool keyboardShown = variant.state == SheetState::Keyboard;
    const bool isKeyboard =
        button.faces[0].image && std::u16string_view(button.faces[0].image) == u"Teclado.jpg";
    if (keyboardShown)
        face = isKeyboard ? 0 : 2;
    if (variant.state == SheetState::Pressed && face == 0 && button.faces[1].image)
        face = 1;
    if (button.label != LabelSource::None) {
        drawTextField(sheet, sources.font6x12, rect.left, rect.top, rect.width,
                      sampleLabel(button, slotIndex));
        return;
    }
    FaceImage image = button.faces[face];
    if (button.choice && button.choice->face == face)
        image = *chosenFace(*button.choice, variant.stadium);
    if (image.image) {
        blitFace(sheet, loadFace(sources.pak, image, rect), rect);
        return;
    }
    uint32_t fill =
        face == (button.fill == FillSource::PowerMeter ? 2 : 0) ? sampleFill(button.fill) : 0;
    if (button.fill == FillSource::PowerMeter)
        rect.width = 30; // the meter at about two thirds
    if (fill >> 24)
        fillRect(sheet, rect, fill);
}

// What the game draws itself on the editor: the skill points.
void drawSkillPoints(Sheet& sheet) {
    for (int k = 0; k < kSkillRows; ++k)
        for (int j = 0; j < 5 + (k % 3) - 1; ++j)
            fillRect(sheet,
                     {kSkillBarLeft + kSkillPointStep * j, kSkillRowTop + kSkillRowStep * k,
                      kSkillPointSize, kSkillPointSize},
                     0xFF00F6FF);
}

Sheet composeSheet(const SheetSources& sources, const SheetVariant& variant) {
    Sheet sheet;
    const ScreenSpec* screen = findScreenSpec(variant.screen);
    const char16_t* backdrop =
        screen->backdrop ? screen->backdrop
                         : screen->backdropByStadium[static_cast<size_t>(variant.stadium)];
    const DecodedPicture picture =
        decodePicture(readPakEntry(sources.pak, dataEntryName(backdrop)));
    if (picture.width != kScreenWidth || picture.height != kScreenHeight || picture.components != 3)
        throw std::runtime_error("backdrop is not 240 x 320 colour: " +
                                 toUtf8(WideString(backdrop)));
    for (size_t i = 0; i < static_cast<size_t>(kScreenWidth) * kScreenHeight; ++i) {
        std::copy(&picture.samples[i * 3], &picture.samples[i * 3] + 3, &sheet.pixels[i * 4]);
        sheet.pixels[i * 4 + 3] = 255;
    }
    int slotIndex = 0;
    for (const ButtonSpec& button : screen->buttons)
        drawButton(sheet, sources, button, slotIndex++, variant);
    if (variant.screen == NewPlayer && variant.state != SheetState::Keyboard)
        drawSkillPoints(sheet);
    return sheet;
}

bool hasPressedFaces(const ScreenSpec& screen) {
    return std::any_of(screen.buttons.begin(), screen.buttons.end(),
                       [](const ButtonSpec& b) { return b.startFace == 0 && b.faces[1].image; });
}

std::vector<SheetVariant> sheetVariants() {
    std::vector<SheetVariant> variants;
    for (const ScreenSpec& screen : allScreenSpecs()) {
        char base[8];
        std::snprintf(base, sizeof base, "%02d", static_cast<int>(screen.id));
        if (!screen.backdropByStadium.empty()) {
            for (int s = 0; s < kStadiumCount; ++s)
                variants.push_back({screen.id, SheetState::Start, s,
                                    std::string(base) + "_court" + std::to_string(s + 1)});
            continue;
        }
        variants.push_back({screen.id, SheetState::Start, 0, std::string(base) + "_start"});
        if (hasPressedFaces(screen))
            variants.push_back({screen.id, SheetState::Pressed, 0, std::string(base) + "_pressed"});
        if (screen.id == NewPlayer)
            variants.push_back(
                {screen.id, SheetState::Keyboard, 0, std::string(base) + "_keyboard"});
        if (screen.id == ExhibitionStadium)
            for (int s = 1; s < kStadiumCount; ++s)
                variants.push_back({screen.id, SheetState::Start, s,
                                    std::string(base) + "_stadium" + std::to_string(s + 1)});
    }
    return variants;
}

// All sheets side by side, eight to a row, with a gap between them.
void writeOverview(const std::vector<Sheet>& sheets, const std::string& path) {
    constexpr int kColumns = 8, kGap = 6;
    const int rows = static_cast<int>((sheets.size() + kColumns - 1) / kColumns);
    const int width = kColumns * (kScreenWidth + kGap) + kGap;
    const int height = rows * (kScreenHeight + kGap) + kGap;
    std::vector<uint8_t> out(static_cast<size_t>(width) * height * 4, 40);
    for (size_t i = 0; i < sheets.size(); ++i) {
        const int ox = kGap + static_cast<int>(i % kColumns) * (kScreenWidth + kGap);
        const int oy = kGap + static_cast<int>(i / kColumns) * (kScreenHeight + kGap);
        for (int y = 0; y < kScreenHeight; ++y)
            std::copy(&sheets[i].pixels[static_cast<size_t>(y) * kScreenWidth * 4],
                      &sheets[i].pixels[static_cast<size_t>(y + 1) * kScreenWidth * 4],
                      &out[(static_cast<size_t>(oy + y) * width + ox) * 4]);
    }
    if (!writePngRgba(path, out.data(), width, height))
        throw std::runtime_error("cannot write " + path);
}

} // namespace

int writeContactSheets(const std::string& pakPath, const std::string& folder) {
    PakArchive* pak = pakOpen(fromUtf8(pakPath), 1);
    std::vector<Sheet> sheets;
    try {
        std::filesystem::create_directories(folder);
        SheetSources sources{pak, fontFromPak(pak, kFont6x12Name)};
        for (const SheetVariant& variant : sheetVariants()) {
            sheets.push_back(composeSheet(sources, variant));
            const std::string path = folder + "/" + variant.name + ".png";
            if (!writePngRgba(path, sheets.back().pixels.data(), kScreenWidth, kScreenHeight))
                throw std::runtime_error("cannot write " + path);
        }
        writeOverview(sheets, folder + "/all_screens.png");
    } catch (...) {
        pakClose(pak);
        throw;
    }
    pakClose(pak);
    return static_cast<int>(sheets.size());
}
