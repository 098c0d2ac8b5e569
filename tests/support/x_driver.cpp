#include "tests/support/x_driver.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#include "platform/launcher_dialog.h"
#include "tests/support/run_command.h"

namespace {

constexpr char XDOTOOL[] = "/usr/bin/xdotool";

}  // namespace

CommandResult Xdotool(const std::vector<std::string>& args) {
  return RunCommand(XDOTOOL, args, "", DESKTOP_HELPER_TIMEOUT_MS);
}

BackgroundProgram::BackgroundProgram(const std::string& program, const std::string& workingDirectory,
                                     const std::vector<std::string>& args) {
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  char errPath[] = "/tmp/torvane-bg-err-XXXXXX";
  int errFd = mkstemp(errPath);
  mErrPath = errPath;
  mPid = fork();
  if (mPid == 0) {
    int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, 0);
    dup2(devNull, 1);
    dup2(errFd, 2);
    if (chdir(workingDirectory.c_str()) != 0) _exit(127);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(errFd);
}

BackgroundProgram::~BackgroundProgram() {
  if (IsRunning()) {
    kill(mPid, SIGKILL);
    waitpid(mPid, nullptr, 0);
  }
  unlink(mErrPath.c_str());
}

bool BackgroundProgram::IsRunning() {
  if (mPid <= 0 || mStatus != -1) return false;
  int status = 0;
  pid_t done = waitpid(mPid, &status, WNOHANG);
  if (done == 0) return true;
  mStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
  return false;
}

int BackgroundProgram::WaitForExit(int timeoutMs) {
  for (int waited = 0; waited < timeoutMs && IsRunning(); waited += 20) SleepMs(20);
  if (IsRunning()) {
    kill(mPid, SIGKILL);
    waitpid(mPid, nullptr, 0);
    mStatus = -2;
  }
  return mStatus >= 0 ? mStatus : -1;
}

long BackgroundProgram::CpuTicks() const {
  std::ifstream stat("/proc/" + std::to_string(mPid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  size_t afterName = text.rfind(')');
  if (afterName == std::string::npos) return -1;
  std::istringstream fields(text.substr(afterName + 2));
  std::string field;
  long utime = 0;
  long stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stol(field);
    if (i == 15) stime = std::stol(field);
  }
  return utime + stime;
}

long BackgroundProgram::ContextSwitches() const {
  std::ifstream status("/proc/" + std::to_string(mPid) + "/status");
  std::string line;
  long total = 0;
  while (std::getline(status, line)) {
    if (line.find("ctxt_switches:") != std::string::npos) total += std::atol(line.c_str() + line.find(':') + 1);
  }
  return total;
}

namespace {

// The state letter and parent of /proc/PID/stat, read after the command name.
bool ReadProcessStat(pid_t pid, char* state, pid_t* parent) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  size_t afterName = text.rfind(')');
  if (afterName == std::string::npos) return false;
  std::istringstream fields(text.substr(afterName + 1));
  return static_cast<bool>(fields >> *state >> *parent);
}

}  // namespace

bool ProcessRuns(pid_t pid) {
  char state = 0;
  pid_t parent = 0;
  return ReadProcessStat(pid, &state, &parent) && state != 'Z' && state != 'X';
}

std::vector<pid_t> BackgroundProgram::Children() const {
  std::vector<pid_t> children;
  std::error_code error;
  for (std::filesystem::directory_iterator entry("/proc", error), end; !error && entry != end; entry.increment(error)) {
    pid_t pid = std::atoi(entry->path().filename().c_str());
    char state = 0;
    pid_t parent = 0;
    if (pid > 0 && ReadProcessStat(pid, &state, &parent) && parent == mPid && ProcessRuns(pid)) children.push_back(pid);
  }
  return children;
}

std::string BackgroundProgram::ErrorOutput() const {
  std::ifstream in(mErrPath);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string WaitForSearch(const std::vector<std::string>& search, int timeoutMs) {
  std::vector<std::string> args = {"search", "--onlyvisible"};
  args.insert(args.end(), search.begin(), search.end());
  for (int waited = 0; waited < timeoutMs; waited += 100) {
    CommandResult found = Xdotool(args);
    if (found.status == 0 && !found.out.empty()) return found.out.substr(0, found.out.find('\n'));
    SleepMs(100);
  }
  return "";
}

std::string WaitForWindow(const std::string& namePattern, int timeoutMs) {
  return WaitForSearch({"--name", namePattern}, timeoutMs);
}

std::string WaitForBoxWindow(int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 100) {
    CommandResult found = Xdotool({"search", "--onlyvisible", "--name", ""});
    std::istringstream ids(found.out);
    std::string id;
    while (std::getline(ids, id)) {
      WindowGeometry g = GetWindowGeometry(id);
      bool boxSized = g.width > 50 && g.width < 1920 && g.height > 50 && g.height < 1080;
      // A demo window of the same size names its process; a box does not.
      if (boxSized && Xdotool({"getwindowpid", id}).status != 0) return id;
    }
    SleepMs(100);
  }
  return "";
}

std::string WaitForProcessWindow(pid_t pid, int timeoutMs) {
  return WaitForSearch({"--pid", std::to_string(pid)}, timeoutMs);
}

WindowGeometry GetWindowGeometry(const std::string& windowId) {
  WindowGeometry geometry;
  CommandResult shell = Xdotool({"getwindowgeometry", "--shell", windowId});
  std::istringstream lines(shell.out);
  std::string line;
  while (std::getline(lines, line)) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = line.substr(0, eq);
    int value = std::atoi(line.c_str() + eq + 1);
    if (key == "X") geometry.x = value;
    if (key == "Y") geometry.y = value;
    if (key == "WIDTH") geometry.width = value;
    if (key == "HEIGHT") geometry.height = value;
  }
  return geometry;
}

bool PointerAt(int x, int y) {
  CommandResult location = Xdotool({"getmouselocation", "--shell"});
  return location.out.find("X=" + std::to_string(x) + "\nY=" + std::to_string(y) + "\n") != std::string::npos;
}

// --sync waits for the pointer to arrive, and a pointer that is there already never does.
void MoveMouse(int x, int y) {
  if (PointerAt(x, y)) return;
  Xdotool({"mousemove", "--sync", std::to_string(x), std::to_string(y)});
}

void ClickLauncherControl(const std::string& launcherId, int unitsX, int unitsY) {
  WindowGeometry dialog = GetWindowGeometry(launcherId);
  int x = 0;
  int y = 0;
  platform::LauncherDialogUnitsToPixels(unitsX, unitsY, &x, &y);
  Click(dialog.x + x, dialog.y + y);
}

void Click(int x, int y) {
  MoveMouse(x, y);
  Xdotool({"click", "1"});
}

void PressKeys(const std::vector<std::string>& keys) {
  std::vector<std::string> args = {"key", "--delay", "60"};
  args.insert(args.end(), keys.begin(), keys.end());
  Xdotool(args);
}

// Without a window manager the keyboard stays with the window that took it (the player's), so
// the box is given the focus before its default button is pressed.
void AnswerBox(const std::string& box) {
  Xdotool({"windowfocus", "--sync", box});
  PressKeys({"Return"});
}

int AnswerBoxes(BackgroundProgram& program, int limitMs) {
  int answered = 0;
  for (int waited = 0; waited < limitMs && program.IsRunning(); waited += 500) {
    std::string box = WaitForBoxWindow(250);
    if (box.empty()) continue;
    AnswerBox(box);
    ++answered;
    SleepMs(250);
  }
  return answered;
}

void DragMouse(int fromX, int fromY, int toX, int toY) {
  MoveMouse(fromX, fromY);
  Xdotool({"mousedown", "1"});
  SleepMs(100);
  for (int step = 1; step <= 5; ++step) {
    MoveMouse(fromX + (toX - fromX) * step / 5, fromY + (toY - fromY) * step / 5);
    SleepMs(50);
  }
  Xdotool({"mouseup", "1"});
  SleepMs(200);
}

namespace {

pid_t gDisplayServer = -1;

// Starts Xvfb on display number and points DISPLAY at it (never resetting when its last client
// leaves, which would refuse a player connecting in between). The server's lock file makes the
// number ours alone; the server reports on the pipe only once it is up on it, so a server that
// found the number taken (and exited) reports nothing.
bool LaunchDisplayServer(int number) {
  int fds[2];
  if (pipe(fds) != 0) return false;
  std::string display = ":" + std::to_string(number);
  gDisplayServer = fork();
  if (gDisplayServer == 0) {
    close(fds[0]);
    int devNull = open("/dev/null", O_RDWR);
    dup2(devNull, 1);
    dup2(devNull, 2);
    std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-noreset", "-screen", "0", "1920x1080x24", "-nolisten",
           "tcp", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  char reported[16] = {};
  ssize_t got = read(fds[0], reported, sizeof reported - 1);
  close(fds[0]);
  if (got <= 0) return false;
  setenv("DISPLAY", display.c_str(), 1);
  unsetenv("WAYLAND_DISPLAY");
  return true;
}

bool DisplayAnswers() {
  for (int waited = 0; waited < 5000; waited += 100) {
    if (Xdotool({"getdisplaygeometry"}).status == 0) return true;
    SleepMs(100);
  }
  return false;
}

}  // namespace

// Numbers well above those that xvfb-run picks, spread by process so that parallel suites
// rarely try the same one.
bool StartPrivateDisplay() {
  int first = 300 + static_cast<int>(getpid() % 500);
  for (int number = first; number < first + 40; ++number) {
    if (LaunchDisplayServer(number) && DisplayAnswers()) return true;
    StopPrivateDisplay();
  }
  return false;
}

void StopPrivateDisplay() {
  if (gDisplayServer <= 0) return;
  kill(gDisplayServer, SIGTERM);
  waitpid(gDisplayServer, nullptr, 0);
  gDisplayServer = -1;
}

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

bool LastLineIs(const std::string& output, const std::string& line) {
  std::string ending = line + "\n";
  if (output == ending) return true;
  return output.size() > ending.size() && output.compare(output.size() - ending.size() - 1, std::string::npos,
                                                         "\n" + ending) == 0;
}
