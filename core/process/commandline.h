#pragma once
// Unit ExecPipe, portable part: the command line of a captured run and the
// error text of a run that could not start.
#include <cstddef>
#include <string>

// Longest command line CreateProcess accepts, in bytes.
constexpr size_t kMaxCommandLine = 32766;
// Exit code reported for a program that could not be started.
constexpr unsigned long kLaunchFailedExitCode = 21;

// program (in double quotes when it has a space and no double quote), then a
// space and the parameters when there are any.
std::string BuildCommandLine(const std::string& program, const std::string& parameters);

// "Command line is too long" for an over-long line, otherwise its first 256
// bytes + " --- " + the system's error text.
std::string LaunchErrorText(const std::string& commandLine, const std::string& errorText);

// Milliseconds the next poll waits: 1 with a callback, else 100; once standard
// output has arrived it shrinks by 10 per pass to no less than 10.
int NextPollStep(int step, bool outputArrived);
int FirstPollStep(bool withCallback);
