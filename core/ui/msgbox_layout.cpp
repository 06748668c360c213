#include "core/ui/msgbox_layout.h"

#include <algorithm>

#include "core/util/text.h"

namespace msgbox {

namespace {
constexpr uint32_t kDefaultMask = 0x00000F00;
constexpr uint32_t kRightAndRtl = 0x00180000;
constexpr uint32_t kNoCloseFlag = 0x10000000;
} // namespace

std::vector<ButtonSpec> ButtonSet(int set) {
    switch (set) {
    case 0:
        return {{0, 1}};
    case 1:
        return {{0, 1}, {1, 2}};
    case 2:
        return {{4, 3}, {5, 4}, {6, 5}};
    case 3:
        return {{2, 6}, {3, 7}, {1, 2}};
    case 4:
        return {{2, 6}, {3, 7}};
    case 5:
        return {{5, 4}, {1, 2}};
    default:
        return {};
    }
}

int DefaultButtonIndex(uint32_t flags, int count) {
    if (count <= 0) return -1;
    return static_cast<int>((flags & kDefaultMask) >> 8) % count;
}

uint32_t EffectiveFlags(uint32_t flags, uintptr_t owner, int charset) {
    if (charset == 177 || charset == 178) flags |= kRightAndRtl;
    if (owner == 2) flags |= kNoCloseFlag;
    return flags;
}

int AltCharButton(const std::vector<std::string>& captions, char ch) {
    for (size_t i = 0; i < captions.size(); ++i) {
        const std::string& c = captions[i];
        if (c.size() >= 2 && (c[1] == ch || c[1] == UpperChar(ch))) return static_cast<int>(i);
    }
    return -1;
}

int LetterKeyButton(const std::vector<std::string>& captions, int virtualKey) {
    // Only the letter keys: numeric-pad and function keys have codes whose
    // upper case would be a letter too.
    if (virtualKey < 'A' || virtualKey > 'Z') return -1;
    int found = -1;
    for (size_t i = 0; i < captions.size(); ++i) {
        const std::string& c = captions[i];
        size_t amp = c.find('&');
        size_t at = amp == std::string::npos ? 0 : amp + 1;
        if (at < c.size() && UpperChar(c[at]) == static_cast<char>(virtualKey))
            found = static_cast<int>(i);
    }
    return found;
}

int FontHeight(int points, int dpi) {
    // MulDiv rounds half away from zero.
    long long product = static_cast<long long>(points) * dpi;
    long long q = (product >= 0 ? product + 36 : product - 36) / 72;
    return -static_cast<int>(q);
}

int LineHeight(int charHeight, int externalLeading, const std::string& faceName) {
    return charHeight + externalLeading + (SameText(Trim(faceName), "MS PGothic") ? 1 : 0);
}

Size MeasureText(const std::string& text, int lineHeight,
                 const std::function<int(const std::string&)>& extent) {
    std::string rest = text.empty() ? std::string(" ") : text;
    Size size;
    while (!rest.empty()) {
        size_t end = rest.find("\r\n");
        std::string line = rest.substr(0, end);
        rest = end == std::string::npos ? std::string() : rest.substr(end + 2);
        int e = std::max(0, extent(line));
        size.w = std::max(size.w, e + 10);
        size.h += (e / kMaxLineWidth + 1) * lineHeight;
    }
    size.w = std::min(size.w, kMaxLineWidth);
    return size;
}

Size BoxSize(Size text, FrameMetrics frame) {
    int m = text.w < 200 ? 64 : 32;
    int v = text.h < 39 ? 45 : 32;
    Size box;
    box.w = std::max(360, text.w + kBandWidth + 2 * m + 2 * frame.frameW);
    box.h = text.h + 36 + 2 * v + 2 * frame.frameH + frame.captionH;
    return box;
}

Rect CentreBox(const Rect& workArea, Size box) {
    return {workArea.x + (workArea.w - box.w) / 2, workArea.y + (workArea.h - box.h) / 2, box.w,
            box.h};
}

Rect TextPlacement(Size client, Size text) {
    Rect r;
    r.x = kBandWidth + (client.w - kBandWidth - text.w) / 2;
    r.y = (client.h - 36 - text.h) / 2;
    r.w = text.w;
    r.h = client.h - r.y - 39;
    return r;
}

Rect ButtonPlace(Size client, int index, int count) {
    int fromRight = count - 1 - index;
    return {client.w - 80 - kButtonWidth * fromRight, client.h - 29, kButtonWidth, kButtonHeight};
}

} // namespace msgbox
