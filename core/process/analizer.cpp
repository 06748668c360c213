#include "core/process/analizer.h"

bool TAnalizer::Add(Window window) {
    if (count_ >= kMaxWindows) return false;
    windows_[count_] = window;
    scores_[count_] = 0;
    ++count_;
    return true;
}

void TAnalizer::Score(const WindowFacts& facts) {
    for (int i = 0; i < count_; ++i) {
        const Window top = facts.topOwner ? facts.topOwner(windows_[i]) : windows_[i];
        for (int j = 0; j < count_; ++j)
            if (windows_[j] == top) ++scores_[j];
    }
    for (int i = 0; i < count_; ++i) {
        // At most 2001 points from owners: times 4 plus 3 stays below 65536.
        unsigned s = scores_[i] * 4u;
        if (facts.hasTitle && facts.hasTitle(windows_[i])) s += 2;
        if (facts.visible && facts.visible(windows_[i])) s += 1;
        scores_[i] = static_cast<uint16_t>(s);
    }
}

TAnalizer::Window TAnalizer::Best() const {
    int best = -1;
    for (int i = 0; i < count_; ++i)
        if (scores_[i] > 0 && (best < 0 || scores_[i] > scores_[best])) best = i;
    return best < 0 ? 0 : windows_[best];
}
