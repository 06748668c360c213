#pragma once
// The message box's rules that need no window: button sets, keyboard choice,
// text measurement and the geometry of the box.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace msgbox {

struct ButtonSpec {
    int captionIndex; // item of the button list
    int result;
};
// Buttons of a set, left to right; a set above 5 has none.
std::vector<ButtonSpec> ButtonSet(int set);
// Focused button for the flags' default index (modulo count); -1 without buttons.
int DefaultButtonIndex(uint32_t flags, int count);

// Flags after the character set (177, 178: right-aligned, right-to-left) and
// the owner mode (2: Close disabled).
uint32_t EffectiveFlags(uint32_t flags, uintptr_t owner, int charset);

// Alt + character: the leftmost button whose caption's second character is
// the character or its upper case; -1 when none.
int AltCharButton(const std::vector<std::string>& captions, char ch);
// Letter key (virtual-key code 'A'..'Z'): the rightmost button whose caption
// character after the first '&' (the first one without '&'), upper-cased, is
// that letter; -1 when none.
int LetterKeyButton(const std::vector<std::string>& captions, int virtualKey);

struct Size {
    int w = 0;
    int h = 0;
    bool operator==(const Size& o) const { return w == o.w && h == o.h; }
};
struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const Rect& o) const { return x == o.x && y == o.y && w == o.w && h == o.h; }
};

constexpr int kMaxLineWidth = 600;
constexpr int kBandWidth = 54;
constexpr int kButtonWidth = 70;
constexpr int kButtonHeight = 23;

// Pixel height of a font of `points` points for a screen of `dpi` pixels per
// inch, negative (character height), rounded like MulDiv.
int FontHeight(int points, int dpi);
int LineHeight(int charHeight, int externalLeading, const std::string& faceName);
// Estimated text size: lines split at CR LF, each at least one line high and
// one more per 600 pixels of extent; width at most 600.
Size MeasureText(const std::string& text, int lineHeight,
                 const std::function<int(const std::string&)>& extent);

struct FrameMetrics {
    int frameW = 0; // one side of the dialog frame
    int frameH = 0;
    int captionH = 0;
};
// Outer size of the box around a text control of `text` size.
Size BoxSize(Size text, FrameMetrics frame);
// Top-left corner that centres `box` in the work area.
Rect CentreBox(const Rect& workArea, Size box);
// Place of the text control in the client area, keeping its width.
Rect TextPlacement(Size client, Size text);
// Button `index` of `count` (left to right), right-aligned without gaps.
Rect ButtonPlace(Size client, int index, int count);

} // namespace msgbox
