#pragma once
// Unit CommUtils, page part: recognises an HTML page (a server's error page)
// delivered instead of a file, and builds the message shown for it.
#include <string>

// When file is not empty and exists, its first 1000 bytes are tested instead
// of text.
bool IsErrorPage(const std::string& file, const std::string& text);
// message := def, or the "404 File Not Found..." text when IsErrorPage.
void ErrorPageMessage(const std::string& file, const std::string& text, const std::string& url,
                      const std::string& def, std::string& message);
