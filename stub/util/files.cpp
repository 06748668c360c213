#include "stub/util/files.h"

#include "core/util/pathtext.h"
#include "core/util/text.h"
#include "stub/util/console.h"
#include "stub/util/handles.h"
#include "stub/util/paths.h"
#include "stub/util/utils.h"

#include <vector>

namespace {

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsDotEntry(const char* name) {
    return (name[0] == '.' && name[1] == '\0') ||
           (name[0] == '.' && name[1] == '.' && name[2] == '\0');
}

bool IsSubfolder(const WIN32_FIND_DATAA& fd) {
    return (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !IsDotEntry(fd.cFileName);
}

bool SetDate(HANDLE file, int32_t fileDate) {
    FILETIME local, utc;
    const uint32_t packed = static_cast<uint32_t>(fileDate);
    if (!DosDateTimeToFileTime(static_cast<WORD>(packed >> 16), static_cast<WORD>(packed & 0xFFFF),
                               &local) ||
        !LocalFileTimeToFileTime(&local, &utc))
        return false;
    return SetFileTime(file, nullptr, nullptr, &utc) != FALSE;
}

win::File OpenForAppend(const std::string& path) {
    win::File f(CreateFileA(path.c_str(), GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (f) SetFilePointer(f.get(), 0, nullptr, FILE_END);
    return f;
}

// Writes up to n bytes; the count that went out.
DWORD WriteSome(HANDLE file, const char* data, size_t n) {
    DWORD written = 0;
    if (!WriteFile(file, data, static_cast<DWORD>(n), &written, nullptr)) return 0;
    return written;
}

} // namespace

int64_t FileSizeByName(const std::string& path) {
    WIN32_FIND_DATAA fd;
    win::FindHandle find(FindFirstFileA(path.c_str(), &fd));
    if (!find) return 0;
    return (static_cast<int64_t>(fd.nFileSizeHigh) << 32) | fd.nFileSizeLow;
}

std::string ReadFilePart(const std::string& path, uint32_t count, int64_t offset) {
    if (!FileExists(path)) return std::string();
    win::File f(CreateFileA(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) return std::string();
    LARGE_INTEGER size;
    if (!GetFileSizeEx(f.get(), &size)) return std::string();
    if (offset < 0 || offset >= size.QuadPart) return std::string();
    int64_t n = size.QuadPart - offset;
    if (count != 0 && n > count) n = count;
    // One read into memory; a 32-bit process cannot hold more anyway.
    if (n <= 0 || n > 0x7FFFFFFF) return std::string();
    LARGE_INTEGER at;
    at.QuadPart = offset;
    if (!SetFilePointerEx(f.get(), at, nullptr, FILE_BEGIN)) return std::string();
    std::string data(static_cast<size_t>(n), '\0');
    DWORD got = 0;
    if (!ReadFile(f.get(), &data[0], static_cast<DWORD>(n), &got, nullptr) || got != n)
        return std::string();
    return data;
}

bool WriteFileText(const std::string& path, const std::string& data, int32_t fileDate, bool append,
                   FileProgressProc callback) {
    win::File f =
        append
            ? OpenForAppend(path)
            : win::File(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    // A file that could not be opened was not written, even with no data.
    if (!f) return false;
    const size_t length = data.size();
    size_t written = 0;
    if (callback != nullptr || length > kChunkedWriteAbove) {
        const size_t chunk = WriteChunkSize(length);
        bool cancel = false;
        const int32_t maximum = static_cast<int32_t>(length);
        if (callback != nullptr) callback(0, 0, maximum, 0, 1, cancel);
        while (written < length && !cancel) {
            size_t n = length - written < chunk ? length - written : chunk;
            DWORD out = WriteSome(f.get(), data.data() + written, n);
            if (out == 0) break;
            written += out;
            if (callback != nullptr)
                callback(0, 0, maximum, static_cast<int32_t>(written), 1, cancel);
        }
    } else if (length > 0) {
        written = WriteSome(f.get(), data.data(), length);
    }
    const bool all = written == length;
    if (all && fileDate != 0) SetDate(f.get(), fileDate);
    return all;
}

bool AppendFileText(const std::string& path, const std::string& data, int32_t fileDate) {
    win::File f = OpenForAppend(path);
    if (!f) return false;
    size_t written = data.empty() ? 0 : WriteSome(f.get(), data.data(), data.size());
    const bool all = written == data.size();
    if (all && fileDate != 0) SetDate(f.get(), fileDate);
    return all;
}

double DiskFree(const std::string& path) {
    using FreeSpaceExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);
    static const FreeSpaceExFn freeSpaceEx =
        LoadProc<FreeSpaceExFn>("kernel32.dll", "GetDiskFreeSpaceExA");
    const std::string p = ReplaceChar(path, '/', '\\');
    const std::string query = DiskFreeQueryPath(p, freeSpaceEx != nullptr);
    const char* queryArg = query.empty() ? nullptr : query.c_str();
    const std::string root = DriveRootOf(p);
    const char* rootArg = root.empty() ? nullptr : root.c_str();
    if (freeSpaceEx != nullptr) {
        ULARGE_INTEGER available, total, free;
        if (freeSpaceEx(queryArg, &available, &total, &free) ||
            freeSpaceEx(rootArg, &available, &total, &free))
            return static_cast<double>(available.QuadPart);
        return -1;
    }
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(rootArg, &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters))
        return -1;
    return static_cast<double>(sectorsPerCluster) * bytesPerSector * freeClusters;
}

std::string FindFileInTree(const std::string& folder, const std::string& fileName) {
    if (fileName.empty()) return std::string();
    const std::string base = PathSlash(folder, true);
    if (FileExists(base + fileName)) return base + fileName;
    WIN32_FIND_DATAA fd;
    win::FindHandle find(FindFirstFileA((base + "*").c_str(), &fd));
    if (!find) return std::string();
    do {
        std::string hit;
        // Links are not followed: they can loop back into the tree.
        if (IsSubfolder(fd) && !(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            hit = FindFileInTree(base + fd.cFileName, fileName);
        PumpMessages(0);
        if (!hit.empty()) return hit;
    } while (FindNextFileA(find.get(), &fd));
    return std::string();
}

std::string FindFileOnDrives(const std::string& fileName, int driveType) {
    if (driveType < 0) return std::string();
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        if (static_cast<int>(GetDriveTypeA(root.c_str())) != driveType) continue;
        std::string hit = FindFileInTree(root, fileName);
        if (!hit.empty()) return hit;
    }
    return std::string();
}

std::string FindDirInTree(const std::string& folder, const std::string& dirName) {
    if (dirName.empty()) return std::string();
    const std::string base = PathSlash(folder, true);
    WIN32_FIND_DATAA fd;
    win::FindHandle find(FindFirstFileA((base + "*").c_str(), &fd));
    if (!find) return std::string();
    do {
        std::string hit;
        if (IsSubfolder(fd)) {
            const std::string sub = base + fd.cFileName;
            if (EndsWith("\\" + dirName, sub, true))
                hit = sub;
            else if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                hit = FindDirInTree(sub, dirName);
        }
        PumpMessages(0);
        if (!hit.empty()) return hit;
    } while (FindNextFileA(find.get(), &fd));
    return std::string();
}

std::string FindDirOnDrives(const std::string& dirName, int driveType) {
    if (dirName.size() >= 3 && dirName.compare(1, 2, ":\\") == 0) {
        const std::string root = DriveRootOf(dirName);
        if (static_cast<int>(GetDriveTypeA(root.c_str())) == driveType && DirExists(dirName))
            return dirName;
        return std::string();
    }
    if (driveType < 0) return std::string();
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const std::string root = std::string(1, letter) + ":\\";
        if (static_cast<int>(GetDriveTypeA(root.c_str())) != driveType) continue;
        std::string hit = FindDirInTree(root, dirName);
        if (!hit.empty()) return hit;
    }
    return std::string();
}

bool DeleteFiles(const std::string& mask, bool clearAttributes) {
    const size_t cut = mask.find_last_of("\\/:");
    const std::string folder = cut == std::string::npos ? std::string() : mask.substr(0, cut + 1);
    WIN32_FIND_DATAA fd;
    win::FindHandle find(FindFirstFileA(mask.c_str(), &fd));
    if (!find) return false;
    bool found = false;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        found = true;
        const std::string file = folder + fd.cFileName;
        if (clearAttributes) SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(file.c_str());
    } while (FindNextFileA(find.get(), &fd));
    return found;
}

bool DeleteTree(const std::string& folder, bool clearAttributes, FileProgressProc callback) {
    if (folder.empty()) return false;
    const std::string dir = PathSlash(folder, false);
    const bool existed = DirExists(dir);
    const std::string base = dir + "\\";
    DeleteFiles(base + "*.*", clearAttributes);
    bool cancel = false;
    {
        WIN32_FIND_DATAA fd;
        win::FindHandle find(FindFirstFileA((base + "*").c_str(), &fd));
        if (find) {
            do {
                if (!IsSubfolder(fd)) continue;
                const std::string sub = base + fd.cFileName;
                // A linked folder goes as a link; what it points to is not ours.
                if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                    DeleteTree(sub, clearAttributes, nullptr);
                if (callback != nullptr) callback(1, 0, 0, 0, 0, cancel);
                if (clearAttributes) SetFileAttributesA(sub.c_str(), FILE_ATTRIBUTE_NORMAL);
                RemoveDirectoryA(sub.c_str());
            } while (!cancel && FindNextFileA(find.get(), &fd));
        }
    }
    if (clearAttributes) SetFileAttributesA(dir.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(dir.c_str());
    return existed && !DirExists(dir);
}

std::string WriteSelfDeleteBatch(const std::string& exe, bool removeFolder, bool shortNames) {
    const std::string batch = TempDir(true) + kSelfDeleteBatchName;
    std::string exePath = exe;
    const size_t cut = exe.find_last_of("\\/");
    std::string folder =
        cut == std::string::npos ? std::string() : PathSlash(exe.substr(0, cut + 1), false);
    std::string batchPath = batch;
    std::string q = "\"";
    if (shortNames && WriteFileText(batch, "ABC\r\n", 0, false, nullptr)) {
        auto shortOf = [](const std::string& longPath) {
            DWORD n = GetShortPathNameA(longPath.c_str(), nullptr, 0);
            if (n == 0) return std::string();
            std::string s(n, '\0');
            DWORD got = GetShortPathNameA(longPath.c_str(), &s[0], n);
            return got > 0 && got < n ? s.substr(0, got) : std::string();
        };
        const std::string shortBatch = shortOf(batch);
        const std::string shortExe = shortOf(exePath);
        const std::string shortFolder = shortOf(folder);
        DeleteFileA(batch.c_str());
        // Unquoted paths must be whole and blank-free, or DEL would take
        // them for several names.
        auto usable = [](const std::string& s) {
            return !s.empty() && s.find_first_of(" \t&^|<>()") == std::string::npos;
        };
        if (usable(shortBatch) && usable(shortExe) && usable(shortFolder)) {
            batchPath = shortBatch;
            exePath = shortExe;
            folder = shortFolder;
            q.clear();
        }
    }
    const std::string script = SelfDeleteScript(exePath, folder, batchPath, q, removeFolder);
    if (!WriteFileText(batch, script, 0, false, nullptr)) return std::string();
    return batch;
}

void DeleteMySelf(bool removeFolder, bool shortNames) {
    const std::string batch = WriteSelfDeleteBatch(ExePath(false), removeFolder, shortNames);
    if (batch.empty()) return;
    SetCurrentDirectoryA(TempDir(false).c_str());
    WinExec(("\"" + batch + "\"").c_str(), SW_HIDE);
}

bool EjectCD(const std::string& path, void (*traceLine)(const std::string&)) {
    if (path.empty()) return false;
    const char letter = UpperChar(path[0]);
    if (letter < 'A' || letter > 'Z') return false;
    const std::string root = std::string(1, letter) + ":\\";
    if (GetDriveTypeA(root.c_str()) != DRIVE_CDROM) return false;
    const std::string device = std::string("\\\\.\\") + letter + ":";
    win::File f(CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                            nullptr));
    auto handleText = [&] {
        return std::to_string(static_cast<long long>(reinterpret_cast<INT_PTR>(f.get())));
    };
    traceLine("EjectCD-2: " + device + " " + handleText());
    if (!f)
        f.reset(CreateFileA(device.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr));
    traceLine("EjectCD-3: " + device + " " + handleText());
    if (!f) return false;
    DWORD returned = 0;
    const DWORD kEjectMedia = 0x2D4808; // IOCTL_STORAGE_EJECT_MEDIA
    return DeviceIoControl(f.get(), kEjectMedia, nullptr, 0, nullptr, 0, &returned, nullptr) !=
           FALSE;
}
