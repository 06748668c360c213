#include "core/net/http_url.h"

#include "core/util/text.h"

std::string CompleteHttpUrl(const std::string& url) {
    const std::string upper = UpperCase(url);
    // An "https://" address is a scheme of its own: prefixing it would give
    // "http://https://..." which cannot be fetched.
    if (upper.find("HTTP://") != std::string::npos || upper.find("HTTPS://") != std::string::npos)
        return url;
    return "http://" + url;
}

std::string UrlCaption(const std::string& url) {
    const std::string path = ReplaceChar(url, '/', '\\');
    const std::size_t cut = path.find_last_of("\\:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}
