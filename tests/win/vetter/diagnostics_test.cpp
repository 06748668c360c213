// Diagnostics with the delivered debug level 0.
#include "tests/win/vetter/vetter_dll.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>

namespace {

using namespace vettertest;

using PrintDebugFn = bool (*)(int, char*, FILE*);
using OpenFn = FILE* (*)();
using CloseFn = int (*)(int);
using VoidFn = void (*)();

// Captures what the plug-in writes to one of the C runtime's streams.
class Capture {
  public:
    Capture(FILE* stream, const std::string& path) : stream_(stream), path_(path) {
        fflush(stream_);
        saved_ = _dup(_fileno(stream_));
        int fd = _open(path.c_str(), _O_CREAT | _O_TRUNC | _O_WRONLY | _O_BINARY, 0600);
        _dup2(fd, _fileno(stream_));
        _close(fd);
    }
    std::string Stop() {
        fflush(stream_);
        _dup2(saved_, _fileno(stream_));
        _close(saved_);
        return testsupport::ReadWholeFile(path_);
    }

  private:
    FILE* stream_;
    std::string path_;
    int saved_;
};

TEST(VetterDiagnostics, DebugFileStaysClosed) {
    auto& dll = VetterDll::Get();
    *dll.Var<bool>("?PrintDebugOnScreen@@3_NA") = false;
    EXPECT_EQ(Export<OpenFn>("?OpenDebugFile@@YAPAU_iobuf@@XZ")(), nullptr);
    auto print = Export<PrintDebugFn>("?PrintDebug@@YA_NHPADPAU_iobuf@@@Z");
    FILE* file = tmpfile();
    ASSERT_NE(file, nullptr);
    char text[] = "message";
    for (int level = -1; level <= 9; ++level) {
        EXPECT_FALSE(print(level, text, file)) << level;
        EXPECT_FALSE(print(level, text, nullptr)) << level;
    }
    EXPECT_EQ(ftell(file), 0);
    fclose(file);
}

TEST(VetterDiagnostics, OnScreenByVerboseLevel) {
    auto& dll = VetterDll::Get();
    bool& onScreen = *dll.Var<bool>("?PrintDebugOnScreen@@3_NA");
    int& verbose = *dll.Var<int>("?VerboseLevel@@3HA");
    auto print = Export<PrintDebugFn>("?PrintDebug@@YA_NHPADPAU_iobuf@@@Z");
    testsupport::TempDir dir;
    onScreen = true; // set by the engine before the call, effective in it
    Capture err(stderr, dir.file("err.txt"));
    char six[] = "level six|", seven[] = "level seven|", two[] = "level two|";
    bool r6 = print(6, six, nullptr);
    bool r7 = print(7, seven, nullptr);
    verbose = 2;
    bool r2 = print(2, two, nullptr);
    bool r6b = print(6, six, nullptr);
    std::string written = err.Stop();
    verbose = 6;
    onScreen = false;
    EXPECT_TRUE(r6);
    EXPECT_FALSE(r7);
    EXPECT_TRUE(r2);
    EXPECT_FALSE(r6b);
    EXPECT_EQ(written, "level six|level two|");
    EXPECT_EQ(Export<OpenFn>("?OpenDebugFile@@YAPAU_iobuf@@XZ")(), nullptr);
}

TEST(VetterDiagnostics, CloseDebugFileModes) {
    auto close = Export<CloseFn>("?CloseDebugFile@@YAHH@Z");
    bool& external = *VetterDll::Get().Var<bool>("?ExternalDebugControl@@3_NA");
    EXPECT_EQ(close(0), 1);
    EXPECT_EQ(close(1), 0); // nothing open
    external = true;
    EXPECT_EQ(close(1), 2);
    EXPECT_EQ(close(0), 1);
    EXPECT_EQ(close(2), 0);
    external = false;
}

TEST(VetterDiagnostics, PrintDLLVersion) {
    testsupport::TempDir dir;
    Capture out(stdout, dir.file("out.txt"));
    Export<VoidFn>("?PrintDLLVersion@@YAXXZ")();
    EXPECT_EQ(out.Stop(), "\nVetter version 1.11.5.1\n");
}

TEST(VetterDiagnostics, SelfTestListsThroughWmi) {
    testsupport::TempDir dir;
    Capture out(stdout, dir.file("out.txt"));
    int rc = Export<IntFn>("?OldTestFunction@@YAHXZ")();
    std::string text = out.Stop();
    if (rc == 0) {
        EXPECT_NE(text.find("Process Name : "), std::string::npos) << text;
        EXPECT_NE(text.find(" OS Name : \n\n"), std::string::npos) << text;
        EXPECT_NE(text.find("Hallo\n\n"), std::string::npos) << text;
    } else {
        EXPECT_EQ(rc, 1);
        EXPECT_NE(text.find("Error code = 0x"), std::string::npos) << text;
    }
}

} // namespace
