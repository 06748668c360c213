#pragma once
// Cases that end their process run in a child: this test program again,
// limited to ChildProcess.Run, with the case named in V2_CHILD.
#include <string>

namespace v2 {

// Runs the named child case and returns its exit code (-1: not started).
long RunChild(const std::string& caseName, const std::string& argument);
// Any command line with its standard output kept in *output (CR LF as LF).
long RunCapturing(const std::string& commandLine, std::string* output);
// The same with the child's standard output kept in *output.
long RunChildCapturing(const std::string& caseName, const std::string& argument,
                       std::string* output);

} // namespace v2
