#include "core/vetter/identity/board_id.h"

#include "core/vetter/identity/id_text.h"

namespace identity {

namespace {

std::string TrimBlanks(const std::string& s) {
    size_t b = s.find_first_not_of(' ');
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(' ');
    return s.substr(b, e - b + 1);
}

} // namespace

BoardDerivation DeriveDNumber(const std::string& boardInfo) {
    BoardDerivation d;
    size_t pos = boardInfo.find('D');
    if (pos != std::string::npos) {
        d.kind = BoardKind::DNumber;
        d.value = boardInfo.substr(pos);
    } else if (IsVirtualMachineName(boardInfo, true)) {
        d.kind = BoardKind::VirtualBoard;
        d.value = boardInfo;
    }
    return d;
}

std::string SystemBoardRegistryText(const BoardDerivation& board, const std::string& boardInfo) {
    if (board.kind != BoardKind::DNumber || board.value == boardInfo) return boardInfo;
    return board.value + " == " + boardInfo;
}

SystemBoardValue ParseSystemBoardRegistryText(const std::string& text) {
    SystemBoardValue v;
    size_t pos = text.find("==");
    if (pos == std::string::npos) {
        v.out = text;
        v.sachnummer = text;
    } else {
        v.out = TrimBlanks(text.substr(0, pos));
        v.sachnummer = TrimBlanks(text.substr(pos + 2));
    }
    return v;
}

} // namespace identity
