#include "core/number_text.h"
#include "core/twips.h"

#include <gtest/gtest.h>

namespace quandel {
namespace {

TEST(NumberText, SignPositionFollowsTheValue) {
    struct Row {
        std::int64_t n;
        const char *number, *decimal;
    } rows[] = {{12, " 12", "12"},
                {0, " 0", "0"},
                {-3, "-3", "-3"},
                {2147483647, " 2147483647", "2147483647"}};
    for (const Row &r : rows) {
        EXPECT_EQ(NumberText(r.n), r.number) << r.n;
        EXPECT_EQ(DecimalText(r.n), r.decimal) << r.n;
    }
}

TEST(ParseStoredNumber, AcceptsDecimalTextAndRefusesEverythingElse) {
    struct Row {
        const char *name, *text;
        std::optional<std::int32_t> value;
    } rows[] = {
        {"plain", "11250", 11250},
        {"negative", "-120", -120},
        {"blanks around", "  42 ", 42},
        {"plus sign", "+7", 7},
        {"empty", "", std::nullopt},
        {"blanks only", "   ", std::nullopt},
        {"letters", "abc", std::nullopt},
        {"trailing garbage", "12px", std::nullopt},
        {"decimal point", "1.5", std::nullopt},
        {"beyond 32 bits", "99999999999", std::nullopt},
        {"lowest 32-bit", "-2147483648", INT32_MIN},
        {"binary junk", "\x01\xff", std::nullopt},
    };
    for (const Row &r : rows)
        EXPECT_EQ(ParseStoredNumber(r.text), r.value) << r.name;
}

TEST(Cp1252, ConvertsTheProgramsOwnTexts) {
    EXPECT_EQ(Cp1252("Änderungen"), "\xC4nderungen");
    EXPECT_EQ(Cp1252("ß€š"), "\xDF\x80\x9A");
    EXPECT_EQ(Cp1252("plain"), "plain");
    EXPECT_EQ(Cp1252("Ω"), "?"); // not in the code page
}

TEST(Twips, RoundTripAtCommonResolutions) {
    for (double dpi : {96.0, 120.0, 144.0, 192.0}) {
        for (int px : {0, 1, 7, 750, 1919, -40}) {
            EXPECT_EQ(TwipsToPixels(PixelsToTwips(px, dpi), dpi), px) << dpi << " " << px;
        }
    }
    EXPECT_EQ(TwipsToPixels(11250, 96), 750);
    EXPECT_EQ(PixelsToTwips(467, 96), 7005);
    EXPECT_EQ(TwipsToPixels(15, 0), 1); // a screen reporting no resolution counts as 96 dpi
}

TEST(BringOntoScreens, KeepsVisibleWindowsAndRescuesLostOnes) {
    const std::vector<Rect> twoScreens = {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
    struct Row {
        const char *name;
        Rect in, out;
    } rows[] = {
        {"on the first screen", {100, 100, 750, 467}, {100, 100, 750, 467}},
        {"on the second screen", {2000, 50, 750, 467}, {2000, 50, 750, 467}},
        {"partly off to the left but grip visible", {-700, 10, 750, 467}, {-700, 10, 750, 467}},
        {"on a monitor that is gone", {5000, 300, 750, 467}, {0, 0, 750, 467}},
        {"above every screen", {100, -900, 750, 467}, {0, 0, 750, 467}},
        {"below every screen", {100, 1070, 750, 467}, {0, 0, 750, 467}},
        {"larger than the screen and lost", {9000, 9000, 5000, 4000}, {0, 0, 1920, 1080}},
        {"larger than all screens together", {10, 20, 133333333, 133333333}, {10, 20, 3200, 1080}},
    };
    for (const Row &r : rows)
        EXPECT_EQ(BringOntoScreens(r.in, twoScreens), r.out) << r.name;
    EXPECT_EQ(BringOntoScreens({5000, 5000, 10, 10}, {}), (Rect{5000, 5000, 10, 10}));
}

} // namespace
} // namespace quandel
