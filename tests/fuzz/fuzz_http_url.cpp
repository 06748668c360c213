// Addresses and URLs from descriptors through the scheme and caption rules.
#include "core/net/http_url.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string url(reinterpret_cast<const char*>(data), size);
    const std::string opened = CompleteHttpUrl(url);
    if (opened != url && opened != "http://" + url) std::abort();
    if (CompleteHttpUrl(opened) != opened) std::abort(); // a completed URL stays as it is
    const std::string caption = UrlCaption(url);
    if (caption.size() > url.size()) std::abort();
    if (caption.find_first_of("/\\:") != std::string::npos) std::abort();
    return 0;
}
