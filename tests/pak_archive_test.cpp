// The archive reader through real files built by the writer in a temp folder.
#include "assets/data_stream.h"
#include "pak_fixture.h"

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

struct Pak : PakFixture, ::testing::Test {};

TEST_F(Pak, FindsEveryEntryWhateverTheCase) {
    open({{u"D:\\VELDAR\\Data\\FONT8x16.pgm", bytesOf("font")},
          {u"D:\\VELDAR\\Data\\Main.jpg", bytesOf("main")},
          {u"D:\\VELDAR\\Data\\Btns\\close.jpg", bytesOf("x")},
          {u"D:\\VELDAR\\Data\\Sounds\\bote bola 1.wav", bytesOf("wav")}});
    ASSERT_EQ(archive->entryCount, 4);
    const int32_t font = pakFind(archive, u"d:\\veldar\\data\\font8x16.pgm");
    ASSERT_GE(font, 0);
    char buffer[8] = {};
    EXPECT_EQ(pakReadAt(archive, font, 0, buffer, 8), 4u);
    EXPECT_STREQ(buffer, "font");
    for (const char16_t* name :
         {u"D:\\VELDAR\\Data\\Main.jpg", u"D:\\VELDAR\\Data\\Btns\\close.jpg",
          u"D:\\VELDAR\\DATA\\SOUNDS\\BOTE BOLA 1.WAV"})
        EXPECT_GE(pakFind(archive, name), 0);
    EXPECT_EQ(pakFind(archive, u"D:\\VELDAR\\Data\\Missing.jpg"), -1);
}

TEST_F(Pak, ReadsAreCutAtTheEntryEnd) {
    std::vector<uint8_t> data(50);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(i);
    open({{u"A", data}, {u"B", bytesOf("next entry")}});
    const int32_t a = pakFind(archive, u"a");
    uint8_t buffer[100];
    EXPECT_EQ(pakReadAt(archive, a, 40, buffer, 100), 10u);
    EXPECT_EQ(buffer[0], 40);
    EXPECT_EQ(pakReadAt(archive, a, 50, buffer, 100), 0u);
    uint32_t position = 45;
    EXPECT_EQ(pakReadAdvance(archive, a, position, buffer, 100), 5u);
    EXPECT_EQ(position, 50u);
    EXPECT_EQ(pakReadAdvance(archive, a, position, buffer, 100), 0u);
    EXPECT_EQ(position, 50u);
    EXPECT_EQ(pakEntry(archive, -1), nullptr);
    EXPECT_EQ(pakEntry(archive, 2), nullptr);
    EXPECT_EQ(pakReadAt(archive, -1, 0, buffer, 1), 0u);
    EXPECT_EQ(pakReadAt(archive, 2, 0, buffer, 1), 0u);
}

TEST_F(Pak, EmptyArchiveFindsNothing) {
    open({});
    EXPECT_EQ(archive->entryCount, 0);
    EXPECT_TRUE(platformFileIsOpen(archive->file));
    EXPECT_EQ(pakFind(archive, u"A"), -1);
}

TEST_F(Pak, MissingShortOrForeignFilesLeaveAnEmptyArchive) {
    openPath(dir.file("nothing.pak"));
    EXPECT_EQ(pakFind(archive, u"A"), -1);
    openBytes({0xEA, 0xAF, 0xAB, 0xAC, 1, 0}); // cut inside the header
    EXPECT_FALSE(platformFileIsOpen(archive->file));
    auto bytes = buildPak({{u"A", bytesOf("a")}});
    bytes[0] ^= 1;
    openBytes(bytes);
    EXPECT_EQ(pakFind(archive, u"A"), -1);
}

TEST_F(Pak, AbsurdEntryCountIsRejectedWithoutAllocating) {
    auto bytes = buildPak({{u"A", bytesOf("a")}});
    bytes[4] = 0xFF, bytes[5] = 0xFF, bytes[6] = 0xFF, bytes[7] = 0x7F; // count * 256 overflows
    openBytes(bytes);
    EXPECT_EQ(archive->entryCount, 0);
    EXPECT_EQ(pakFind(archive, u"A"), -1);
    bytes[4] = 2, bytes[5] = 0, bytes[6] = 0, bytes[7] = 0; // one record more than the file has
    openBytes(bytes);
    EXPECT_EQ(pakFind(archive, u"A"), -1);
    EXPECT_EQ(archive->problem, PakProblem::Corrupt);
}

// "File data corrupt: <path>: <why>", or "Cannot open file: <entry> in <path>", as the player
// is told.
std::string openFailure(PakArchive* archive, const WideString& name) {
    try {
        DataStream stream;
        dataStreamOpen(stream, archive, name);
    } catch (const FileError& error) {
        return toUtf8(fileErrorText(error));
    }
    return "opened";
}

// Two entries "A" (3 bytes at 12) and "B" (4 bytes at 15); directory records at 19 and 275.
std::vector<uint8_t> twoEntries() {
    return buildPak({{u"A", bytesOf("aaa")}, {u"B", bytesOf("bbbb")}});
}

TEST_F(Pak, ADirectoryThatDisagreesWithTheFileIsCorruptAtOpen) {
    const std::vector<std::pair<const char*, std::function<void(std::vector<uint8_t>&)>>> damages =
        {
            {"huge size", [](auto& b) { putLe32(b, 19 + 244, 0xFFFFFFFF); }},
            {"size past the data", [](auto& b) { putLe32(b, 275 + 244, 5); }},
            {"offset in the header", [](auto& b) { putLe32(b, 19 + 240, 4); }},
            {"offset in the directory", [](auto& b) { putLe32(b, 275 + 240, 19); }},
            {"offset wraps", [](auto& b) { putLe32(b, 275 + 240, 0xFFFFFFFE); }},
            {"entries overlap", [](auto& b) { putLe32(b, 275 + 240, 14); }},
            {"unsorted", [](auto& b) { b[19] = 'C'; }},
            {"repeated", [](auto& b) { b[275] = 'a'; }},
            {"unterminated", [](auto& b) { std::fill(b.begin() + 19, b.begin() + 19 + 240, 'Q'); }},
            {"data size too small", [](auto& b) { putLe32(b, 8, 6); }},
            {"data size too large", [](auto& b) { putLe32(b, 8, 8); }},
            {"count too small", [](auto& b) { putLe32(b, 4, 1); }},
            {"trailing bytes", [](auto& b) { b.push_back(0); }},
        };
    for (const auto& [what, damage] : damages) {
        std::vector<uint8_t> bytes = twoEntries();
        damage(bytes);
        openBytes(bytes);
        EXPECT_EQ(archive->problem, PakProblem::Corrupt) << what;
        EXPECT_EQ(archive->entryCount, 0) << what;
        EXPECT_FALSE(platformFileIsOpen(archive->file)) << what;
        const std::string failure = openFailure(archive, u"A");
        EXPECT_EQ(failure.rfind("File data corrupt: " + dir.file("data.pak") + ": ", 0), 0u)
            << what << ": " << failure;
    }
    // An empty entry may sit anywhere in the data area, even where another one starts.
    std::vector<uint8_t> bytes = twoEntries();
    putLe32(bytes, 19 + 244, 0);
    openBytes(bytes);
    EXPECT_EQ(archive->problem, PakProblem::None);
}

TEST_F(Pak, EveryMessageSaysWhichFileAndWhy) {
    const std::string path = this->path();
    openPath(path);
    EXPECT_EQ(openFailure(archive, u"A"), "Cannot open file: " + path + " is missing");
    std::filesystem::create_directory(path);
    openPath(path);
    EXPECT_EQ(openFailure(archive, u"A"), "Cannot open file: " + path + " is a folder");
    std::filesystem::remove(path);
    openBytes({});
    EXPECT_EQ(openFailure(archive, u"A"),
              "Cannot open file: " + path + " is empty, not a data archive");
    openBytes(bytesOf("<html>not an archive</html>"));
    EXPECT_EQ(openFailure(archive, u"A"), "Cannot open file: " + path + " is not a data archive");
    open({{u"D:\\VELDAR\\Data\\Model\\Tenista_Saque.key", bytesOf("k")}});
    EXPECT_EQ(openFailure(archive, u"D:\\VELDAR\\Data\\Model\\Tenista_Reves.key"),
              "Cannot open file: Tenista_Reves.key in " + path);
}

TEST_F(Pak, ALookupNameLongerThanTheFieldNeverMatches) {
    const WideString longest(kPakNameUnits - 1, u'Q');
    open({{longest, bytesOf("q")}});
    EXPECT_EQ(pakFind(archive, longest), 0);
    EXPECT_EQ(pakFind(archive, longest + u"Q"), -1);
    EXPECT_EQ(pakFind(archive, longest + WideString(200, u'Q')), -1);
}

TEST_F(Pak, ReadWriteModeCreatesAnEmptyArchive) {
    openPath(dir.file("new.pak"), 0);
    EXPECT_EQ(archive->headerSize, 12u);
    std::ifstream written(dir.file("new.pak"), std::ios::binary);
    EXPECT_EQ((std::vector<uint8_t>{std::istreambuf_iterator<char>(written), {}}),
              (std::vector<uint8_t>{0xEA, 0xAF, 0xAB, 0xAC, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(PakWriter, SortsByUpperCaseNameAndRejectsRepeats) {
    // '_' (0x5F) sorts after upper-case letters but before lower-case ones: upper-casing decides.
    const auto bytes = buildPak({{u"b_x", {}}, {u"B", {}}, {u"a", {}}, {u"ba", {}}});
    EXPECT_EQ(bytes[12], 'a');
    EXPECT_EQ(bytes[12 + 256], 'B');
    EXPECT_EQ(bytes[12 + 512 + 2], 'a'); // "ba" before "b_x"
    EXPECT_EQ(bytes[12 + 768 + 2], '_');
    EXPECT_THROW(buildPak({{u"x", {}}, {u"X", {}}}), std::invalid_argument);
}

} // namespace
