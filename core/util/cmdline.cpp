#include "core/util/cmdline.h"

#include "core/util/ksub.h"
#include "core/util/numbers.h"
#include "core/util/text.h"

namespace {

const char kOptionDelimiter = '\x01';

std::string FileNameOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

// After the program name: a remainder that is only a stray quote or the
// like is no argument.
std::string AfterProgram(const std::string& rest) {
    std::string t = Trim(rest);
    return t.size() == 1 ? std::string() : t;
}

} // namespace

std::string CommandTailOf(const std::string& commandLine, const std::string& exePath) {
    const std::string name = FileNameOf(exePath);
    if (!name.empty()) {
        int p = PosNoCase(name + "\"", commandLine);
        if (p > 0) return AfterProgram(commandLine.substr(p - 1 + name.size() + 1));
        p = PosNoCase(name, commandLine);
        if (p > 0) return AfterProgram(commandLine.substr(p - 1 + name.size()));
    }
    std::string tail = commandLine;
    int p = PosNoCase(exePath, tail);
    if (p > 0) tail.erase(p - 1, exePath.size());
    return Trim(tail);
}

std::string CmdOptionList(const std::string& tail, char optionChar) {
    std::string list = ReplaceText(" " + tail, "\"", "");
    list = ReplaceText(list, std::string(" ") + optionChar, std::string(1, kOptionDelimiter));
    return kOptionDelimiter + list + kOptionDelimiter;
}

std::string GetCmdValueOf(const std::string& tail, const std::string& name,
                          const std::string& def) {
    std::string key = Trim(name);
    if (key.empty()) return def;
    const char optionChar = key[0] == '-' ? '-' : '/';
    key = ReplaceText(key, std::string(1, optionChar), "");
    // A name made only of option characters names no option.
    if (key.empty()) return def;
    return Trim(SUB::GetValue(CmdOptionList(tail, optionChar), key, def, ""));
}

int64_t GetCmdIntOf(const std::string& tail, const std::string& name, int64_t def) {
    return TextToInt64(GetCmdValueOf(tail, name, ""), def);
}

bool HasCmdWordOf(const std::string& tail, const std::string& word) {
    std::string w = Trim(word);
    // An empty word would match any blank.
    if (w.empty()) return false;
    return PosNoCase(w + " ", tail + " ") > 0;
}
