#include <gtest/gtest.h>

#include <regex>

#include "analytics/ZrSystemInfo.h"

namespace zerin::analytics {
namespace {

TEST(ZrSystemInfo, WindowsVersionTable) {
    const struct {
        WindowsVersion version;
        bool is64;
        bool r2;
        const char* text;
    } cases[] = {
        {{5, 0, 2195}, false, false, "2K"},
        {{5, 1, 2600}, false, false, "XP"},
        {{5, 2, 3790}, true, false, "XP64"},
        {{5, 2, 3790}, false, true, "Server 2003 R2"},
        {{5, 2, 3790}, false, false, "Server 2003"},
        {{5, 3, 0}, false, false, "XP+"},
        {{6, 0, 6000}, true, false, "Vista64"},
        {{6, 0, 6000}, false, false, "Vista"},
        {{6, 1, 7601}, true, false, "7"},
        {{6, 1, 7601}, false, false, "7-32"},
        {{6, 2, 9200}, false, false, "8-32"},
        {{6, 3, 9600}, false, false, "8.1"},
        {{6, 4, 0}, true, false, "8.1+"},
        {{10, 0, 19045}, true, false, "10"},
        {{10, 0, 21999}, true, false, "10"},
        {{10, 0, 22000}, true, false, "11"},
        {{10, 0, 0xF0004A65}, true, false, "10"},  // only the low 16 bits are the build
        {{10, 1, 0}, true, false, "11+"},
        {{7, 2, 100}, true, false, "7.2.100"},
        {{4, 0, 1381}, false, false, "XP-"},
        {{10, 0, 22000, false}, true, false, "XP-"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(windowsVersionText(c.version, c.is64, c.r2), c.text)
            << c.version.major << "." << c.version.minor << "." << c.version.build;
    }
}

TEST(ZrSystemInfo, UserAgent) {
    EXPECT_EQ(userAgent("Windows", "10", windowsPlatformToken(true)), "Mozilla/5.0(Windows 10; Win64;)");
    EXPECT_EQ(userAgent("Windows", "7-32", windowsPlatformToken(false)), "Mozilla/5.0(Windows 7-32; Win32;)");
}

TEST(ZrSystemInfo, RunningSystemIsReportedAsItIs) {
    const auto& system = runningSystem();
    EXPECT_EQ(system.name, "Linux");
    EXPECT_FALSE(system.version.empty());
    EXPECT_FALSE(system.platformToken.empty());
}

TEST(ZrSystemInfo, GuidText) {
    Guid g{0x1A2B3C4D, 0x00EF, 0xA0B0, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
    EXPECT_EQ(formatGuid(g), "1A2B3C4D-00EF-A0B0-0123-456789ABCDEF");
    const std::regex shape("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}");
    const std::string a = generateId();
    EXPECT_TRUE(std::regex_match(a, shape)) << a;
    EXPECT_NE(a, generateId());
}

TEST(ZrSystemInfo, FailingGuidSourceFallsBackAfterElevenAttempts) {
    int calls = 0;
    const std::string id = generateId([&]() -> std::optional<Guid> {
        ++calls;
        return std::nullopt;
    });
    EXPECT_EQ(calls, 11);
    // Lower-case hex groups shaped like a random GUID: version nibble 4, variant 8 to b.
    EXPECT_TRUE(std::regex_match(id, std::regex("[0-9a-f]+-[0-9a-f]+-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]+"))) << id;

    std::mt19937 first, second;
    EXPECT_EQ(fallbackId(first), fallbackId(second));  // the default seed makes it repeatable
}

TEST(ZrSystemInfo, FirstGuidIsDiscarded) {
    int calls = 0;
    const std::string id = generateId([&]() -> std::optional<Guid> {
        ++calls;
        return Guid{static_cast<uint32_t>(calls), 0, 0, {}};
    });
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(id, "00000002-0000-0000-0000-000000000000");
}

}  // namespace
}  // namespace zerin::analytics
