// The data builder: the same bytes on every run, the same as the data.pak the build left.
#include "built_data.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::vector<char> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DataBuilder, TwoRunsGiveIdenticalBytes) {
    TempDir dir;
    ASSERT_TRUE(runDataBuilder(dir.file("first.pak")));
    ASSERT_TRUE(runDataBuilder(dir.file("second.pak")));
    const auto first = bytesOf(dir.file("first.pak"));
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(first, bytesOf(dir.file("second.pak")));
    EXPECT_EQ(first, bytesOf(builtDataPath()));
    EXPECT_LT(first.size(), 3u * 1024 * 1024);
}

TEST(DataBuilder, RefusesToRunWithoutAnOutput) {
    EXPECT_NE(std::system((std::string(DROVANA_BUILD_DIR) + "/make-data > /dev/null 2>&1").c_str()),
              0);
}

} // namespace
