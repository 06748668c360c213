#include "core/ui/msgbox_layout.h"

#include <gtest/gtest.h>

namespace {
using namespace msgbox;

const std::vector<std::string> kDefaultCaptions = {"&OK",    "&Cancel", "&Yes",   "&No",
                                                   "&Abort", "&Retry",  "&Ignore"};

std::vector<std::string> CaptionsOf(int set) {
    std::vector<std::string> out;
    for (const ButtonSpec& b : ButtonSet(set))
        out.push_back(kDefaultCaptions[b.captionIndex]);
    return out;
}

TEST(MsgBoxRules, ButtonSets) {
    struct {
        int set;
        std::vector<int> items, results;
    } cases[] = {
        {0, {0}, {1}},
        {1, {0, 1}, {1, 2}},
        {2, {4, 5, 6}, {3, 4, 5}},
        {3, {2, 3, 1}, {6, 7, 2}},
        {4, {2, 3}, {6, 7}},
        {5, {5, 1}, {4, 2}},
        {6, {}, {}},
        {15, {}, {}},
    };
    for (const auto& c : cases) {
        std::vector<int> items, results;
        for (const ButtonSpec& b : ButtonSet(c.set)) {
            items.push_back(b.captionIndex);
            results.push_back(b.result);
        }
        EXPECT_EQ(items, c.items) << c.set;
        EXPECT_EQ(results, c.results) << c.set;
    }
}

TEST(MsgBoxRules, DefaultButtonAndFlags) {
    EXPECT_EQ(DefaultButtonIndex(0x203, 3), 2);
    EXPECT_EQ(DefaultButtonIndex(0x301, 2), 1); // modulo the count
    EXPECT_EQ(DefaultButtonIndex(0xF00, 1), 0);
    EXPECT_EQ(DefaultButtonIndex(0x200, 0), -1);

    EXPECT_EQ(EffectiveFlags(0x10, 0, 1), 0x10u);
    EXPECT_EQ(EffectiveFlags(0x10, 0, 177), 0x180010u);
    EXPECT_EQ(EffectiveFlags(0x10, 1, 178), 0x180010u);
    EXPECT_EQ(EffectiveFlags(0x10, 2, 179), 0x10000010u);
    EXPECT_EQ(EffectiveFlags(0, 0x12345, 1), 0u);
}

TEST(MsgBoxRules, KeyboardChoice) {
    std::vector<std::string> yesNoCancel = CaptionsOf(3);
    EXPECT_EQ(AltCharButton(yesNoCancel, 'y'), 0);
    EXPECT_EQ(AltCharButton(yesNoCancel, 'N'), 1);
    EXPECT_EQ(AltCharButton(yesNoCancel, 'c'), 2);
    EXPECT_EQ(AltCharButton(yesNoCancel, 'x'), -1);
    EXPECT_EQ(AltCharButton({"&Ja", "&Jein"}, 'j'), 0); // leftmost
    EXPECT_EQ(AltCharButton({"J", ""}, 'j'), -1);

    EXPECT_EQ(LetterKeyButton(yesNoCancel, 'Y'), 0);
    EXPECT_EQ(LetterKeyButton(yesNoCancel, 'C'), 2);
    EXPECT_EQ(LetterKeyButton({"&Ja", "&Jein"}, 'J'), 1);  // rightmost
    EXPECT_EQ(LetterKeyButton({"Ok", "Can&cel"}, 'O'), 0); // no '&': first character
    EXPECT_EQ(LetterKeyButton({"Ok", "Can&cel"}, 'C'), 1);
    EXPECT_EQ(LetterKeyButton({"x&"}, 'X'), -1);
    // Numeric-pad 3 (0x63, 'c') and F3 (0x72, 'r') are not letters.
    EXPECT_EQ(LetterKeyButton(yesNoCancel, 0x63), -1);
    EXPECT_EQ(LetterKeyButton(CaptionsOf(5), 0x72), -1);
}

TEST(MsgBoxRules, FontAndLineHeight) {
    EXPECT_EQ(FontHeight(8, 96), -11); // 10.67 rounds to 11
    EXPECT_EQ(FontHeight(9, 96), -12);
    EXPECT_EQ(FontHeight(8, 120), -13); // 13.33
    EXPECT_EQ(FontHeight(3, 12), -1);   // 0.5 rounds away from zero
    EXPECT_EQ(LineHeight(13, 0, "Tahoma"), 13);
    EXPECT_EQ(LineHeight(13, 2, " ms pgothic "), 16);
}

TEST(MsgBoxRules, MeasureText) {
    auto sevenPerChar = [](const std::string& s) { return static_cast<int>(s.size()) * 7; };
    struct {
        std::string text;
        Size want;
    } cases[] = {
        {"", {17, 13}},                                    // measured as one space
        {"abc", {31, 13}},                                 // 21 + 10
        {"abc\r\n", {31, 13}},                             // a final line end adds no line
        {"a\r\n\r\nbb", {24, 39}},                         // empty middle line counts
        {std::string(100, 'x'), {600, 26}},                // 700 pixels: two lines, width capped
        {std::string(171, 'x'), {600, 26}},                // 1197
        {std::string(172, 'x') + "\r\nx", {600, 39 + 13}}, // 1204: three lines
    };
    for (const auto& c : cases)
        EXPECT_EQ(MeasureText(c.text, 13, sevenPerChar), c.want) << c.text;
}

TEST(MsgBoxRules, BoxGeometry) {
    FrameMetrics f{3, 3, 18};
    EXPECT_EQ(BoxSize({150, 30}, f), (Size{360, 30 + 36 + 90 + 6 + 18})); // 150+54+128+6 = 338
    EXPECT_EQ(BoxSize({250, 39}, f), (Size{250 + 54 + 64 + 6, 39 + 36 + 64 + 6 + 18}));
    EXPECT_EQ(BoxSize({199, 38}, f), (Size{199 + 54 + 128 + 6, 38 + 36 + 90 + 6 + 18}));

    EXPECT_EQ(CentreBox({0, 0, 1024, 738}, {361, 200}), (Rect{331, 269, 361, 200}));
    EXPECT_EQ(CentreBox({10, 20, 300, 100}, {361, 200}), (Rect{-20, -30, 361, 200}));

    // Client 368 x 155 around a 250 x 39 control: x = 54 + 32, y = 40.
    EXPECT_EQ(TextPlacement({368, 155}, {250, 39}), (Rect{86, 40, 250, 76}));

    Size client{400, 150};
    EXPECT_EQ(ButtonPlace(client, 0, 1), (Rect{320, 121, 70, 23}));
    EXPECT_EQ(ButtonPlace(client, 0, 3), (Rect{180, 121, 70, 23}));
    EXPECT_EQ(ButtonPlace(client, 1, 3), (Rect{250, 121, 70, 23}));
    EXPECT_EQ(ButtonPlace(client, 2, 3), (Rect{320, 121, 70, 23}));
}

} // namespace
