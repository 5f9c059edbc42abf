#pragma once
// The entry of each program: the program's body, which opens its first window and runs the
// message loop. An error that escapes goes to the report.

namespace tavrix::win {

int RunProgram(int (*body)());

// Ends the program at once, from a handler: every window goes with the process; nothing is asked
// and nothing is saved.
[[noreturn]] void EndProgram();

}  // namespace tavrix::win
