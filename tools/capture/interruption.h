#pragma once
// Ctrl+C, a hang-up or a termination request while a capture runs: the first one is noted so that
// the capture can stop cleanly and remove its unfinished output; a second one ends the process
// the usual way.

// Exit status of a capture stopped by a signal, as shells report an interrupted command.
constexpr int INTERRUPTED_EXIT_STATUS = 130;

void CatchInterruptions();
bool Interrupted();
