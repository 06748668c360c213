#pragma once
// Unit StubAU, update part: carrying out an offered update (offer, download,
// question, shutdown of the product, setup run, new version, finish message,
// restart of the product) and the hand-over to a fresh plain agent.
#include <functional>
#include <string>

// True when the update's setup run reported success.
bool PerformAutoUpdate();
// Starts the plain agent in restart mode and ends the transient agent.
void ReStartAutoUpdateExe();

namespace autoupdate {

// Message boxes of the update flow, replaceable so that tests can answer
// them; owner selects the box mode (0, 1, 2).
struct Boxes {
    std::function<bool(int owner, const std::string& text, const std::string& caption)>
        confirmYesNo;
    std::function<void(int owner, const std::string& text, const std::string& caption)> warningMsg;
};
void SetBoxes(const Boxes& boxes);

// The command that restarts the plain agent in restart mode.
std::string RestartCommand();

} // namespace autoupdate
