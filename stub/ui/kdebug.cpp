#include "stub/ui/kdebug.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <streambuf>

namespace {

class DebugChannel {
  public:
    DebugChannel() {
        InitializeCriticalSection(&lock_);
        message_ = RegisterWindowMessageA(kDebugMessageName);
    }
    DebugChannel(const DebugChannel&) = delete;
    DebugChannel& operator=(const DebugChannel&) = delete;

    void Write(const char* data, std::size_t size) {
        Locked guard(lock_);
        for (std::size_t i = 0; i < size; ++i) {
            char c = data[i];
            if (c == '\n' && !lastWasCR_) Put('\r');
            Put(c);
            lastWasCR_ = c == '\r';
            if (c == '\n') Deliver();
        }
    }

    void Flush() {
        Locked guard(lock_);
        Deliver();
    }

  private:
    struct Locked {
        explicit Locked(CRITICAL_SECTION& cs) : cs_(cs) { EnterCriticalSection(&cs_); }
        ~Locked() { LeaveCriticalSection(&cs_); }
        Locked(const Locked&) = delete;
        Locked& operator=(const Locked&) = delete;
        CRITICAL_SECTION& cs_;
    };

    void Put(char c) {
        buffer_[used_++] = c;
        if (used_ == kDebugBufferSize) Deliver();
    }

    // The chunk is copied out and the buffer emptied before the send: while
    // SendMessageTimeout waits, messages sent to this thread are dispatched
    // and may write to the channel again.
    void Deliver() {
        if (used_ == 0) return;
        char chunk[kDebugBufferSize + 1];
        std::memcpy(chunk, buffer_, used_);
        chunk[used_] = '\0'; // the chunk ends at its first zero byte
        used_ = 0;
        if (chunk[0] == '\0' || message_ == 0) return;
        HWND viewer = FindWindowA(kDebugViewerClass, nullptr);
        if (!viewer) return;
        ATOM atom = GlobalAddAtomA(chunk);
        if (!atom) return;
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(viewer, message_, 1, static_cast<LPARAM>(atom),
                            SMTO_NORMAL | SMTO_ABORTIFHUNG, kDebugSendTimeoutMs, &ignored);
        GlobalDeleteAtom(atom);
    }

    CRITICAL_SECTION lock_;
    UINT message_ = 0;
    char buffer_[kDebugBufferSize] = {};
    std::size_t used_ = 0;
    bool lastWasCR_ = false;
};

// Never destroyed: destructors of other units and the iostreams' own final
// flush may still write after static destruction has begun.
DebugChannel& Channel() {
    static DebugChannel* channel = new DebugChannel;
    return *channel;
}

// std::cout's device: unbuffered here, the channel keeps the buffer.
class ChannelStreamBuf : public std::streambuf {
  protected:
    int_type overflow(int_type ch) override {
        if (!traits_type::eq_int_type(ch, traits_type::eof())) {
            char c = traits_type::to_char_type(ch);
            Channel().Write(&c, 1);
        }
        return traits_type::not_eof(ch);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        if (n > 0) Channel().Write(s, static_cast<std::size_t>(n));
        return n;
    }
    int sync() override {
        Channel().Flush();
        return 0;
    }
};

struct StandardOutputTakeover {
    StandardOutputTakeover() {
        Channel();
        static ChannelStreamBuf* device = new ChannelStreamBuf;
        std::cout.rdbuf(device);
    }
    ~StandardOutputTakeover() { Channel().Flush(); }
};

// <iostream> above constructs std::cout before this object.
StandardOutputTakeover takeover;

} // namespace

void ConsoleWrite(const std::string& text) {
    try {
        Channel().Write(text.data(), text.size());
    } catch (...) {
    }
}

void ConsoleLine(const std::string& text) {
    try {
        std::string line = text + "\r\n"; // one write, so threads do not interleave
        Channel().Write(line.data(), line.size());
    } catch (...) {
    }
}

void ConsolePrintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int size = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    try {
        if (size > 0) {
            std::string text(static_cast<std::size_t>(size) + 1, '\0');
            std::vsnprintf(&text[0], text.size(), format, again);
            text.resize(static_cast<std::size_t>(size));
            Channel().Write(text.data(), text.size());
        }
    } catch (...) {
    }
    va_end(again);
}

void ConsoleFlush() {
    try {
        Channel().Flush();
    } catch (...) {
    }
}
