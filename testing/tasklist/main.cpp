// Stand-in for "tasklist.exe /FO csv": prints the header and one quoted row
// per running process (from a ToolHelp snapshot), or, when the environment
// variable TASKLIST_STANDIN_FILE names a file, that file's bytes unchanged.
// Appends its command line to TASKLIST_STANDIN_LOG when that is set.
#include "stub/util/process.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? std::string(v) : std::string();
}

void Write(const std::string& bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
              &written, nullptr);
}

} // namespace

int main() {
    const std::string log = Env("TASKLIST_STANDIN_LOG");
    if (!log.empty()) {
        std::ofstream out(log, std::ios::binary | std::ios::app);
        out << GetCommandLineA() << "\r\n";
    }
    const std::string file = Env("TASKLIST_STANDIN_FILE");
    if (!file.empty()) {
        std::ifstream in(file, std::ios::binary);
        if (!in) return 1;
        std::ostringstream s;
        s << in.rdbuf();
        Write(s.str());
        return 0;
    }
    std::string text = "\r\n\"Image Name\",\"PID\",\"Session Name\",\"Session#\",\"Mem Usage\"\r\n";
    for (const SnapshotProcess& p : ProcessSnapshot())
        text += "\"" + (p.processId == 0 ? std::string("System Idle Process") : p.exeFile) +
                "\",\"" + std::to_string(p.processId) + "\",\"Console\",\"1\",\"1,024 K\"\r\n";
    Write(text);
    return 0;
}
