// Markup of message texts: the parser must never read or write out of bounds,
// and every span must lie inside the plain text, also after line-end mapping.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/ui/markup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    std::string in(reinterpret_cast<const char*>(data), size);
    MarkupText m = ParseMarkup(in);
    size_t lineEnds = 0;
    for (size_t i = 1; i < m.text.size(); ++i)
        if (m.text[i - 1] == '\r' && m.text[i] == '\n') ++lineEnds;
    std::vector<BoldSpan> mapped = MapSpansToSingleLineEnds(m.text, m.spans);
    for (size_t i = 0; i < m.spans.size(); ++i) {
        const BoldSpan& s = m.spans[i];
        if (s.start > s.end || s.end > m.text.size()) abort();
        if (mapped[i].start > mapped[i].end || mapped[i].end > m.text.size() - lineEnds) abort();
    }
    (void)HeadingText(in, in);
    return 0;
}
