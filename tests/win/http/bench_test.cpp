// Throughput measurement for bench/http.sh; disabled in normal runs. Reads
// STUB_BENCH_URL and prints one "BENCH" line per way of downloading.
#include "stub/net/inethttp.h"
#include "stub/net/progbar.h"
#include "tests/support/wine_test_support.h"

#include <windows.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int g_steps = 0;
void CountSteps(int32_t kind, int32_t, int32_t, int32_t, int32_t, const std::string&) {
    if (kind == kProgressStep) ++g_steps;
}

double Seconds(LARGE_INTEGER from) {
    LARGE_INTEGER now, freq;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&freq);
    return double(now.QuadPart - from.QuadPart) / double(freq.QuadPart);
}

template <typename Fn> Fn Entry(HMODULE module, const char* name) {
    FARPROC p = GetProcAddress(module, name);
    Fn fn = nullptr;
    std::memcpy(&fn, &p, sizeof fn);
    return fn;
}

} // namespace

TEST(HttpBench, DISABLED_Download) {
    const char* url = std::getenv("STUB_BENCH_URL");
    ASSERT_TRUE(url && *url) << "STUB_BENCH_URL not set";
    testsupport::TempDir dir;
    const std::string target = dir.file("bench.bin");

    // The downloader as the stub uses it: into a file, with a progress bar.
    g_steps = 0;
    TProgBar bar(CountSteps);
    std::string memory, error;
    SetDownloadAbort(false);
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    HTTP_DownloadFile_Incremental(nullptr, url, target, memory, &bar, error);
    const double stub = Seconds(start);
    EXPECT_EQ(error, "");
    WIN32_FILE_ATTRIBUTE_DATA fa = {};
    ASSERT_TRUE(GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &fa));
    const double bytes = double(fa.nFileSizeLow) + double(fa.nFileSizeHigh) * 4294967296.0;
    std::printf("BENCH downloader seconds=%.3f bytes=%.0f steps=%d\n", stub, bytes, g_steps);

    // Without a progress bar: the 2 ms pause alone.
    const std::string plainTarget = dir.file("plain.bin");
    QueryPerformanceCounter(&start);
    HTTP_DownloadFile_Incremental(nullptr, url, plainTarget, memory, nullptr, error);
    const double plain = Seconds(start);
    EXPECT_EQ(error, "");
    std::printf("BENCH nobar seconds=%.3f\n", plain);

    // The same WinINet reads of 8192 bytes without the pause and the
    // progress events: what the per-chunk rule costs.
    HMODULE wininet = LoadLibraryA("WinINet.dll");
    ASSERT_NE(wininet, nullptr);
    auto open =
        Entry<HINTERNET(WINAPI*)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD)>(wininet, "InternetOpenA");
    auto openUrl = Entry<HINTERNET(WINAPI*)(HINTERNET, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR)>(
        wininet, "InternetOpenUrlA");
    auto read =
        Entry<BOOL(WINAPI*)(HINTERNET, LPVOID, DWORD, LPDWORD)>(wininet, "InternetReadFile");
    auto close = Entry<BOOL(WINAPI*)(HINTERNET)>(wininet, "InternetCloseHandle");
    const std::string rawTarget = dir.file("raw.bin");
    QueryPerformanceCounter(&start);
    HINTERNET internet = open("bench", INTERNET_OPEN_TYPE_PRECONFIG, "", nullptr, 0);
    HINTERNET request = openUrl(internet, url, nullptr, 0, INTERNET_FLAG_RELOAD, 0);
    ASSERT_NE(request, nullptr);
    HANDLE file =
        CreateFileA(rawTarget.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::vector<char> buffer(8192);
    double rawBytes = 0;
    for (DWORD got = 0; read(request, buffer.data(), DWORD(buffer.size()), &got) && got > 0;) {
        DWORD written = 0;
        WriteFile(file, buffer.data(), got, &written, nullptr);
        rawBytes += got;
    }
    CloseHandle(file);
    close(request);
    close(internet);
    const double raw = Seconds(start);
    std::printf("BENCH rawloop seconds=%.3f bytes=%.0f\n", raw, rawBytes);
    FreeLibrary(wininet);
    EXPECT_EQ(rawBytes, bytes);
}
