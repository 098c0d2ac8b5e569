#include "tools/capture/interruption.h"

#include <csignal>
#include <initializer_list>

namespace {

volatile std::sig_atomic_t gInterrupted = 0;

void Note(int) { gInterrupted = 1; }

}  // namespace

void CatchInterruptions() {
  struct sigaction action = {};
  action.sa_handler = Note;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool Interrupted() { return gInterrupted != 0; }
