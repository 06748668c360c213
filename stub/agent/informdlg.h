#pragma once
// Unit StubInformDlg: the update notice. A passed check whose update
// descriptor announces a notice fetches the notice file and shows its text
// once in the resizable window "KRichEditBox", with a button that opens the
// announced address.
#include <windows.h>

#include <functional>
#include <string>

constexpr char kInformWindowClass[] = "KRichEditBox";

// True when the notice was shown or its address opened.
bool PerformAutoInform();

// Shows text (plain or rich text) in the notice window until it closes; an
// empty text opens the address at once instead. False when there was
// neither text nor address.
bool ShowInformDialog(HWND owner, const std::string& caption, const std::string& button,
                      const std::string& text, const std::string& address, int width, int height,
                      const std::string& fontName, int fontSize, int charset);

namespace informdlg {
// How addresses are opened (ShellOpen unless replaced).
void SetAddressOpener(std::function<void(const std::string& address)> open);
} // namespace informdlg
