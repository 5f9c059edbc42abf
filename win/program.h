#pragma once
// The entry of each program: the program's body, which opens its first window and runs the
// message loop. An error that escapes goes to the report.

namespace tavrix::win {

// Runs the program's body: first of all, DLLs loaded by name come only from the system folder.
int RunProgram(int (*body)());

// Lets DLLs loaded by name come only from the system folder, never from the program's own (a
// Downloads folder holds whatever was downloaded beside it). False where the system lacks the call
// (Windows 7 without its update KB2533623): it keeps its own search order there, and the programs
// load the DLLs they add themselves by their full system path anyway (system_functions.h).
bool LoadDllsOnlyFromTheSystem() noexcept;

// Ends the program at once, from a handler: every window goes with the process; nothing is asked
// and nothing is saved.
[[noreturn]] void EndProgram();

}  // namespace tavrix::win
