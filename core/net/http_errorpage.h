#pragma once
// Recognition of an HTML page delivered instead of a file (unit CommUtils),
// free of Win32.

#include <string>

// Bytes of a download looked at by the error-page test.
constexpr std::size_t kErrorPageScanBytes = 1000;

// True when the first 1000 bytes hold, case-insensitively, "<TITLE" before
// "404" before "</TITLE>", or "<HTML>" before "<HEAD>" before "<TITLE>"
// before "</TITLE>" (each the first occurrence).
bool IsErrorPageText(const std::string& text);

// The message shown for such a page.
std::string ErrorPageMessageText(const std::string& url);
