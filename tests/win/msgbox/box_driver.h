#pragma once
// Drives a message box from a helper thread while the test's thread sits in
// the box's modal loop: finds the "KMsgBox" window, reads it, acts on it.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

struct BoxView {
    HWND box = nullptr;
    HWND text = nullptr;
    HWND focus = nullptr;
    std::string title;
    std::string textClass;
    std::string content;
    std::vector<HWND> buttons; // left to right
    std::vector<std::string> captions;
    RECT boxRect = {};
    RECT client = {};
    RECT textRect = {}; // in client coordinates
    std::vector<RECT> buttonRects;
    int focusIndex = -1; // of the buttons
};

// Characters of the text control that carry the bold effect, in order.
std::string BoldCharacters(HWND text);

class BoxDriver {
  public:
    // `act` runs on the helper thread once the box exists and its thread waits
    // for messages. A box still open 5 s after `act` is closed.
    explicit BoxDriver(std::function<void(const BoxView&)> act);
    ~BoxDriver();
    BoxDriver(const BoxDriver&) = delete;
    BoxDriver& operator=(const BoxDriver&) = delete;
    // Waits for the helper; false when no box appeared or it had to be closed
    // by force.
    bool finish();

  private:
    DWORD guiThread_;
    bool found_ = false;
    bool closedByItself_ = false;
    std::thread thread_;
};

// Messages to the control that has the keyboard focus in the box's thread.
void PostKey(const BoxView& v, UINT vk);
void PostAltChar(const BoxView& v, char ch);
void Click(HWND button);
