#include "core/vetter/executions.h"

#include <cstring>

namespace vetter {

namespace {
std::string Cleaned(const std::string& text) {
    std::string s = text;
    for (char& c : s) {
        if (c == '"' || c == '\t' || c == '\n') c = ' ';
    }
    std::size_t end = s.find_last_not_of(' ');
    if (end == std::string::npos) return std::string();
    std::size_t begin = s.find_first_not_of(' ');
    return s.substr(begin, end - begin + 1);
}
std::string Cut(std::string s, std::size_t size) {
    if (s.size() > size - 1) s.resize(size - 1);
    return s;
}
} // namespace

std::string BxArgFolder(const std::string& target, const std::string& base) {
    std::string t = Cleaned(target);
    std::string folder = t.compare(0, 2, ".\\") == 0 ? Cleaned(base) + t.substr(1) : t;
    return Cut(folder, kPathSize - 1) + "\\";
}

std::string ExtractTarget(const std::string& given, const char* placeholder,
                          const std::string& currentDir, const char* defaultName) {
    std::string p = Cleaned(given);
    if (!p.empty() && p != placeholder) return Cut(p, kPathSize);
    return Cut(currentDir + "\\" + defaultName, kPathSize);
}

std::vector<std::string> HelpTexts(const std::string& program, const std::string& version) {
    // The header is formatted into 260 bytes: a longer one is cut.
    std::string header = Cut(
        "\n\n" + program + " V" + version + " Usage: " + program + " [option] ... [option]", 260);
    return {
        "\n\n" + header,
        "\n\nPossible options:",
        "\n\n/silent\tThe Setup program will run without intervention of the user.",
        "\n/hide\tThe Setup program will run completely in the background, presenting no dialog "
        "during the process.",
        "\n/InstallDir=\"Destination Directory\"\tDefine the default Destination directory for "
        "the setup.",
        "\n/[Extract]=yes/no\t\tExtract data into destination directory.",
        "\n/[NoSystemCheck]=yes/no\tNo system check will be executed.",
        "\n/[Update]=yes/no\t\tUpdate.",
        "\n/[Force]=yes/no\t\tForce installation (default).",
        // Formatted through a 1024-byte buffer.
        Cut("\n\nExample:\t" + program + "\t/silent\t/hide\t/[Update]=yes", 1024),
        "\n\n",
        "\n",
    };
}

bool CopyTextLines(std::FILE* from, std::FILE* to) {
    char line[256];
    while (std::fgets(line, sizeof line, from)) {
        if (std::fputs(line, to) < 0) return false;
    }
    return !std::ferror(from);
}

DebugRoute ChooseDebugRoute(int level, int debugLevel, bool onScreen, int verboseLevel,
                            bool haveFile) {
    if (onScreen) return level > verboseLevel ? DebugRoute::None : DebugRoute::Screen;
    if (debugLevel == 0 || !haveFile || level > debugLevel) return DebugRoute::None;
    return DebugRoute::File;
}

} // namespace vetter
