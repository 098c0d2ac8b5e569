#include <cstring>
#include <string>
#include <vector>

#include "app/entry.h"
#include "dev/dev_session.h"

// The player reads nothing from its command line; "--dev" first starts the developer mode.
int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--dev") == 0) return RunDevMode(std::vector<std::string>(argv + 2, argv + argc));
  return RunPlayer();
}
