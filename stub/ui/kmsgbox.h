#pragma once
// Unit KMsgBox: the stub's own modal message box. Text markup ("<B>", "</B>",
// "<P>", "<T>" and the escapes) is rendered in a read-only Rich Edit control,
// button captions come from a delimited list ("|&OK|&Cancel|&Yes|&No|&Abort|
// &Retry|&Ignore|"), the font follows the package's language.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/ui/markup.h" // ConvertEscapes

// Owner argument: 0, 1 or 2 select a mode and make the active window the
// owner (0: the caption becomes a bold heading of the text; 2: the Close
// command is disabled); any larger value is the owner window itself.
using MsgOwner = UINT_PTR;
inline MsgOwner OwnerWindow(HWND hwnd) {
    return reinterpret_cast<MsgOwner>(hwnd);
}

// Flags word, laid out like the system message-box flags.
namespace msgbox {
constexpr uint32_t kButtonSetMask = 0x0000000F;
constexpr uint32_t kIconMask = 0x000000F0;
constexpr uint32_t kIconHand = 0x10;
constexpr uint32_t kIconQuestion = 0x20;
constexpr uint32_t kIconExclamation = 0x30;
constexpr uint32_t kIconAsterisk = 0x40;
constexpr uint32_t kDefaultButtonMask = 0x00000F00;
constexpr int kDefaultButtonShift = 8;
constexpr uint32_t kRightAligned = 0x00080000;
constexpr uint32_t kRtlReading = 0x00100000;
constexpr uint32_t kNoClose = 0x10000000;
} // namespace msgbox

// Result codes: 1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No;
// 0 when the box closed without a button (Escape).
int ShowMsgBox(MsgOwner owner, const std::string& text, const std::string& caption, int timeoutMs,
               uint32_t flags, int charset, const std::string& buttons);

// Wrappers: an empty button list becomes the default list, an empty caption
// the default caption of the kind ("Error", "Attention", "Confirm").
void ErrorMsg(MsgOwner owner, const std::string& text, const std::string& caption, int charset,
              const std::string& buttons);
void WarningMsg(MsgOwner owner, const std::string& text, const std::string& caption, int timeoutMs,
                int charset, const std::string& buttons);
// True when Yes was chosen (also when the timeout picks the leftmost button).
bool ConfirmYesNo(MsgOwner owner, const std::string& text, const std::string& caption,
                  int timeoutMs, int charset, const std::string& buttons);
// True when OK was chosen.
bool ConfirmOkCancel(MsgOwner owner, const std::string& text, const std::string& caption,
                     int charset, const std::string& buttons);

// Font of every later box; size 0 leaves the size unchanged.
void SetMsgBoxFont(const std::string& faceName, int sizePoints, int charset);

// Once enabled, boxes (and the main window, through AutoPlayCancelMsg) answer
// the registered "QueryCancelAutoPlay" message with 1.
void SetAutoPlayCancel(bool enable);
// The registered message number, or 0 while AutoPlay cancellation is off.
UINT AutoPlayCancelMsg();
