#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <set>
#include <string>

#include "platform/resources.h"
#include "skin/skin_archive.h"

namespace {

bool StartsWith(Platform::ResourceBytes bytes, const char* magic, std::size_t length) {
    return bytes.size() >= length && std::memcmp(bytes.data(), magic, length) == 0;
}

TEST(LinkedResources, SkinArchiveAndIconAreFoundByTypeAndId) {
    const auto archive = Platform::FindResourceBytes("ZIPRES", 147);
    EXPECT_TRUE(StartsWith(archive, "7z\xBC\xAF\x27\x1C", 6));
    EXPECT_EQ(Platform::FindResourceBytes("zipres", 147).data(), archive.data());

    const auto icon = Platform::FindResourceBytes(Platform::kIconResourceType, 145);
    EXPECT_TRUE(StartsWith(icon, "\x89PNG\r\n\x1A\n", 8));
    const auto size = skintest::DecodePng(skintest::Bytes(icon.begin(), icon.end()));
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->width, size->height);

    EXPECT_TRUE(Platform::FindResourceBytes("ZIPRES", 145).empty());
    EXPECT_TRUE(Platform::FindResourceBytes("ZIPRE", 147).empty());
}

TEST(LinkedResources, FirstRegistrationWins) {
    static const std::array<std::uint8_t, 3> first{1, 2, 3};
    static const std::array<std::uint8_t, 1> second{9};
    EXPECT_TRUE(Platform::RegisterResource("TEST", 7, first));
    EXPECT_FALSE(Platform::RegisterResource("test", 7, second));
    EXPECT_EQ(Platform::FindResourceBytes("TEST", 7).size(), 3u);
    EXPECT_FALSE(Platform::RegisterResource("ZIPRES", 147, second));
}

// Every file of the archive is a layout at the root or a PNG below "res", each
// PNG decodes, and images that are drawn in place have the size the layouts give them.
TEST(SkinArchive, HoldsLayoutsAndDecodableImages) {
    const skintest::Archive archive = skintest::ReadLinkedSkin();
    EXPECT_EQ(archive.files.size(), 93u);
    EXPECT_EQ(archive.folders, 5);

    int layouts = 0;
    for (const auto& [name, data] : archive.files) {
        if (name.find('/') == std::string::npos) {
            EXPECT_TRUE(name.ends_with(".xml")) << name;
            ++layouts;
            continue;
        }
        EXPECT_TRUE(name.starts_with("res/") && name.ends_with(".png")) << name;
        EXPECT_TRUE(skintest::DecodePng(data).has_value()) << name;
    }
    EXPECT_EQ(layouts, 6);

    const struct {
        const char* path;
        int width, height;
    } sizes[] = {
        {"res/mainWnd/bg1.png", 600, 400},
        {"res/mainWnd/bg4.png", 600, 400},
        {"res/mainWnd/installBtn1.png", 220, 48},
        {"res/mainWnd/experienceBtn3.png", 220, 48},
        {"res/mainWnd/Cb2.png", 16, 16},
        {"res/mainWnd/installPrg2.png", 440, 8},
        {"res/mainWnd/logo.png", 64, 64},
        {"res/mainWnd/finished.png", 88, 88},
        {"res/MessageBoxWnd/icoNetwork.png", 40, 40},
    };
    for (const auto& s : sizes) {
        const skintest::Bytes* data = skintest::FindEntry(archive, s.path);
        ASSERT_NE(data, nullptr) << s.path;
        const auto size = skintest::DecodePng(*data);
        ASSERT_TRUE(size.has_value()) << s.path;
        EXPECT_EQ(size->width, s.width) << s.path;
        EXPECT_EQ(size->height, s.height) << s.path;
    }

    std::set<std::pair<int, int>> frameSizes;
    for (int i = 0; i < 49; ++i) {
        const std::string digits = std::to_string(i);
        const std::string name =
            "res/mainWnd/installBtnAnimate/" + std::string(3 - digits.size(), '0') + digits + ".png";
        const skintest::Bytes* data = skintest::FindEntry(archive, name);
        ASSERT_NE(data, nullptr) << name;
        const auto size = skintest::DecodePng(*data);
        ASSERT_TRUE(size.has_value()) << name;
        frameSizes.emplace(size->width, size->height);
    }
    EXPECT_EQ(frameSizes, (std::set<std::pair<int, int>>{{96, 96}}));
}

}  // namespace
