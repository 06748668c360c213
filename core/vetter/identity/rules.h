#pragma once
// The qualification rules over identifiers that the Windows layer has
// already determined: list matching, the board/chassis key decision and the
// virtual-machine and ZR tests.

#include <functional>
#include <string>
#include <vector>

namespace identity {

// Items of a comma-separated list, cleaned; empty separators are dropped but
// an item that is empty after cleaning stays (it matches everything).
std::vector<std::string> ListItems(const std::string& list);
// True when the identifier starts with one of the items.
bool ListMatch(const std::string& identifier, const std::string& list);

// Which keys a condition text names, found as plain substrings anywhere.
struct NamedKeys {
    bool board = false;
    bool chassis = false;
};
NamedKeys KeysNamedIn(const std::string& data);

// The shared decision of Is_Valid_System and Is_ChassisBoardID_Available.
// boardFound/chassisFound: whether the key's quoted value was read. The
// chassis rule runs only after a board rule that held (or when the data
// names no board).
using RuleCheck = std::function<bool()>;
bool DecideBoardAndChassis(const char* data, bool boardFound, bool chassisFound,
                           const RuleCheck& boardRule, const RuleCheck& chassisRule);

// A chassis identifier of a virtual machine ("440BX" counts for boards only).
bool IsVirtualChassisName(const std::string& chassis);
bool IsZrChassis(const std::string& nativeChassis);

} // namespace identity
