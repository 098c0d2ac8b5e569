#include "platform/web_page.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace platform {

namespace {

constexpr char OPENER[] = "xdg-open";

}  // namespace

// A detached grandchild runs the opener, so no zombie is left and the caller never waits for it.
bool OpenWebPage(const char* address) {
  if (!address || !address[0]) return false;
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    char* argv[] = {const_cast<char*>(OPENER), const_cast<char*>(address), nullptr};
    pid_t grandchild = 0;
    int started = posix_spawnp(&grandchild, OPENER, nullptr, nullptr, argv, environ);
    _exit(started == 0 ? 0 : 1);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace platform
