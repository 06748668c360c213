#include "core/control/setupline.h"

#include "core/util/numbers.h"
#include "core/util/pathtext.h"
#include "core/util/text.h"

namespace setupline {

std::string ThreadTokenFor(uint32_t threadId) {
    return "_" + std::to_string(threadId);
}

std::string RemoveOption(const std::string& commandLine, const std::string& option) {
    if (option.empty()) return commandLine;
    const size_t at = commandLine.find(option);
    if (at == std::string::npos) return commandLine;
    const size_t next = commandLine.find('/', at + option.size());
    std::string out = commandLine.substr(0, at);
    if (next != std::string::npos) out += commandLine.substr(next);
    return out;
}

std::string EngineCommandLine(const EngineCall& call) {
    std::string program = call.runEntry;
    std::string arguments = call.arguments;
    const size_t star = call.runEntry.find(kRunMarker);
    if (star != std::string::npos) {
        program = Trim(call.runEntry.substr(0, star));
        arguments = Trim(arguments + " " + Trim(call.runEntry.substr(star + 1)));
    }
    std::string line = PathSlashOf(call.targetFolder, true) + program;
    if (!arguments.empty()) line += " " + arguments;
    line += kThreadTokenOption + call.threadToken;
    if (line.find(kOriginExeOption) == std::string::npos)
        line += std::string(" ") + kOriginExeOption + "\"" + call.exePath + "\"";
    if (call.isAgent) line += kAutoUpdateProgOption;
    line = RemoveOption(line, kSpanLevelOption);
    return RemoveOption(line, kSpanFirstPartOption);
}

std::string MegabyteText(double bytes, char decimalSeparator) {
    if (bytes < 0) bytes = 0;
    const double mb = bytes / 1048576.0;
    const int decimals = mb > 10 ? 1 : mb >= 1 ? 2 : 3;
    return FloatToFixed(mb, decimals, false, decimalSeparator);
}

std::string SpaceQuestion(const SpaceTexts& texts, bool alwaysAsk, const std::string& folder,
                          double required, double available, char decimalSeparator) {
    std::string message;
    if (alwaysAsk) message = texts.intro;
    if (required >= available) message = texts.shortSpace;
    if (message.empty()) return message;
    const std::string drive =
        folder.empty() ? std::string() : std::string(1, UpperChar(folder[0])) + ":";
    message += texts.required + texts.available + texts.goOn;
    message = ReplaceText(message, "<DRIVE>", drive);
    message = ReplaceText(message, "<SPACE_REQ>", MegabyteText(required, decimalSeparator));
    return ReplaceText(message, "<SPACE_AVAIL>", MegabyteText(available, decimalSeparator));
}

std::string SpanRelaunchArguments(const std::string& ownArguments, const std::string& exePath) {
    return Trim(ownArguments + " " + kSpanLevelOption + "2 " + kSpanFirstPartOption + "\"" +
                exePath + ".001\" " + kOriginExeOption + "\"" + exePath + "\"");
}

} // namespace setupline
