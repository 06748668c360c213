#include "stub/package/unpack.h"

#include "core/package/entry.h"
#include "core/package/format.h"
#include "core/package/trailer.h"
#include "core/package/unpack_agent.h"
#include "core/package/walk.h"
#include "core/util/text.h"
#include "stub/package/win_file_source.h"
#include "stub/ui/kdebug.h"
#include "stub/ui/kmsgbox.h"
#include "stub/util/files.h"
#include "stub/util/handles.h"
#include "stub/util/utils.h"

using namespace package;

namespace {

// Content goes out in writes of at most this size.
constexpr size_t kWriteChunk = 1048576;
constexpr char kDiskNumberTag[] = "<DISK_NUM>";

bool g_writeFailureShown = false;

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string SystemErrorText(DWORD code) {
    char* text = nullptr;
    DWORD n = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                 FORMAT_MESSAGE_IGNORE_INSERTS,
                             nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string out = n && text ? std::string(text, n) : "Error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!out.empty() && (out.back() == '\r' || out.back() == '\n' || out.back() == ' '))
        out.pop_back();
    return out;
}

// Creates a folder with every missing parent; false with error set when the
// folder is not there afterwards.
bool CreateFolderTree(const std::string& folder, DWORD& error) {
    error = ERROR_SUCCESS;
    if (IsFolder(folder)) return true;
    // Skip the root ("C:\" or "\\server\share\") before creating components.
    size_t from = 0;
    if (folder.size() >= 2 && folder[1] == ':') {
        from = 3;
    } else if (folder.compare(0, 2, "\\\\") == 0) {
        size_t share = folder.find('\\', 2);
        from = share == std::string::npos ? folder.size() : folder.find('\\', share + 1);
        if (from == std::string::npos) from = folder.size();
    }
    for (size_t at = folder.find('\\', from); at != std::string::npos;
         at = folder.find('\\', at + 1)) {
        if (at > 0 && folder[at - 1] != '\\')
            CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    }
    if (!CreateDirectoryA(folder.c_str(), nullptr)) error = GetLastError();
    if (IsFolder(folder)) return true;
    if (error == ERROR_SUCCESS) error = ERROR_PATH_NOT_FOUND;
    return false;
}

std::string FileNamePart(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string ProcessIdText() {
    return std::to_string(GetCurrentProcessId());
}

bool SetDosDate(HANDLE file, uint32_t dosTime) {
    FILETIME local, utc;
    return DosDateTimeToFileTime(WORD(dosTime >> 16), WORD(dosTime), &local) &&
           LocalFileTimeToFileTime(&local, &utc) && SetFileTime(file, nullptr, nullptr, &utc);
}

// Reads pass through here so that pending messages are dispatched after
// every chunk.
class PumpingSource : public ByteSource {
  public:
    explicit PumpingSource(ByteSource& inner) : inner_(inner) {}
    int64_t Size() override { return inner_.Size(); }
    size_t ReadAt(uint64_t offset, void* buf, size_t n) override {
        size_t got = inner_.ReadAt(offset, buf, n);
        PumpMessages(0);
        return got;
    }

  private:
    ByteSource& inner_;
};

// Appends each entry's content to its output file as it is inflated.
class EntryWriter : public EntrySink {
  public:
    EntryWriter(const std::string& target, ProgressHandler progress, std::string& runEntry,
                int charset, const std::string& buttons)
        : target_(target), progress_(progress), runEntry_(runEntry), charset_(charset),
          buttons_(buttons) {
        buffer_.reserve(kWriteChunk + kReadChunk);
    }

    bool Begin(const EntryHeader& h) override {
        if (!IsSafeEntryName(h.name)) {
            ConsoleLine("UnPack: entry skipped, its name would leave the target folder: " +
                        Printable(h.name));
            return false;
        }
        if (!h.runEntry.empty()) runEntry_ = h.runEntry;
        path_ = target_ + "\\" + h.name;
        dosTime_ = h.dosTime;
        if (!FileExists(path_) && progress_) progress_(kProgressStep, 0, 0, 0, 0, std::string());
        if (h.name.find('\\') != std::string::npos) {
            DWORD ignored;
            CreateFolderTree(FolderOf(path_), ignored);
        }
        file_.reset(CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER zero{};
        if (!file_ || !SetFilePointerEx(file_.get(), zero, nullptr, FILE_END)) Fail(GetLastError());
        return true;
    }

    // A stored entry's chunks are dispatched after by the read itself.
    void SetCompressed(bool compressed) { compressed_ = compressed; }

    bool Content(const char* data, size_t n) override {
        if (compressed_) PumpMessages(0);
        length_ += n;
        if (failed_) return true; // counted for the failure report
        buffer_.append(data, n);
        if (buffer_.size() >= kWriteChunk) Flush(false);
        return true;
    }

    // Ends the current entry; complete = every byte of it was decoded.
    void Finish(bool complete) {
        if (!path_.empty()) {
            if (!failed_) Flush(true);
            if (!failed_ && complete && dosTime_ != 0) SetDosDate(file_.get(), dosTime_);
            file_.reset();
            if (failed_) Report();
        }
        path_.clear();
        buffer_.clear();
        length_ = 0;
        dosTime_ = 0;
        failed_ = false;
    }

  private:
    // Writes whole chunks, or everything with all.
    void Flush(bool all) {
        size_t done = 0;
        while (!failed_ && done < buffer_.size() && (all || buffer_.size() - done >= kWriteChunk)) {
            size_t n = buffer_.size() - done;
            if (n > kWriteChunk) n = kWriteChunk;
            DWORD written = 0;
            if (!WriteFile(file_.get(), buffer_.data() + done, DWORD(n), &written, nullptr) ||
                written != n) {
                Fail(GetLastError());
                break;
            }
            done += n;
        }
        buffer_.erase(0, done);
    }

    void Fail(DWORD error) {
        failed_ = true;
        error_ = error;
        buffer_.clear();
    }

    void Report() {
        ConsoleLine("UnPack: cannot write " + path_ + ": " + SystemErrorText(error_));
        if (g_writeFailureShown) return;
        g_writeFailureShown = true;
        WIN32_FILE_ATTRIBUTE_DATA attr{};
        uint64_t size = 0;
        if (GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &attr))
            size = uint64_t(attr.nFileSizeHigh) << 32 | attr.nFileSizeLow;
        ULARGE_INTEGER freeBytes{};
        std::string folder = FolderOf(path_) + "\\";
        if (!GetDiskFreeSpaceExA(folder.c_str(), &freeBytes, nullptr, nullptr))
            freeBytes.QuadPart = 0;
        UnPackUiHooks().errorMsg(path_ + "<P><P>Unable to save Extracted File!<P><P>" +
                                     SystemErrorText(error_) + "<P>" + "  Data Size: <T>" +
                                     std::to_string(length_) + " Bytes<P>" + "  File Size:  <T>" +
                                     std::to_string(size) + " Bytes<P>" + "  Bytes Free: <T>" +
                                     std::to_string(freeBytes.QuadPart) + " Bytes",
                                 charset_, buttons_);
    }

    const std::string& target_;
    ProgressHandler progress_;
    std::string& runEntry_;
    int charset_;
    const std::string& buttons_;
    std::string path_;
    win::File file_;
    std::string buffer_;
    uint64_t length_ = 0;
    uint32_t dosTime_ = 0;
    bool failed_ = false;
    DWORD error_ = 0;
    bool compressed_ = false;
};

void WriteAgentCopy(Win32FileSource& src, uint64_t payloadStart, const std::string& target,
                    const std::string& name) {
    std::string path = target + "\\" + name;
    std::string bytes = MakeAgentCopy(src, payloadStart);
    if (bytes.empty() || !IsSafeEntryName(name)) {
        ConsoleLine(ProcessIdText() + " No AU-Agent written: " + Printable(path));
        return;
    }
    FILETIME written{};
    bool haveTime = GetFileTime(src.Handle(), nullptr, nullptr, &written) != 0;
    win::File out(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD n = 0;
    if (!out || !WriteFile(out.get(), bytes.data(), DWORD(bytes.size()), &n, nullptr) ||
        n != bytes.size()) {
        ConsoleLine(ProcessIdText() + " No AU-Agent written: " + path + ": " +
                    SystemErrorText(GetLastError()));
        return;
    }
    if (haveTime) SetFileTime(out.get(), nullptr, nullptr, &written);
    ConsoleLine(ProcessIdText() + " New AU-Agent: " + path);
}

// The eject's trace lines belong on the stub's debug channel.
bool EjectCDTraced(const std::string& path) {
    return EjectCD(path, ConsoleLine);
}

bool DefaultConfirmDisk(const std::string& text, const std::string& title, int charset,
                        const std::string& buttons) {
    return ConfirmOkCancel(1, text, title, charset, buttons);
}

void DefaultErrorMsg(const std::string& text, int charset, const std::string& buttons) {
    ErrorMsg(0, text, std::string(), charset, buttons);
}

} // namespace

UnPackUi DefaultUnPackUi() {
    return UnPackUi{DefaultConfirmDisk, DefaultErrorMsg, SetAutoPlayCancel, EjectCDTraced};
}

UnPackUi& UnPackUiHooks() {
    static UnPackUi ui = DefaultUnPackUi();
    return ui;
}

void ResetUnPackWriteFailure() {
    g_writeFailureShown = false;
}

std::string Extract(const std::string& packagePath, const std::string& targetFolder,
                    const std::string& agentCopyName, bool& checkPassed, ProgressHandler progress,
                    const std::string& diskPrompt, const std::string& promptTitle,
                    const std::string& buttons, int charset, bool forcePrompt,
                    std::string& runEntry) {
    const DWORD started = GetTickCount();
    UnPackUi& ui = UnPackUiHooks();
    bool carryOn = true;
    int part = 1;
    std::string current = packagePath;
    runEntry.clear();
    checkPassed = false;
    const std::string base = PartBaseName(packagePath);
    auto relay = [progress](int32_t kind, int32_t maximum) {
        if (progress) progress(kind, 0, maximum, 0, kind == kProgressStart ? 1 : 0, std::string());
    };
    relay(kProgressStart, 0);
    const std::string agentName = FileNamePart(agentCopyName);
    int counter = 0;
    bool ejected = false;
    std::string error;
    EntryWriter writer(targetFolder, progress, runEntry, charset, buttons);

    for (;;) {
        PackageTrailer rec;
        if (FileExists(current)) {
            Win32FileSource src(current);
            ReadTrailer(src, rec);
            if (part == 1) ConsoleLine("FileInfo.FilesCount=" + std::to_string(rec.FileCount()));
            checkPassed = CheckValuePasses(ComputeCheckValue(src, rec.Size()), rec.CheckValue());
            if (!checkPassed) break;
            const uint64_t end = PackageEnd(src);
            ConsoleLine("FileLen=" + std::to_string(end));
            if (rec.MagicMatches()) {
                uint64_t pos = rec.PackageStart();
                uint64_t payloadStart = 0;
                if (part == 1) relay(kProgressStart, int32_t(rec.FileCount()));
                DWORD folderError;
                if (!CreateFolderTree(targetFolder, folderError))
                    ui.errorMsg(targetFolder + "<P><P>Unable to create Directory!<P><P>" +
                                    SystemErrorText(folderError),
                                charset, buttons);
                PumpingSource pumping(src);
                do {
                    PumpMessages(0);
                    StoredBlock b;
                    if (!ReadStoredBlock(src, pos, end, b)) break;
                    if (b.available < b.length) {
                        // A length past the part's end: nothing of it is written.
                        ConsoleLine("UnPack: block at " + std::to_string(pos) +
                                    " runs past the end of " + current);
                        break;
                    }
                    pos = b.Next();
                    ++counter;
                    if (counter == rec.BlockCount()) payloadStart = pos;
                    if (counter <= rec.BlockCount()) continue;
                    std::string zlibError;
                    writer.SetCompressed(b.compressed);
                    EntryResult r = DecodeEntry(pumping, b, writer, zlibError);
                    writer.Finish(r == EntryResult::Ok);
                    if (r == EntryResult::InflateError) {
                        error = "Extraction error in " + current + ": " + zlibError;
                        ConsoleLine("UnPack: " + error);
                        break;
                    }
                } while (end > pos && end - pos > kTrailerSize);
                if (error.empty() && part == 1 && !agentName.empty() && IsAgentCopySource(current))
                    WriteAgentCopy(src, payloadStart, targetFolder, agentName);
            }
        }
        if (!error.empty() || !rec.Flag(flag::kMorePartsFollow)) break;

        ui.setAutoPlayCancel(true);
        ++part;
        const std::string next = NthPartName(base, part);
        if (forcePrompt || !FileExists(next)) {
            if (!ejected) {
                ui.ejectCD(next);
                ejected = true;
            }
            bool ok;
            do {
                ok = ui.confirmDisk(ReplaceText(diskPrompt, kDiskNumberTag, std::to_string(part)),
                                    promptTitle, charset, buttons);
                carryOn = ok;
                WaitPumping(0, 500);
            } while (ok && !FileExists(next));
        }
        relay(kProgressStep, 0);
        if (!carryOn) break;
        current = next;
    }

    // Nothing is started after a cancelled prompt or damaged data.
    if (!carryOn || !error.empty()) runEntry.clear();
    ConsoleLine("UnCompressTime: " + std::to_string(GetTickCount() - started) + " MS");
    ConsoleLine("");
    WaitPumping(0, 500);
    return error;
}
