#include "core/net/http_errorpage.h"

#include "core/util/text.h"

bool IsErrorPageText(const std::string& text) {
    const std::string head = text.substr(0, kErrorPageScanBytes);
    const int p1 = PosNoCase("<TITLE", head);
    const int p2 = PosNoCase("404", head);
    const int p3 = PosNoCase("</TITLE>", head);
    if (0 < p1 && p1 < p2 && p2 < p3) return true;
    const int q1 = PosNoCase("<HTML>", head);
    const int q2 = PosNoCase("<HEAD>", head);
    const int q3 = PosNoCase("<TITLE>", head);
    const int q4 = PosNoCase("</TITLE>", head);
    return 0 < q1 && q1 < q2 && q2 < q3 && q3 < q4;
}

std::string ErrorPageMessageText(const std::string& url) {
    return "<B>404 File Not Found...</B><P><P>URL:  " + url + "." +
           "<P><P>Please make sure the file is available and access is allowed to this file.";
}
