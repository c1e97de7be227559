// contact_sheets.cpp: composes each screen from data.pak with the game's own loaders and drawing.
#include "contact_sheets.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <vector>

#include "assets/asset_names.h"
#include "assets/file_error.h"
#include "assets/image_button.h"
#include "assets/image_loading.h"
#include "assets/jpeg_decoder.h"
#include "assets/pak_archive.h"
#include "frontend/match_statistics.h"
#include "frontend/screen_tables.h"
#include "render/camera.h"
#include "render/render_context.h"
#include "view/button_drawing.h"
#include "view/hud_text.h"
#include "view/match_scene.h"
#include "view/statistics_drawing.h"
#include "writers/png_writer.h"

namespace {

struct SheetSources {
    PakArchive* pak;
    JpegDecoder* decoder;
    FrameBuffers* frame;
    const CameraSetup* camera;
};

enum class SheetState { Start, Pressed, Keyboard };

struct SheetVariant {
    ScreenId screen;
    SheetState state;
    int stadium;
    std::string name;
};

// Sample values for everything the game fills in at run time.
WideString sampleLabel(const ButtonLayout& button, int slotIndex) {
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

// A long three-set match for the statistics page, its names as long as a profile allows.
FinishedMatch sampleFinishedMatch() {
    FinishedMatch match;
    match.firstNames[0] = u"Alexandra";
    match.lastNames[0] = u"Moreno-Diaz";
    match.firstNames[1] = u"Gus";
    match.lastNames[1] = u"Tanaka";
    match.setGames[0] = u"6 4 7";
    match.setGames[1] = u"3 6 6";
    const int32_t figures[2][10] = {{112, 61, 58, 37, 7, 4, 23, 19, 9, 14},
                                    {98, 55, 51, 40, 3, 6, 17, 25, 4, 11}};
    for (int p = 0; p < 2; ++p) {
        PlayerTally& t = match.tally.players[p];
        const int32_t* f = figures[p];
        t.pointsWon = f[0];
        t.servicePoints = 105;
        t.servicePointsWon = f[1];
        t.firstServes = 105;
        t.firstServesIn = f[2];
        t.aces = f[4];
        t.doubleFaults = f[5];
        t.winners[0] = f[6];
        t.errors[0] = f[7];
        t.netPoints = f[9];
        t.netPointsWon = f[8];
        t.fastestServeInKmh = 180 + f[4];
    }
    match.tally.longestRally = 23;
    return match;
}

// Sheets are kept top row first for the PNG writer and the overview.
using Sheet = std::vector<uint8_t>;

// Makes the screen's button in its slot as the screen entry does, at the variant's state.
ImageButton* makeSheetButton(const SheetSources& sources, const ButtonLayout& layout, int slotIndex,
                             const SheetVariant& variant) {
    const ScreenRect& r = layout.rect;
    ImageButton* button = makeImageButton(r.left, r.top, r.width, r.height);
    try {
        for (int face = 0; face < 3; ++face) {
            FaceImage image = layout.faces[face];
            if (layout.choice && layout.choice->face == face)
                image = *chosenFace(*layout.choice, variant.stadium);
            if (image.image)
                loadFace(sources.decoder, button, sources.pak, face, buttonEntryName(image.image),
                         image.mask ? buttonEntryName(image.mask).c_str() : nullptr);
        }
    } catch (...) {
        freeImageButton(button); // not in the caller's list yet
        throw;
    }
    if (layout.label != LabelSource::None)
        setImageButtonLabel(button, sampleLabel(layout, slotIndex).c_str());
    const uint32_t fill = sampleFill(layout.fill);
    if (layout.fill == FillSource::PowerMeter) {
        button->fillColour[2] = fill;
        button->width = 30; // the meter at about two thirds
    } else {
        button->fillColour[0] = fill;
    }
    button->currentFace = layout.startFace;
    const bool isKeyboard =
        layout.faces[0].image && std::u16string_view(layout.faces[0].image) == u"Teclado.jpg";
    if (variant.state == SheetState::Keyboard)
        button->currentFace = isKeyboard ? ButtonFace::Normal : ButtonFace::Static;
    if (variant.state == SheetState::Pressed && button->currentFace == ButtonFace::Normal &&
        button->face[1])
        button->currentFace = ButtonFace::Pressed;
    return button;
}

// What the game draws itself on the editor: the skill points.
void drawSkillPoints(FrameBuffers& frame) {
    for (int k = 0; k < kSkillRows; ++k)
        for (int j = 0; j < 4 + (k % 3); ++j)
            fillRect(frame, kSkillBarLeft + kSkillPointStep * j, kSkillRowTop + kSkillRowStep * k,
                     kSkillPointSize, kSkillPointSize, 0xFF00F6FF);
}

Sheet composeSheet(const SheetSources& sources, const SheetVariant& variant) {
    const ScreenLayout* screen = findScreenLayout(variant.screen);
    const char16_t* backdrop =
        screen->backdrop ? screen->backdrop
                         : screen->backdropByStadium[static_cast<size_t>(variant.stadium)];
    FrameBuffers& frame = *sources.frame;
    loadBackground(sources.decoder, sources.pak, dataEntryName(backdrop), frame.backdrop);
    markBackdropChanged(frame);
    beginFrame(frame);
    if (variant.screen == ExhibitionMatch || variant.screen == TournamentMatch ||
        variant.screen == Practice)
        drawNetScene(frame.renderContext, *sources.camera);
    std::vector<ImageButton*> buttons;
    try {
        int slotIndex = 0;
        for (const ButtonLayout& layout : screen->buttons)
            buttons.push_back(makeSheetButton(sources, layout, slotIndex++, variant));
    } catch (...) {
        for (ImageButton* b : buttons)
            freeImageButton(b);
        throw;
    }
    drawButtons(frame, buttons.data(), static_cast<int>(buttons.size()));
    for (ImageButton* b : buttons)
        freeImageButton(b);
    if (variant.screen == NewPlayer && variant.state != SheetState::Keyboard)
        drawSkillPoints(frame);
    if (variant.screen == Statistics)
        drawStatisticsPage(frame, statisticsPage(sampleFinishedMatch()));
    if (showsMatchResult(variant.screen))
        drawResultCaption(frame);
    Sheet sheet(static_cast<size_t>(kScreenPixels) * 4);
    for (int y = 0; y < kScreenHeight; ++y)
        for (int x = 0; x < kScreenWidth; ++x) {
            const uint32_t p = frame.drawBuffer[frameBufferIndex(x, y)];
            for (int k = 0; k < 4; ++k)
                sheet[(static_cast<size_t>(y) * kScreenWidth + x) * 4 + k] =
                    static_cast<uint8_t>(p >> (8 * k));
        }
    return sheet;
}

bool hasPressedFaces(const ScreenLayout& screen) {
    return std::any_of(screen.buttons.begin(), screen.buttons.end(), [](const ButtonLayout& b) {
        return b.startFace == ButtonFace::Normal && b.faces[1].image;
    });
}

std::vector<SheetVariant> sheetVariants() {
    std::vector<SheetVariant> variants;
    for (const ScreenLayout& screen : allScreenLayouts()) {
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
            std::copy(&sheets[i][static_cast<size_t>(y) * kScreenWidth * 4],
                      &sheets[i][static_cast<size_t>(y + 1) * kScreenWidth * 4],
                      &out[(static_cast<size_t>(oy + y) * width + ox) * 4]);
    }
    if (!writePngRgba(path, out.data(), width, height))
        throw std::runtime_error("cannot write " + path);
}

std::vector<Sheet> writeSheets(const SheetSources& sources, const std::string& folder) {
    std::vector<Sheet> sheets;
    for (const SheetVariant& variant : sheetVariants()) {
        sheets.push_back(composeSheet(sources, variant));
        const std::string path = folder + "/" + variant.name + ".png";
        if (!writePngRgba(path, sheets.back().data(), kScreenWidth, kScreenHeight))
            throw std::runtime_error("cannot write " + path);
    }
    writeOverview(sheets, folder + "/all_screens.png");
    return sheets;
}

} // namespace

int writeContactSheets(const std::string& pakPath, const std::string& folder) {
    std::filesystem::create_directories(folder);
    PakArchive* pak = pakOpen(fromUtf8(pakPath), 1);
    JpegDecoder* decoder = makeJpegDecoder();
    FrameBuffers frame;
    makeFrameBuffers(frame);
    frame.renderContext = rcCreate();
    const CameraSetup camera = makeCameraSetup();
    size_t count = 0;
    std::string failure;
    try {
        loadFont(pak, kFont8x16Name, frame.font8x16);
        loadFont(pak, kFont6x12Name, frame.font6x12);
        count = writeSheets({pak, decoder, &frame, &camera}, folder).size();
    } catch (const FileError& e) {
        failure = toUtf8(fileErrorText(e));
    } catch (const std::exception& e) {
        failure = e.what();
    }
    rcDestroy(frame.renderContext);
    freeFrameBuffers(frame);
    destroyJpegDecoder(decoder);
    pakClose(pak);
    if (!failure.empty())
        throw std::runtime_error("contact sheets: " + failure);
    return static_cast<int>(count);
}
