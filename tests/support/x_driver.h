#pragma once
// Driving real windows on the test display: a program started in the background, and xdotool
// for finding windows, clicking and typing.

#include <sys/types.h>

#include <string>
#include <vector>

#include "tests/support/run_command.h"

// No single desktop helper (xdotool, xwd) may take longer than this: one that waits for an event
// that never comes fails its test instead of hanging it.
inline constexpr int DESKTOP_HELPER_TIMEOUT_MS = 15000;

// Dialog-unit points inside the launcher's controls.
inline constexpr int LAUNCHER_RUN_BUTTON[2] = {92, 178};
inline constexpr int LAUNCHER_CLOSE_BUTTON[2] = {144, 178};
inline constexpr int LAUNCHER_FULLSCREEN_BOX[2] = {76, 122};
inline constexpr int LAUNCHER_LOW_QUALITY_BOX[2] = {76, 163};
inline constexpr int LAUNCHER_FIRST_ASPECT[2] = {80, 68};

struct WindowGeometry {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Starts a virtual display of its own (Xvfb, 1920 × 1080 × 24) for this process and its children,
// so that clicks and keys cannot reach windows of tests running beside it. False if it failed.
bool StartPrivateDisplay();
void StopPrivateDisplay();

// A program running in the background; killed when the object goes if it is still running.
class BackgroundProgram {
 public:
  BackgroundProgram(const std::string& program, const std::string& workingDirectory,
                    const std::vector<std::string>& args = {});
  ~BackgroundProgram();
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;

  // The exit status once it ends within timeoutMs; -1 if it is still running then (it is killed)
  // or ended by a signal.
  int WaitForExit(int timeoutMs);
  bool IsRunning();
  // User plus system CPU time so far, in clock ticks.
  long CpuTicks() const;
  // Context switches so far: a frame loop that presents to the display keeps adding to them.
  long ContextSwitches() const;
  pid_t Pid() const { return mPid; }
  // The processes it started that are still running (a message box is shown from one).
  std::vector<pid_t> Children() const;
  std::string ErrorOutput() const;

 private:
  pid_t mPid = -1;
  int mStatus = -1;
  std::string mErrPath;
};

// True while the process runs (a zombie waiting for its parent counts as ended).
bool ProcessRuns(pid_t pid);

// The id of a visible window whose name matches the regular expression, waiting up to
// timeoutMs; "" if none appeared. (Names set as UTF-8, as SDL does, are not matched.)
std::string WaitForWindow(const std::string& namePattern, int timeoutMs);
// The id of a visible top-level window smaller than the screen (a message box, which carries
// neither a name nor a process id), waiting up to timeoutMs; "" if none appeared.
std::string WaitForBoxWindow(int timeoutMs);
// The id of a visible window of the process, waiting up to timeoutMs; "" if none appeared.
std::string WaitForProcessWindow(pid_t pid, int timeoutMs);
// Runs xdotool with args, within DESKTOP_HELPER_TIMEOUT_MS.
CommandResult Xdotool(const std::vector<std::string>& args);
WindowGeometry GetWindowGeometry(const std::string& windowId);
bool PointerAt(int x, int y);
void MoveMouse(int x, int y);
// Clicks the launcher's control at dialog units (unitsX, unitsY) inside the window.
void ClickLauncherControl(const std::string& launcherId, int unitsX, int unitsY);
void Click(int x, int y);
void PressKeys(const std::vector<std::string>& keys);
// Gives a message box the keyboard and presses its default button.
void AnswerBox(const std::string& box);
// Answers every message box that appears until the program has ended or limitMs have passed;
// how many were answered.
int AnswerBoxes(BackgroundProgram& program, int limitMs);
void DragMouse(int fromX, int fromY, int toX, int toY);
void SleepMs(int ms);
// True when output's last line is line (display and sound libraries may note complaints first).
bool LastLineIs(const std::string& output, const std::string& line);
