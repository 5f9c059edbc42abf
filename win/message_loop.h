#pragma once
// The program's message loop, and its end: the program ends when its last window has closed.
// That watch stays beside EndProgram's immediate end: a window may also close without a handler of
// ours (a close box, the system), and the end must wait for a hand-over in the same handler.

#include <windows.h>

namespace tavrix::win {

// One message from the queue, as the program's loop handles it: the window it belongs to sees it
// first, then it is translated and dispatched. Tests drive windows through it too.
void HandleQueuedMessage(MSG& message);

// Runs until WM_QUIT, or until the last window has gone; returns the exit code.
int RunMessageLoop();

// For the window layer: called once a top-level window is on the screen (throws if the program
// could not watch for its end; nothing before a window's first paint needs it), and when one is
// destroyed. Whether it was the last is looked at only once the handler that destroyed it has
// returned, so a window that closes and hands over to another in the same handler does not end
// the program.
void WatchForTheLastWindow();
void NoteWindowClosed() noexcept;

}  // namespace tavrix::win
