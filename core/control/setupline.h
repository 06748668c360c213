#pragma once
// The texts of a setup run: the engine's command line, the option remover,
// the megabyte text and the free-space question. Functions of their inputs.
#include <cstdint>
#include <string>

namespace setupline {

constexpr char kThreadTokenOption[] = " /TH_ID=";
constexpr char kOriginExeOption[] = "/OriginExe=";
constexpr char kAutoUpdateProgOption[] = " /AutoUpdateProg";
constexpr char kSpanLevelOption[] = "/SpanCdLvl=";
constexpr char kSpanFirstPartOption[] = "/SpanDiskFName1=";
constexpr char kAtomPrefix[] = "XkbkNbhocoKinoVsefgVjKqwcbj";
constexpr char kDialogClassPrefix[] = ".SDialog_Class_Name.";
constexpr char kRunMarker = '*';

// "_" + the thread id in decimal.
std::string ThreadTokenFor(uint32_t threadId);

// Removes the first occurrence of option and everything after it up to, not
// including, the next "/" (or to the end).
std::string RemoveOption(const std::string& commandLine, const std::string& option);

struct EngineCall {
    std::string targetFolder; // the setup folder the entry was extracted to
    std::string runEntry;     // item 0 of the entry marked to run
    std::string arguments;    // the stub's own arguments
    std::string threadToken;
    std::string exePath; // the running executable
    bool isAgent = false;
};
// Folder + program (unquoted), the stub's then the entry's arguments,
// " /TH_ID=" + token, " /OriginExe=" + quoted exe path unless one is there,
// " /AutoUpdateProg" for an agent; without "/SpanCdLvl=" and "/SpanDiskFName1=".
std::string EngineCommandLine(const EngineCall& call);

// Bytes as megabytes: 1 decimal above 10, 2 from 1, else 3; negative is 0.
std::string MegabyteText(double bytes, char decimalSeparator);

// The texts the space question is made of, as the language gives them.
struct SpaceTexts {
    std::string intro, shortSpace, required, available, goOn;
};
// Empty when nothing needs asking: neither the always-ask flag nor
// required >= available. Otherwise the question with "<DRIVE>",
// "<SPACE_REQ>" and "<SPACE_AVAIL>" filled in.
std::string SpaceQuestion(const SpaceTexts& texts, bool alwaysAsk, const std::string& folder,
                          double required, double available, char decimalSeparator);

// The relaunched copy's arguments: the stub's own, " /SpanCdLvl=2
// /SpanDiskFName1=" with the quoted first part file (exe + ".001"), then
// " /OriginExe=" with the quoted exe path; trimmed.
std::string SpanRelaunchArguments(const std::string& ownArguments, const std::string& exePath);

} // namespace setupline
