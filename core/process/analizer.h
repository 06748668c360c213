#pragma once
// Unit ProcessViewer, window scoring: which top-level window of a process is
// its main window. Handles are plain numbers here; the Windows layer supplies
// the owner chain, the title and the visibility.
#include <cstdint>
#include <functional>

class TAnalizer {
  public:
    static constexpr int kMaxWindows = 2001;
    using Window = uintptr_t;

    explicit TAnalizer(uint32_t processId) : processId_(processId) {}
    TAnalizer(const TAnalizer&) = delete;
    TAnalizer& operator=(const TAnalizer&) = delete;

    // Collects a window of the process; false once the table is full.
    bool Add(Window window);

    struct WindowFacts {
        std::function<Window(Window)> topOwner; // last window of the owner chain
        std::function<bool(Window)> hasTitle;
        std::function<bool(Window)> visible;
    };
    // Every collected window that is the top owner of a collected window gains
    // 1 per such window; then the score is multiplied by 4, a titled window
    // gains 2 and a visible one 1.
    void Score(const WindowFacts& facts);
    // Highest score, the first enumerated on ties; 0 when every score is 0.
    Window Best() const;

    int count() const { return count_; }
    uint32_t processId() const { return processId_; }
    uint16_t score(int i) const { return scores_[i]; }
    Window window(int i) const { return windows_[i]; }

  private:
    Window windows_[kMaxWindows] = {};
    uint16_t scores_[kMaxWindows] = {};
    int count_ = 0;
    uint32_t processId_ = 0;
};
