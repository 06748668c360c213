#pragma once
// The stand-in setup engine: what it was given, and what it was told to do.
// Controls come from the environment, which the stub passes on to it.
#include <string>

namespace engine {

// Environment variables that steer the stand-in.
constexpr char kRecordVar[] = "STANDIN_ENGINE_RECORD";      // file to write the record to
constexpr char kExitCodeVar[] = "STANDIN_ENGINE_EXIT_CODE"; // default 0
constexpr char kDialogMsVar[] = "STANDIN_ENGINE_DIALOG_MS"; // dialog window while running
constexpr char kLingerMsVar[] = "STANDIN_ENGINE_LINGER_MS"; // dialog window after the exit
constexpr char kKeepAtomVar[] = "STANDIN_ENGINE_KEEP_ATOM"; // "1": leave the atom

// Names shared with the stub.
constexpr char kAtomPrefix[] = "XkbkNbhocoKinoVsefgVjKqwcbj";
constexpr char kDialogClassPrefix[] = ".SDialog_Class_Name.";
constexpr char kTokenOption[] = "/TH_ID=";
constexpr char kOriginOption[] = "/OriginExe=";
// Internal: a detached copy that only holds the dialog window this long.
constexpr char kLingerOption[] = "/StandInLinger=";

// One "Key=value" line.
std::string RecordLine(const std::string& key, const std::string& value);

} // namespace engine
