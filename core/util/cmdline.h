#pragma once
// Command-line option reader. An option is the option character ("/" or
// "-"), its name, "=" and its value up to the next " /"; names compare
// case-insensitively and the first of repeated options wins. Everything
// here is a function of the command-line text, so the Windows layer only
// supplies GetCommandLineA() and the module path.

#include <cstdint>
#include <string>

// The command line without the program name, trimmed.
std::string CommandTailOf(const std::string& commandLine, const std::string& exePath);

// The tail as a delimited list with delimiter byte 1: one item per option.
std::string CmdOptionList(const std::string& tail, char optionChar);

// Value of the option `name` ("/SleepX", "SleepX", "-x" ...), trimmed; def
// when the option is absent, empty when it is present with no value.
std::string GetCmdValueOf(const std::string& tail, const std::string& name, const std::string& def);
int64_t GetCmdIntOf(const std::string& tail, const std::string& name, int64_t def);
// Whether the trimmed word followed by a space occurs in tail + space.
bool HasCmdWordOf(const std::string& tail, const std::string& word);
