#pragma once
// The stubpack commands; each returns the process exit code.
#include "tools/stubpack/args.h"

namespace stubpack {

int BuildCommand(Args& args);
int InspectCommand(Args& args);
int ExtractCommand(Args& args);
int TokenCommand(Args& args);

// "stubpack: " + message on standard error; returns the exit code 1 (2 for usage errors).
int Fail(const std::string& message, int code = 1);

} // namespace stubpack
