#ifndef KELVANE_PLATFORM_PROCESS_H_
#define KELVANE_PLATFORM_PROCESS_H_

#include <string>
#include <string_view>

namespace kelvane {

// What the program needs of its own process, one implementation per platform beside the
// file services.

// Makes every DLL loaded from now on, by the program or by the system's DLLs on its behalf,
// come from the system's folder alone, never from the program's folder or the working one
// (Windows); elsewhere does nothing. Called first thing in main.
void UseSystemDllsOnly();

// Makes a write to a pipe whose reader has gone fail rather than end the process, so that
// a closed standard error never hides an error report. Called once, first thing in main.
void IgnoreClosedPipes();

// Whether standard error reaches someone who can read it: a terminal or console, a file or a
// pipe, or (POSIX) a process with a terminal of its own, whose user chose where its errors
// go. Not so when started from a file manager, a menu or a drop. A Windows program with a
// window has no standard error of its own: it takes the console of the program that
// started it first, where there is one.
bool ReachStandardError();

// Whether a standard stream is a terminal or a console: a person started the program from
// one, in the folder they work in. Not so from a file manager, a menu or a drop.
bool StartedFromTerminal();

// Writes all of `text` to standard error. A failure is ignored.
void WriteStandardError(std::string_view text);

// Writes "kelvane: <line>" and a line end to standard error: each line the program says there.
inline void WriteErrorLine(std::string_view line) {
  WriteStandardError(std::string("kelvane: ").append(line).append("\n"));
}

// Writes all of `text` to standard output or, on Windows, where a program with a window
// has none, to the console of the program that started it. False when there is neither.
bool WriteStandardOutput(std::string_view text);

}  // namespace kelvane

#endif  // KELVANE_PLATFORM_PROCESS_H_
