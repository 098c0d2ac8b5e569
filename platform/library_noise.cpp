#include "platform/library_noise.h"

#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <string>

namespace platform {

namespace {

LibraryNoiseSink gSink = nullptr;
std::recursive_mutex gSetAside;

bool IsOwnLogLine(const std::string& line) {
  const size_t close = line.find("] ");
  return !line.empty() && line[0] == '[' && close != std::string::npos && line.find(": ", close) != std::string::npos;
}

void Deliver(std::FILE* captured) {
  std::rewind(captured);
  char buffer[1024];
  std::string line;
  while (std::fgets(buffer, sizeof buffer, captured)) {
    line += buffer;
    if (line.back() != '\n' && !std::feof(captured)) continue;
    if (IsOwnLogLine(line)) {
      std::fputs(line.c_str(), stderr);
    } else if (gSink) {
      if (line.back() == '\n') line.pop_back();
      gSink(line.c_str());
    }
    line.clear();
  }
}

}  // namespace

LibraryNoiseSink SetLibraryNoiseSink(LibraryNoiseSink sink) {
  const LibraryNoiseSink before = gSink;
  gSink = sink;
  return before;
}

void WithLibraryNoiseSetAside(const std::function<void()>& call) {
  std::lock_guard<std::recursive_mutex> lock(gSetAside);
  std::fflush(stderr);
  std::FILE* captured = std::tmpfile();
  const int saved = captured ? dup(STDERR_FILENO) : -1;
  if (saved < 0 || dup2(fileno(captured), STDERR_FILENO) < 0) {
    // Nowhere to set it aside: the noise shows, the work is done all the same.
    if (saved >= 0) close(saved);
    if (captured) std::fclose(captured);
    call();
    return;
  }
  call();
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
  Deliver(captured);
  std::fclose(captured);
}

}  // namespace platform
