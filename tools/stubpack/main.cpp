#include "tools/stubpack/commands.h"

#include <cstdio>
#include <cstring>
#include <exception>

namespace {

const char kUsage[] =
    "usage: stubpack COMMAND [OPTIONS]\n"
    "\n"
    "commands:\n"
    "  build    append a package (header blocks, payload, trailer) to a copy of the stub\n"
    "  inspect  show the trailer, header blocks, entries and part chain of a package\n"
    "  extract  unpack a package's entries into a folder, as the stub would\n"
    "  token    scramble a token for the parameter or download block\n"
    "\n"
    "'stubpack COMMAND --help' describes each command's options.\n";

} // namespace

int main(int argc, char** argv) {
    try {
        if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h") ||
            !std::strcmp(argv[1], "help")) {
            std::fputs(kUsage, argc < 2 ? stderr : stdout);
            return argc < 2 ? 2 : 0;
        }
        stubpack::Args args(argc, argv, 2);
        std::string cmd = argv[1];
        if (cmd == "build") return stubpack::BuildCommand(args);
        if (cmd == "inspect") return stubpack::InspectCommand(args);
        if (cmd == "extract") return stubpack::ExtractCommand(args);
        if (cmd == "token") return stubpack::TokenCommand(args);
        return stubpack::Fail("unknown command '" + cmd + "' (try stubpack --help)", 2);
    } catch (const std::exception& e) {
        return stubpack::Fail(std::string("internal error: ") + e.what());
    }
}
