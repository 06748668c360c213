#include "stub/net/inethttp.h"

#include "core/net/http_download.h"
#include "core/net/http_url.h"
#include "stub/net/bytesrate.h"
#include "stub/net/progbar.h"
#include "stub/ui/kdebug.h"
#include "stub/util/files.h"
#include "stub/util/handles.h"
#include "stub/util/utils.h"

#include <wininet.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

bool g_abort = false;

// WinINet stays loaded from its first use to ReleaseWinInet.
win::Module& WinInetModule() {
    static win::Module module;
    return module;
}

FARPROC LookUp(const char* name) {
    win::Module& module = WinInetModule();
    if (!module) module.reset(LoadLibraryA(kWinInetLibrary));
    if (!module) return nullptr;
    return GetProcAddress(module.get(), name);
}

// Generation of the module: bumped by ReleaseWinInet so that no entry keeps
// an address inside a freed library.
unsigned g_generation = 1;

// One cached entry point; a failed look-up is tried again on the next call.
template <typename Fn> class WinInetEntry {
  public:
    explicit WinInetEntry(const char* name) : name_(name) {}
    Fn get() {
        if (fn_ == nullptr || generation_ != g_generation) {
            fn_ = nullptr;
            FARPROC p = LookUp(name_);
            static_assert(sizeof(fn_) == sizeof(p), "entry points are plain function pointers");
            std::memcpy(&fn_, &p, sizeof fn_);
            generation_ = g_generation;
        }
        return fn_;
    }

  private:
    const char* name_;
    Fn fn_ = nullptr;
    unsigned generation_ = 0;
};

using GetConnectedStateFn = BOOL(WINAPI*)(LPDWORD, DWORD);
using CloseHandleFn = BOOL(WINAPI*)(HINTERNET);
using OpenFn = HINTERNET(WINAPI*)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD);
using OpenUrlFn = HINTERNET(WINAPI*)(HINTERNET, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR);
using QueryInfoFn = BOOL(WINAPI*)(HINTERNET, DWORD, LPVOID, LPDWORD, LPDWORD);
using ReadFileFn = BOOL(WINAPI*)(HINTERNET, LPVOID, DWORD, LPDWORD);
using SetOptionFn = BOOL(WINAPI*)(HINTERNET, DWORD, LPVOID, DWORD);
using LastResponseFn = BOOL(WINAPI*)(LPDWORD, LPSTR, LPDWORD);

WinInetEntry<GetConnectedStateFn> g_getConnectedState("InternetGetConnectedState");
WinInetEntry<CloseHandleFn> g_closeHandle("InternetCloseHandle");
WinInetEntry<OpenFn> g_open("InternetOpenA");
WinInetEntry<OpenUrlFn> g_openUrl("InternetOpenUrlA");
WinInetEntry<QueryInfoFn> g_queryInfo("HttpQueryInfoA");
WinInetEntry<ReadFileFn> g_readFile("InternetReadFile");
// Looked up by name like the others: the stub links no WinINet import.
WinInetEntry<SetOptionFn> g_setOption("InternetSetOptionA");
WinInetEntry<LastResponseFn> g_lastResponse("InternetGetLastResponseInfoA");

// Wrappers: the call's failure value when WinINet or the entry is missing.
BOOL InetGetConnectedState(LPDWORD flags, DWORD reserved) {
    auto fn = g_getConnectedState.get();
    return fn ? fn(flags, reserved) : FALSE;
}
BOOL InetCloseHandle(HINTERNET h) {
    auto fn = g_closeHandle.get();
    return fn ? fn(h) : FALSE;
}
HINTERNET InetOpen(LPCSTR agent, DWORD access, LPCSTR proxy, LPCSTR bypass, DWORD flags) {
    auto fn = g_open.get();
    return fn ? fn(agent, access, proxy, bypass, flags) : nullptr;
}
HINTERNET InetOpenUrl(HINTERNET h, LPCSTR url, LPCSTR headers, DWORD length, DWORD flags,
                      DWORD_PTR context) {
    auto fn = g_openUrl.get();
    return fn ? fn(h, url, headers, length, flags, context) : nullptr;
}
BOOL InetQueryInfo(HINTERNET h, DWORD level, LPVOID buffer, LPDWORD length, LPDWORD index) {
    auto fn = g_queryInfo.get();
    return fn ? fn(h, level, buffer, length, index) : FALSE;
}
BOOL InetReadFile(HINTERNET h, LPVOID buffer, DWORD toRead, LPDWORD read) {
    auto fn = g_readFile.get();
    if (!fn) {
        *read = 0;
        return FALSE;
    }
    return fn(h, buffer, toRead, read);
}
BOOL InetSetOption(HINTERNET h, DWORD option, LPVOID buffer, DWORD length) {
    auto fn = g_setOption.get();
    return fn ? fn(h, option, buffer, length) : FALSE;
}

struct InternetTraits {
    static HINTERNET none() { return nullptr; }
    static bool valid(HINTERNET h) { return h != nullptr; }
    static void close(HINTERNET h) { InetCloseHandle(h); }
};
using InternetHandle = win::Owned<HINTERNET, InternetTraits>;

InternetHandle OpenInternet(const char* agent) {
    return InternetHandle(InetOpen(agent, INTERNET_OPEN_TYPE_PRECONFIG, "", nullptr, 0));
}

std::string LastResponseText() {
    auto fn = g_lastResponse.get();
    if (!fn) return std::string();
    std::vector<char> buffer(1024, '\0');
    DWORD code = 0;
    DWORD length = static_cast<DWORD>(buffer.size());
    if (!fn(&code, buffer.data(), &length)) return std::string();
    if (length > buffer.size()) length = static_cast<DWORD>(buffer.size());
    return std::string(buffer.data(), strnlen(buffer.data(), length));
}

// Some servers answer only after a first contact; nothing is reported.
void HTTP_PreOpen(const std::string& url) {
    InternetHandle internet = OpenInternet(kAgentQuery);
    if (!internet) return;
    InternetHandle request(InetOpenUrl(internet.get(), url.c_str(), nullptr, 0, 0, 0));
}

void HTTP_SetTimeouts(HINTERNET internet) {
    // Connect, receive, send, control receive, control send, data receive,
    // data send: WinINet gives the control options the same numbers.
    static const DWORD kOptions[] = {2, 6, 5, 6, 5, 8, 7};
    for (DWORD option : kOptions) {
        DWORD value = kHttpTimeoutMs;
        InetSetOption(internet, option, &value, sizeof value);
    }
}

HINTERNET HTTP_OpenRequest(HINTERNET internet, const std::string& url) {
    const std::string opened = CompleteHttpUrl(url);
    return InetOpenUrl(internet, opened.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0);
}

uint32_t HTTP_ContentLength(HINTERNET request) {
    DWORD size = kUnknownContentLength; // stays when the header is missing
    DWORD length = sizeof size;
    InetQueryInfo(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &size, &length,
                  nullptr);
    return size;
}

uint32_t HTTP_LastModifiedStamp(HINTERNET request) {
    SYSTEMTIME st;
    std::memset(&st, 0, sizeof st);
    DWORD length = sizeof st;
    InetQueryInfo(request, HTTP_QUERY_LAST_MODIFIED | HTTP_QUERY_FLAG_SYSTEMTIME, &st, &length,
                  nullptr);
    DateTimeParts parts;
    parts.year = st.wYear;
    parts.month = st.wMonth;
    parts.day = st.wDay;
    parts.hour = st.wHour;
    parts.minute = st.wMinute;
    parts.second = st.wSecond;
    parts.msec = st.wMilliseconds;
    return PackedFileDate(parts);
}

std::string FolderOf(const std::string& path) {
    const std::size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

// Deletes what earlier downloads of target left (target + "." + anything).
// The wildcard alone would also match target itself ("a.exe.*" finds
// "a.exe"), which must stay until the new file is complete.
void DeleteOldDownloadFiles(const std::string& target) {
    const std::string folder = FolderOf(target);
    const std::string name = target.substr(folder.size());
    WIN32_FIND_DATAA fd;
    win::FindHandle find(FindFirstFileA((target + ".*").c_str(), &fd));
    if (!find) return;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!IsOldDownloadFile(name, fd.cFileName)) continue;
        DeleteFileA((folder + fd.cFileName).c_str());
    } while (FindNextFileA(find.get(), &fd));
}

} // namespace

void SetDownloadAbort(bool abort) {
    g_abort = abort;
}
bool DownloadAbort() {
    return g_abort;
}

void ReleaseWinInet() {
    WinInetModule().reset();
    ++g_generation;
}

bool CheckInternetConnection(std::string& reason) {
    DWORD flags = 0;
    const bool connected = InetGetConnectedState(&flags, 0) != FALSE;
    reason = connected ? std::string() : LastErrorText();
    return connected;
}

bool IsInternetConnected() {
    DWORD flags = 0;
    return InetGetConnectedState(&flags, 0) != FALSE;
}

int32_t HTTP_GetFileSize(const std::string& url) {
    HTTP_PreOpen(url);
    InternetHandle internet = OpenInternet(kAgentQuery);
    if (!internet) return -1;
    int32_t size = -1;
    InternetHandle request(InetOpenUrl(internet.get(), url.c_str(), nullptr, 0, 0, 0));
    if (request) {
        size = static_cast<int32_t>(HTTP_ContentLength(request.get()));
        ConsoleLine("HTTP_GetFileSize=" + std::to_string(size) + "  " + url);
    }
    return size;
}

void HTTP_DownloadFile_Incremental(HWND window, const std::string& url, const std::string& target,
                                   std::string& memory, TProgBar* bar, std::string& error) {
    const std::string caption = UrlCaption(url);
    error.clear();
    memory.clear();
    uint32_t received = 0;
    std::string temp = target;

    HTTP_PreOpen(url);
    InternetHandle internet = OpenInternet(kAgentDownload);
    if (!internet) {
        error = "Unable to initialize \"WinINet.dll\"";
    } else {
        HTTP_SetTimeouts(internet.get());
        InternetHandle request(HTTP_OpenRequest(internet.get(), url));
        if (!request) {
            error = "Unable to open Internet Connection: " + url;
        } else {
            const uint32_t size = HTTP_ContentLength(request.get());
            const uint32_t stamp = HTTP_LastModifiedStamp(request.get());
            if (size == 0) {
                error = url + " --- File Not Found !";
            } else {
                if (reinterpret_cast<UINT_PTR>(window) > 10) ShowWindow(window, SW_SHOW);
                if (!target.empty()) {
                    temp = TempDownloadFileName(target, size, stamp);
                    DeleteOldDownloadFiles(target);
                }
                const uint32_t chunk = DownloadChunkSize(size);
                if (bar) bar->Init(1, DownloadProgressCount(size, chunk));
                {
                    net::TBytesRate rate(size > kShowKBAbove, size > kShowMBAbove, net::SystemTick);
                    if (bar) bar->Caption(caption);
                    std::vector<char> buffer(kDownloadBufferSize);
                    DWORD read = 0;
                    do {
                        WaitPumping(0, 2);
                        std::memset(buffer.data(), 0, buffer.size());
                        read = 0;
                        const bool ok = InetReadFile(request.get(), buffer.data(), chunk, &read);
                        if (ok) {
                            if (read > chunk) read = chunk;
                            received += read;
                            const std::string piece(buffer.data(), read);
                            if (!temp.empty()) {
                                if (read > 0) AppendFileText(temp, piece, 0);
                            } else {
                                memory += piece;
                            }
                        } else {
                            read = 0;
                            error = caption + " --- Error downloading file";
                            std::string reason = LastErrorText();
                            if (reason.empty()) reason = LastResponseText();
                            if (!reason.empty()) error += " (" + reason + ")";
                        }
                        const std::string text = rate.Text(size, received, read);
                        if (ok && read > 0 && bar) bar->Step(text);
                    } while (read != 0 && !DownloadAbort());
                }
                if (DownloadAbort()) error = "Download Aborted";
                if (error.empty() && size != kUnknownContentLength) {
                    // A transfer that ended early (connection cut, a write
                    // that failed) is a failure, not an empty error.
                    const int64_t got = temp.empty() ? int64_t{received} : FileSizeByName(temp);
                    if (got != int64_t{size})
                        error = caption + " --- Error downloading file (received " +
                                std::to_string(got) + " of " + std::to_string(size) + " bytes)";
                }
                // Only a complete, unaborted file replaces the target.
                if (error.empty() && !target.empty() && FileSizeByName(temp) == int64_t{size}) {
                    DeleteFileA(target.c_str());
                    if (!MoveFileA(temp.c_str(), target.c_str()))
                        error = caption + " --- Error downloading file (" + LastErrorText() + ")";
                }
            }
        }
    }
    if (!error.empty())
        ConsoleLine(std::to_string(GetCurrentProcessId()) +
                    " HTTP_DownloadFile_Incremental: " + error);
}
