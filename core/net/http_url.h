#pragma once
// URL rules of the HTTP downloader (unit InetHTTP), free of Win32.

#include <string>

// The address the downloader opens: used as given when its upper-cased text
// contains "HTTP://" or "HTTPS://" anywhere; otherwise "http://" is put in
// front of it.
std::string CompleteHttpUrl(const std::string& url);

// The caption shown while a URL downloads: its last path element. Every "/"
// is read as "\" and the file-name part is taken (after the last "\" or ":").
std::string UrlCaption(const std::string& url);
