#include "platform/termination_signals.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace platform {

namespace {

constexpr int GRACE_STEP_MS = 50;

std::atomic<bool> gPolled = false;
std::atomic<int> gSignal = 0;

sigset_t TerminationSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

// The parent named in /proc/PID/stat, read after the command name (which may hold spaces and
// parentheses of its own).
pid_t ParentOf(const char* pid) {
  char path[64];
  std::snprintf(path, sizeof path, "/proc/%s/stat", pid);
  FILE* file = std::fopen(path, "r");
  if (!file) return -1;
  char text[512] = {};
  size_t got = std::fread(text, 1, sizeof text - 1, file);
  std::fclose(file);
  text[got] = '\0';
  const char* afterName = std::strrchr(text, ')');
  char state = 0;
  int parent = -1;
  if (!afterName || std::sscanf(afterName + 1, " %c %d", &state, &parent) != 2) return -1;
  return parent;
}

// A message box shown from a child would stay on screen after the process: its children go
// with it.
void KillChildren() {
  DIR* proc = opendir("/proc");
  if (!proc) return;
  pid_t self = getpid();
  while (dirent* entry = readdir(proc)) {
    if (entry->d_name[0] < '1' || entry->d_name[0] > '9') continue;
    if (ParentOf(entry->d_name) == self) kill(static_cast<pid_t>(std::atol(entry->d_name)), SIGKILL);
  }
  closedir(proc);
}

[[noreturn]] void EndNow(int signalNumber) {
  KillChildren();
  std::_Exit(TerminationExitStatus(signalNumber));
}

// A second signal within the grace period ends the process at once.
[[noreturn]] void GiveGrace(const sigset_t& set, int first) {
  timespec step{0, GRACE_STEP_MS * 1000000L};
  for (int waited = 0; waited < TERMINATION_GRACE_MS; waited += GRACE_STEP_MS) {
    int second = sigtimedwait(&set, nullptr, &step);
    if (second > 0) EndNow(second);
  }
  EndNow(first);
}

void WatchSignals(sigset_t set) {
  int signalNumber = 0;
  while (sigwait(&set, &signalNumber) != 0) {
  }
  gSignal = signalNumber;
  if (!gPolled) EndNow(signalNumber);
  GiveGrace(set, signalNumber);
}

}  // namespace

int TerminationExitStatus(int signalNumber) { return 128 + signalNumber; }

bool CatchTerminationSignals() {
  sigset_t set = TerminationSet();
  if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return false;
  std::thread(WatchSignals, set).detach();
  return true;
}

bool SetTerminationPolled(bool polled) { return gPolled.exchange(polled); }

int TerminationSignal() { return gSignal; }

void EndIfTerminating() {
  if (int signalNumber = gSignal) std::_Exit(TerminationExitStatus(signalNumber));
}

}  // namespace platform
