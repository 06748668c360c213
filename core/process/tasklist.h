#pragma once
// Unit ProcessViewer, tasklist part: the process id of a program in the text
// that "tasklist.exe /FO csv" prints.
#include <cstdint>
#include <string>
#include <vector>

struct TasklistRow {
    std::string imageName;
    std::string pid; // the second field as printed
};

// One row per non-empty line (CR LF or LF), fields split at commas outside
// double quotes, quotes removed; the header line is a row like any other.
std::vector<TasklistRow> ParseTasklistCsv(const std::string& output);

// The id of the first row whose image name equals the file-name part of
// target (case-insensitive) and whose id reads as a number above 0; 0 when
// none does.
uint32_t TasklistProcessId(const std::string& output, const std::string& target);
