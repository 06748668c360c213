#pragma once
// The developer switch: environment variable DVX equal to "689".

// The answer for a given value of DVX (null when it is not set).
bool DeveloperModeFor(const char* dvxValue);
// Reads DVX once per process.
bool IsDeveloperMode();
