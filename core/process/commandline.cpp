#include "core/process/commandline.h"

std::string BuildCommandLine(const std::string& program, const std::string& parameters) {
    std::string line = program;
    if (program.find(' ') != std::string::npos && program.find('"') == std::string::npos)
        line = "\"" + program + "\"";
    if (!parameters.empty()) line += " " + parameters;
    return line;
}

std::string LaunchErrorText(const std::string& commandLine, const std::string& errorText) {
    if (commandLine.size() > kMaxCommandLine) return "Command line is too long";
    return commandLine.substr(0, 256) + " --- " + errorText;
}

int FirstPollStep(bool withCallback) {
    return withCallback ? 1 : 100;
}

int NextPollStep(int step, bool outputArrived) {
    if (!outputArrived) return step;
    return step - 10 < 10 ? 10 : step - 10;
}
