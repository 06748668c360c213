#include "stub/util/console.h"

#include <cstdio>

namespace utilout {

void Line(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

} // namespace utilout
