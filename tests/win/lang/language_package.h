#pragma once
// Packages with a chosen language block, written with the package builder and
// read back as the stub reads its own file; and re-running this test program
// as a child, since the language entry is chosen once per process.
#include "core/package/byte_source.h"
#include "core/package/tgfileinfo.h"
#include "core/package/writer.h"
#include "tests/support/wine_test_support.h"

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace langtest {

using Pairs = std::vector<std::string>;
using Languages = std::vector<std::pair<std::string, Pairs>>;

inline std::string LanguageBlock(const Languages& languages) {
    std::string b = "\x02";
    for (const auto& l : languages) {
        b += "\x01" + l.first + "\x01";
        for (const std::string& p : l.second)
            b += p + "\x01";
        b += "\x02";
    }
    return b;
}

// A package without payload; an empty block gives a package with none.
inline bool WritePackage(const std::string& path, const std::string& languageBlock) {
    package::BuildOptions opt;
    opt.stubImage.assign(1024, '\0');
    opt.stubImage[0] = 'M';
    opt.stubImage[1] = 'Z';
    opt.stubImage[0x3C] = 0x00;
    opt.stubImage[0x3D] = 0x01;
    opt.stubImage[256] = 'P';
    opt.stubImage[257] = 'E';
    opt.languageBlock = languageBlock;
    opt.parameterBlock = "|||||";
    opt.threads = 1;
    package::BuildResult result;
    std::string error;
    return package::BuildPackage(opt, path, result, error);
}

inline package::TGFileInfo ReadPackage(const std::string& path) {
    package::StdFileSource src(path);
    return package::TGFileInfo(src);
}

inline std::string Env(const char* name) {
    DWORD n = GetEnvironmentVariableA(name, nullptr, 0);
    if (n == 0) return std::string();
    std::string v(n, '\0');
    n = GetEnvironmentVariableA(name, &v[0], n);
    v.resize(n);
    return v;
}

inline std::string SelfPath() {
    std::string p(32768, '\0');
    p.resize(GetModuleFileNameA(nullptr, &p[0], DWORD(p.size())));
    return p;
}

// Runs the test `filter` of this program in a new process with the given
// environment variables set; returns its exit code.
inline long RunChildTest(const std::string& filter,
                         const std::vector<std::pair<std::string, std::string>>& env) {
    for (const auto& e : env)
        SetEnvironmentVariableA(e.first.c_str(), e.second.c_str());
    const long rc =
        testsupport::RunAndWait("\"" + SelfPath() + "\" --gtest_filter=" + filter, 60000);
    for (const auto& e : env)
        SetEnvironmentVariableA(e.first.c_str(), nullptr);
    return rc;
}

} // namespace langtest
