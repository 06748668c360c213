#pragma once
// Unit KProgBar: carries progress events of a long operation to one handler
// and lets the window breathe (dispatches pending messages) around each event.
#include <cstdint>
#include <string>

// kind 0 = start (range 0..maximum, position, step), 1 = one step; the
// reserved value goes on as the first parameter of the range message.
using ProgressHandler = void (*)(int32_t kind, int32_t reserved, int32_t maximum, int32_t position,
                                 int32_t step, const std::string& text);
constexpr int32_t kProgressStart = 0;
constexpr int32_t kProgressStep = 1;

class TProgBar {
  public:
    explicit TProgBar(ProgressHandler handler) : ProgressHandler(handler) {}
    ~TProgBar();
    TProgBar(const TProgBar&) = delete;
    TProgBar& operator=(const TProgBar&) = delete;

    void Init(int32_t position, int32_t count);
    void Step(const std::string& text);
    void Finish(int pauseBeforeMs, int pauseAfterMs);
    void Caption(const std::string& text);

    ::ProgressHandler ProgressHandler;

  private:
    void Call(int32_t kind, int32_t maximum, int32_t position, int32_t step,
              const std::string& text);
};
