#include "core/vetter/identity/rules.h"

#include "core/vetter/identity/id_text.h"

namespace identity {

std::vector<std::string> ListItems(const std::string& list) {
    std::vector<std::string> items;
    size_t i = 0;
    while (i < list.size()) {
        if (list[i] == ',') {
            ++i;
            continue;
        }
        size_t end = list.find(',', i);
        if (end == std::string::npos) end = list.size();
        items.push_back(CleanField(list.substr(i, end - i)));
        i = end;
    }
    return items;
}

bool ListMatch(const std::string& identifier, const std::string& list) {
    for (const std::string& item : ListItems(list)) {
        if (identifier.compare(0, item.size(), item) == 0) return true;
    }
    return false;
}

NamedKeys KeysNamedIn(const std::string& data) {
    NamedKeys k;
    k.board = data.find("board") != std::string::npos;
    k.chassis = data.find("chassis") != std::string::npos;
    return k;
}

bool DecideBoardAndChassis(const char* data, bool boardFound, bool chassisFound,
                           const RuleCheck& boardRule, const RuleCheck& chassisRule) {
    if (!data || data[0] == '\0') return false;
    if (!boardFound && !chassisFound) return false;
    NamedKeys keys = KeysNamedIn(data);
    if (keys.board && keys.chassis) return boardRule() && chassisRule();
    if (keys.board) return boardRule();
    if (keys.chassis) return chassisRule();
    return false;
}

bool IsVirtualChassisName(const std::string& chassis) {
    return IsVirtualMachineName(chassis, false);
}

bool IsZrChassis(const std::string& nativeChassis) {
    return nativeChassis.compare(0, 2, "ZR") == 0;
}

} // namespace identity
