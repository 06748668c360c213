// Downloaded bytes through the error-page test: no crash, and only the first
// 1000 bytes decide.
#include "core/net/http_errorpage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const bool page = IsErrorPageText(text);
    if (page != IsErrorPageText(text.substr(0, kErrorPageScanBytes))) std::abort();
    if (page != IsErrorPageText(text + "<html><head><title>404</title>")) {
        if (text.size() < kErrorPageScanBytes) {
            // Appending can only turn a non-page into a page.
            if (page) std::abort();
        } else {
            std::abort();
        }
    }
    return 0;
}
