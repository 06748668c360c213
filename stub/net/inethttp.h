#pragma once
// Unit InetHTTP: one file over HTTP or HTTPS with WinINet (loaded by name),
// into memory or into a file, in chunks, with progress, a rate text, a
// process-wide abort flag and a size test before the file replaces its
// target. Runs on the GUI thread; messages are dispatched between chunks.
#include <windows.h>

#include <cstdint>
#include <string>

class TProgBar;

constexpr char kWinInetLibrary[] = "WinINet.dll";
// User-Agent of the pre-open and the size query, and of the download.
constexpr char kAgentQuery[] = "HTTP_Connect_2";
constexpr char kAgentDownload[] = "HTTP_Connect_3";

// True when connected; otherwise reason is LastErrorText, else empty.
bool CheckInternetConnection(std::string& reason);
bool IsInternetConnected();

// Content-Length of the resource; -1 when the URL cannot be opened or the
// header is missing.
int32_t HTTP_GetFileSize(const std::string& url);

// window: shown when the transfer starts (handle values 0..10: none).
// target: file to produce; empty: the body goes to memory.
// error: empty on success. A file download has succeeded when error is empty
// and target exists; a memory download when error is empty and memory is not.
void HTTP_DownloadFile_Incremental(HWND window, const std::string& url, const std::string& target,
                                   std::string& memory, TProgBar* bar, std::string& error);

// Set by the main window when it closes; cleared by callers before a
// download. The downloader only reads it.
void SetDownloadAbort(bool abort);
bool DownloadAbort();

// Frees WinINet and forgets its entry points; the next call loads it again.
void ReleaseWinInet();
