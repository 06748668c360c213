#pragma once
// The first disk of a multi-disk set copies itself to the setup folder as
// "Y_" + its name and starts the copy on the set's first part file.
#include <string>

constexpr char kSpanCopyPrefix[] = "Y_";

// Copies and starts; returns at once. False when the copy could not be made
// or started.
bool SpanRelaunch();
