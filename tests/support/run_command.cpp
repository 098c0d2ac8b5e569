#include "tests/support/run_command.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

#include "tests/support/test_paths.h"

namespace {

std::string ReadWhole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The exit status, or -1 if the child ended by a signal or outlived the deadline (it is killed).
int WaitForChild(pid_t pid, int timeoutMs, bool* timedOut) {
  int status = 0;
  if (timeoutMs <= 0) {
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0) return -1;
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
  *timedOut = true;
  return -1;
}

}  // namespace

CommandResult RunCommand(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDirectory, int timeoutMs) {
  char outPath[] = "/tmp/torvane-test-out-XXXXXX";
  char errPath[] = "/tmp/torvane-test-err-XXXXXX";
  int outFd = mkstemp(outPath);
  int errFd = mkstemp(errPath);
  CommandResult result;
  pid_t pid = fork();
  if (pid == 0) {
    int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, 0);
    dup2(outFd, 1);
    dup2(errFd, 2);
    if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) _exit(127);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  bool timedOut = false;
  if (pid > 0) result.status = WaitForChild(pid, timeoutMs, &timedOut);
  close(outFd);
  close(errFd);
  result.out = ReadWhole(outPath);
  result.err = ReadWhole(errPath);
  if (timedOut) result.err += program + ": still running after " + std::to_string(timeoutMs) + " ms; killed\n";
  unlink(outPath);
  unlink(errPath);
  return result;
}

CommandResult RunTool(const std::vector<std::string>& args, const std::string& workingDirectory) {
  return RunCommand(BinaryPath("tools/torvane-tool"), args, workingDirectory);
}
