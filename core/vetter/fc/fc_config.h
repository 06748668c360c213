#pragma once
// The FC configuration file: line rules and the filling of its records.
//
// Lines are read in full however long they are; columns longer than their
// field are cut to fit. A hexadecimal column is converted from its whole
// cleaned text, not from the cut copy. A line whose columns are all blank is
// skipped like a line of bars alone (an empty line must not end the host).

#include "core/vetter/fc/fc_records.h"

#include <cstddef>
#include <string>
#include <vector>

namespace fc {

constexpr int kFcConfigOk = 0;
constexpr int kFcConfigNoFile = 51;
constexpr int kFcConfigNoMemory = 54;
// The two ways a bad number ends the host process.
constexpr int kExitBadHexValue = 55;
constexpr int kExitOutOfRange = 1;

struct FcConfigOutcome {
    int result = kFcConfigOk; // 0 or 54 while the process may go on
    bool endProcess = false;
    int exitCode = 0;        // 55 or 1 when endProcess
    int line = 0;            // 1-based line of the bad value
    std::string message;     // the diagnostic for exit code 55
    bool rangeError = false; // exit code 1: perror("strtoul") with ERANGE first
};

// The columns of a line, cleaned; empty when the line is skipped.
std::vector<std::string> FcConfigColumns(const std::string& line);

// Parses file bytes and appends one record per data line to the list. On
// endProcess the records of the lines before stay in the list.
FcConfigOutcome ParseFcConfig(const std::string& bytes, fc_config_file_entry*** list, size_t* count,
                              const Allocation& a = {});

} // namespace fc
