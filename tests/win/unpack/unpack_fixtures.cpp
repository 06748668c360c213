#include "tests/win/unpack/unpack_fixtures.h"

#include "core/package/trailer.h"
#include "stub/ui/kdebug.h"
#include "tests/support/wine_test_support.h"

#include <algorithm>
#include <zlib.h>

namespace unpacktest {

using namespace package;

const std::string kLanguageBlock = "\x02\x01"
                                   "English\x01s0=Title\x01\x02";
const std::string kParameterBlock = "|http://u/|upd.info|Agent.exe|tok|0|";

std::string Image(size_t size) {
    std::string img(size, '\0');
    img[0] = 'M';
    img[1] = 'Z';
    img[256] = 'P';
    img[257] = 'E';
    for (size_t i = 512; i < size; ++i)
        img[i] = char(i * 7 + 3);
    return img;
}

std::string Block(const std::string& text) {
    std::string out;
    AppendLE32(out, uint32_t(text.size()));
    return out + text;
}

std::string Header(const std::string& name, uint32_t dosTime) {
    return MakeEntryHeader(name, dosTime);
}

std::string StoredEntry(const std::string& header, const std::string& content) {
    std::string text = header + std::string(1, '\0') + content;
    std::string out;
    AppendLE32(out, uint32_t(0) - uint32_t(text.size()));
    return out + text;
}

std::string ZEntry(const std::string& header, const std::string& content) {
    std::string text = header + std::string(1, '\0') + content;
    uLongf n = compressBound(uLong(text.size()));
    std::string z(n, '\0');
    compress2(reinterpret_cast<Bytef*>(&z[0]), &n, reinterpret_cast<const Bytef*>(text.data()),
              uLong(text.size()), 6);
    z.resize(n);
    std::string out;
    AppendLE32(out, uint32_t(n));
    return out + z;
}

std::string HandPackage::Bytes() const {
    PackageTrailer t = trailer;
    t.SetByte(field::kBlockCount, t.Byte(field::kBlockCount) ? t.Byte(field::kBlockCount) : 2);
    t.SetU32(field::kPackageStart, uint32_t(image.size()));
    if (t.Magic() == 0) t.SetU32(field::kMagic, kTrailerMagic);
    t.SetU32(field::kFileCount, fileCount);
    t.SetU32(field::kSize, kTrailerSize);
    t.SetU32(field::kCheckValue, kUncheckedValue);
    std::string f = image + blocks + entries;
    if (computeCheck) {
        // The check value sums the file without its trailer.
        std::string probe = f + t.ToString();
        MemorySource src(probe);
        t.SetU32(field::kCheckValue, ComputeCheckValue(src, kTrailerSize));
    }
    return f + t.ToString();
}

std::vector<ProgressEvent>& ProgressLog() {
    static std::vector<ProgressEvent> log;
    return log;
}

void RecordProgress(int32_t kind, int32_t reserved, int32_t maximum, int32_t position, int32_t step,
                    const std::string&) {
    ProgressLog().push_back({kind, reserved, maximum, position, step});
}

FakeUi* FakeUi::current_ = nullptr;

FakeUi::FakeUi() {
    current_ = this;
    UnPackUiHooks() = UnPackUi{Confirm, Error, AutoPlay, Eject};
    ResetUnPackWriteFailure();
    ProgressLog().clear();
}

FakeUi::~FakeUi() {
    UnPackUiHooks() = DefaultUnPackUi();
    current_ = nullptr;
}

bool FakeUi::Confirm(const std::string& text, const std::string& title, int, const std::string&) {
    FakeUi& ui = *current_;
    ui.prompts.push_back(text);
    ui.promptTitles.push_back(title);
    int n = int(ui.prompts.size());
    if (ui.onPrompt) ui.onPrompt(n);
    return size_t(n) <= ui.answers.size() && ui.answers[size_t(n - 1)];
}

void FakeUi::Error(const std::string& text, int, const std::string&) {
    current_->errors.push_back(text);
}

void FakeUi::AutoPlay(bool enable) {
    if (enable) ++current_->autoPlayEnabled;
}

bool FakeUi::Eject(const std::string& path) {
    ++current_->ejects;
    current_->ejectPath = path;
    return false;
}

namespace {
std::string g_console;
UINT g_debugMessage = 0;

LRESULT CALLBACK ViewerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == g_debugMessage && g_debugMessage != 0 && wp == 1) {
        char buf[256];
        UINT n = GlobalGetAtomNameA(ATOM(lp), buf, sizeof buf);
        g_console.append(buf, n);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}
} // namespace

ConsoleCapture::ConsoleCapture() {
    g_console.clear();
    g_debugMessage = RegisterWindowMessageA(kDebugMessageName);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ViewerProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kDebugViewerClass;
    RegisterClassA(&wc);
    window_ = CreateWindowA(kDebugViewerClass, "viewer", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            wc.hInstance, nullptr);
}

ConsoleCapture::~ConsoleCapture() {
    if (window_) DestroyWindow(window_);
}

std::string ConsoleCapture::Text() const {
    ConsoleFlush();
    return g_console;
}

std::vector<std::string> ConsoleCapture::Lines() const {
    std::vector<std::string> lines;
    std::string text = Text();
    size_t from = 0;
    for (size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(text.substr(from, at - from));
    return lines;
}

ExtractOutcome RunExtract(const std::string& package, const std::string& target,
                          const std::string& agentName, bool forcePrompt) {
    ExtractOutcome o;
    o.error = Extract(package, target, agentName, o.checkPassed, RecordProgress,
                      "Please insert <B>DISK #<DISK_NUM></B> and press OK", "Attention",
                      "|&OK|&Cancel|", 0, forcePrompt, o.runEntry);
    return o;
}

uint32_t FileDosTime(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    FILETIME ft, local;
    WORD date = 0, time = 0;
    bool ok = GetFileTime(h, nullptr, nullptr, &ft) && FileTimeToLocalFileTime(&ft, &local) &&
              FileTimeToDosDateTime(&local, &date, &time);
    CloseHandle(h);
    return ok ? uint32_t(date) << 16 | time : 0;
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
        std::string n = fd.cFileName;
        if (n != "." && n != "..") names.push_back(n);
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace unpacktest
