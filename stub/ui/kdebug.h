#pragma once
// Unit KDebug: the stub's standard text output as a debug channel. Text is
// gathered in a 128-byte buffer and delivered, on every completed line, on a
// full buffer and on every flush, to the first top-level window of class
// ".KDebug." as the registered message ".K_DebugMsg." (wParam 1, lParam a
// global atom named after the chunk). With no viewer the text is dropped.
//
// The unit takes over std::cout before main starts, so `std::cout << ...`
// reaches the channel too. The C runtime's printf/puts output is not caught
// (a GUI program's C stdout goes nowhere): units write console lines through
// ConsoleLine / ConsoleWrite / ConsolePrintf or std::cout.

#include <cstddef>
#include <string>

constexpr char kDebugViewerClass[] = ".KDebug.";
constexpr char kDebugMessageName[] = ".K_DebugMsg.";
constexpr std::size_t kDebugBufferSize = 128;
// A viewer that stops answering holds each chunk up for at most this long.
constexpr unsigned kDebugSendTimeoutMs = 1000;

// Appends text; a line feed not preceded by a carriage return is written as
// CR LF, as a text-mode stream would.
void ConsoleWrite(const std::string& text);
// text, CR LF, then delivery.
void ConsoleLine(const std::string& text);
// printf-style formatting into one ConsoleWrite.
void ConsolePrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Delivers whatever the buffer holds.
void ConsoleFlush();
