#pragma once
// The system-board D-number rule and the registry texts that carry the board
// and chassis identifiers between runs.

#include <string>

namespace identity {

enum class BoardKind {
    DNumber,      // the text from the first upper-case "D" on
    VirtualBoard, // no "D", but a virtual-machine board name (incl. "440BX")
    Rejected,
};

struct BoardDerivation {
    BoardKind kind = BoardKind::Rejected;
    std::string value; // what goes to the output; empty when rejected
};

// "ABC12-D1234-X1" gives "D1234-X1"; "D1234" stays; "440BX..." is virtual.
BoardDerivation DeriveDNumber(const std::string& boardInfo);

// Registry names under the Ascendo key.
constexpr const char* kChassisValueName = "Chassis";
constexpr const char* kSystemBoardValueName = "systemBoard";
// The registry write keeps at most this many bytes, NUL included.
constexpr size_t kAscendoValueMax = 260;

// The "systemBoard" text: the D-number alone when it is the whole info,
// otherwise "<D-number> == <info>".
std::string SystemBoardRegistryText(const BoardDerivation& board, const std::string& boardInfo);

struct SystemBoardValue {
    std::string out;        // what the caller's output receives
    std::string sachnummer; // what "SACHNUMMER" receives when publishing
};
// Reads a stored "systemBoard" text back: the parts around "==" without the
// blanks the writer put beside it, or the whole text for both.
SystemBoardValue ParseSystemBoardRegistryText(const std::string& text);

} // namespace identity
