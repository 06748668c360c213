#include "tools/stubpack/files.h"

#include "core/package/entry.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <sys/stat.h>
#include <sys/types.h>
#ifdef _WIN32
#include <process.h>
#include <sys/utime.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <utime.h>
extern char** environ;
#endif

namespace fs = std::filesystem;

namespace stubpack {

bool ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        out.append(buf, n);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = char(x - 32);
        if (y >= 'a' && y <= 'z') y = char(y - 32);
        if (x != y) return false;
    }
    return true;
}

uint32_t DosTimeOfFile(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return 0;
    std::time_t t = st.st_mtime;
    std::tm tm{};
#ifdef _WIN32
    if (localtime_s(&tm, &t) != 0) return 0;
#else
    if (!localtime_r(&t, &tm)) return 0;
#endif
    return package::PackDosTime(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min,
                                tm.tm_sec);
}

bool SetFileDosTime(const std::string& path, uint32_t dosTime) {
    std::tm tm{};
    tm.tm_year = int((dosTime >> 25) & 0x7F) + 80;
    tm.tm_mon = int((dosTime >> 21) & 0x0F) - 1;
    tm.tm_mday = int((dosTime >> 16) & 0x1F);
    tm.tm_hour = int((dosTime >> 11) & 0x1F);
    tm.tm_min = int((dosTime >> 5) & 0x3F);
    tm.tm_sec = int(dosTime & 0x1F) * 2;
    tm.tm_isdst = -1;
    std::time_t t = std::mktime(&tm);
    if (t == std::time_t(-1)) return false;
#ifdef _WIN32
    struct _utimbuf ub {
        t, t
    };
    return _utime(path.c_str(), &ub) == 0;
#else
    struct utimbuf ub {
        t, t
    };
    return utime(path.c_str(), &ub) == 0;
#endif
}

bool ScanPayload(const std::string& dir, std::vector<package::PayloadFile>& files,
                 std::string& error) {
    files.clear();
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        error = "payload folder " + dir + " does not exist or is not a folder";
        return false;
    }
    fs::recursive_directory_iterator it(dir, fs::directory_options::follow_directory_symlink, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const fs::path& p = it->path();
        fs::file_status st = fs::status(p, ec);
        if (ec) break;
        if (fs::is_directory(st)) continue;
        std::string rel = fs::relative(p, dir, ec).generic_string();
        if (ec) break;
        if (!fs::is_regular_file(st)) {
            error = "payload entry " + rel + " is not a regular file";
            return false;
        }
        std::string stored = rel;
        std::replace(stored.begin(), stored.end(), '/', '\\');
        bool ascii = std::all_of(stored.begin(), stored.end(),
                                 [](char c) { return (unsigned char)c < 0x80; });
        if (!ascii || !package::IsSafeEntryName(stored)) {
            error = "payload file name '" + rel +
                    "' cannot be stored (use ASCII without control characters and <>:\"|?*, "
                    "no trailing dot or blank)";
            return false;
        }
        package::PayloadFile f;
        f.storedName = stored;
        f.sourcePath = p.string();
        f.size = fs::file_size(p, ec);
        if (ec) break;
        f.dosTime = DosTimeOfFile(f.sourcePath);
        files.push_back(f);
    }
    if (ec) {
        error = "cannot read the payload folder " + dir + ": " + ec.message();
        return false;
    }
    std::sort(files.begin(), files.end(),
              [](const package::PayloadFile& a, const package::PayloadFile& b) {
                  return a.storedName < b.storedName;
              });
    for (size_t i = 1; i < files.size(); ++i)
        if (SameText(files[i - 1].storedName, files[i].storedName)) {
            error = "payload files " + files[i - 1].storedName + " and " + files[i].storedName +
                    " differ only in case, which Windows cannot hold apart";
            return false;
        }
    return true;
}

int RunProgram(const std::vector<std::string>& argv) {
    std::vector<char*> av;
    for (const std::string& a : argv)
        av.push_back(const_cast<char*>(a.c_str()));
    av.push_back(nullptr);
#ifdef _WIN32
    // _spawnvp passes arguments unquoted; quote each one for the child's parser.
    std::vector<std::string> quoted;
    for (const std::string& a : argv)
        quoted.push_back("\"" + a + "\"");
    std::vector<const char*> qv;
    for (const std::string& a : quoted)
        qv.push_back(a.c_str());
    qv.push_back(nullptr);
    return int(_spawnvp(_P_WAIT, argv[0].c_str(), qv.data()));
#else
    pid_t pid;
    if (posix_spawnp(&pid, av[0], nullptr, nullptr, av.data(), environ) != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

} // namespace stubpack
