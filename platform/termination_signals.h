#pragma once
// SIGINT and SIGTERM end the player at any moment (the launcher, loading, a frame, a message box
// on screen) with a status of their own, and take the process's children (message boxes, which
// are shown from child processes) with it, so that nothing stays on screen.

namespace platform {

// How long a loop that was asked to end may take to shut down before the process ends anyway.
inline constexpr int TERMINATION_GRACE_MS = 2000;

// The exit status after a termination signal: 128 + its number, as a shell reports a process
// that the signal ended (130 for SIGINT, 143 for SIGTERM).
int TerminationExitStatus(int signalNumber);

// Takes SIGINT and SIGTERM away from every thread and gives them to one of its own. Call it
// before any other thread starts, since threads inherit which signals they leave alone.
bool CatchTerminationSignals();

// Whether a loop polls TerminationSignal() now; returns the previous setting. While one does, a
// signal asks it to end, so that it can give back what it holds (the display mode, the gamma
// ramp), and the process ends at once only if it has not within TERMINATION_GRACE_MS or on a
// second signal. While none does (the launcher, a message box), the process ends at once.
bool SetTerminationPolled(bool polled);

// The signal that asked the process to end, or 0.
int TerminationSignal();

// Ends the process with its termination status if a signal asked it to end: for a thread coming
// back from something the signal cut short (a box whose process it ended), which must not go on
// to end the process with a status of its own.
void EndIfTerminating();

}  // namespace platform
