#pragma once
// Program entry: start the managers, pump window events and run one frame whenever none is
// waiting, stop the managers.

// How the player ends. A critical error ends it with platform::FATAL_EXIT_STATUS (1).
inline constexpr int PLAYER_EXIT_OVER = 0;        // the demo ran to its end, Alt+F4, or the launcher's Close
inline constexpr int PLAYER_EXIT_ESCAPE = 27;     // the viewer ended it with Escape (the fade or a second one)
inline constexpr int PLAYER_EXIT_NO_LAUNCHER = 2;  // the launcher could not be shown
inline constexpr int PLAYER_EXIT_NO_MUSIC = 3;    // the music could not be played
inline constexpr int PLAYER_EXIT_NO_WINDOW = 4;   // the window or its GL context could not be created
// SIGINT and SIGTERM end it at any moment with platform::TerminationExitStatus: 130 and 143.

// What a start that did not reach the frames recorded as failed.
struct StartFailures {
  bool window = false;    // the demo window or its GL context
  bool music = false;
  bool launcher = false;
};

// The status of such a start: the window's failure before the music's before the launcher's. None
// is the viewer's Close (or Escape during the Big Screen wait): PLAYER_EXIT_OVER.
int StartFailureStatus(const StartFailures& failures);

// Runs the player and returns its exit status; which key was pressed last does not matter.
int RunPlayer();
