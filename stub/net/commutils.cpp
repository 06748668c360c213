#include "stub/net/commutils.h"

#include "core/net/http_errorpage.h"
#include "stub/util/files.h"

#include <windows.h>

namespace {
bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

bool IsErrorPage(const std::string& file, const std::string& text) {
    if (!file.empty() && FileExists(file))
        return IsErrorPageText(ReadFilePart(file, kErrorPageScanBytes, 0));
    return IsErrorPageText(text);
}

void ErrorPageMessage(const std::string& file, const std::string& text, const std::string& url,
                      const std::string& def, std::string& message) {
    message = IsErrorPage(file, text) ? ErrorPageMessageText(url) : def;
}
