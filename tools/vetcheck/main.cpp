// vetcheck: why does this package refuse this server? Loads a Vetter.dll,
// prints its version, the model, chassis and D-number it finds, every condition with its answer for
// the given condition data, runs an execution on request, and prints what the plug-in published for
// the engine.
#include "tools/vetcheck/vetter_client.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace {

const char kUsage[] =
    "usage: vetcheck [--dll PATH] [--data TEXT | --data-file FILE] [--exec N [A [B]]]\n"
    "  --dll        the plug-in to load (default: Vetter.dll beside vetcheck.exe)\n"
    "  --data       condition data, e.g. board=\"D1000\" winminver=\"6.1\"\n"
    "  --data-file  read the condition data from a file\n"
    "  --exec       run execution N with arguments A and B after the conditions\n";

std::string ProgramFolder() {
    char path[MAX_PATH * 2] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string p(path, n < sizeof path ? n : 0);
    size_t slash = p.find_last_of('\\');
    return slash == std::string::npos ? std::string(".") : p.substr(0, slash);
}

} // namespace

int main(int argc, char** argv) {
    std::string dll = ProgramFolder() + "\\Vetter.dll";
    std::string data;
    int exec = -1;
    std::string execA, execB;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        bool more = i + 1 < argc;
        if (arg == "--dll" && more) {
            dll = argv[++i];
        } else if (arg == "--data" && more) {
            data = argv[++i];
        } else if (arg == "--data-file" && more) {
            std::ifstream in(argv[++i], std::ios::binary);
            if (!in) {
                std::fprintf(stderr, "vetcheck: cannot read %s\n", argv[i]);
                return 2;
            }
            data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        } else if (arg == "--exec" && more) {
            exec = std::atoi(argv[++i]);
            if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) execA = argv[++i];
            if (i + 1 < argc && std::strncmp(argv[i + 1], "--", 2) != 0) execB = argv[++i];
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }

    vetcheck::VetterClient vetter;
    if (!vetter.Load(dll)) {
        std::fprintf(stderr, "vetcheck: %s: %s\n", dll.c_str(), vetter.error().c_str());
        return 2;
    }
    std::printf("plug-in %s\nversion %d\n", dll.c_str(), vetter.Version());
    std::printf("data %s\n", data.c_str());
    vetcheck::IdentityFacts id = vetter.Identity();
    auto fact = [](const char* name, bool found, int result, const std::string& value) {
        if (found)
            std::printf("%s %s\n", name, value.c_str());
        else
            std::printf("%s not determined (%d)\n", name, result);
    };
    fact("model", id.modelResult == 0, id.modelResult, id.model);
    fact("chassis", id.chassisResult == 0, id.chassisResult, id.chassis);
    fact("d-number", id.dNumberFound, 0, id.dNumber);
    for (const vetcheck::NamedAnswer& c : vetter.AllConditions(data))
        std::printf("condition %u \"%s\" = %d\n", c.index, c.name.c_str(), c.answer);
    std::vector<std::string> executions = vetter.ExecutionNames();
    for (unsigned i = 0; i < executions.size(); ++i)
        std::printf("execution %u \"%s\"\n", i, executions[i].c_str());
    int status = 0;
    if (exec >= 0) {
        std::fflush(stdout);
        int result = vetter.Execution(static_cast<unsigned>(exec), execA, execB);
        std::printf("\nrun execution %d = %d\n", exec, result);
        if (result != 1) status = 1;
    }
    for (const auto& [name, value] : vetcheck::VetterClient::Published())
        std::printf("published %s=%s\n", name.c_str(), value.c_str());
    return status;
}
