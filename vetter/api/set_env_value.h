#pragma once
// Publishing helper: name=value into the process environment, where the
// engine and the programs it starts see it.
namespace vetter {

// RET_OK, or RET_FATAL_ERROR when the environment could not be changed.
// The pair is built in 512 bytes: an over-long value is cut to fit.
int SetEnvValue(const char* name, const char* value);

} // namespace vetter
