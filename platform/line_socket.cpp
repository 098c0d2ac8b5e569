#include "platform/line_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <vector>

namespace platform {

namespace {

constexpr int LISTEN_BACKLOG = 8;
constexpr size_t READ_CHUNK = 4096;

bool MakeAddress(const std::string& path, sockaddr_un& address, std::string& error) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof address.sun_path) {
    error = "a socket path must have 1 to " + std::to_string(sizeof address.sun_path - 1) + " bytes";
    return false;
  }
  std::memcpy(address.sun_path, path.c_str(), path.size());
  return true;
}

std::string SystemError(const char* what) { return std::string(what) + ": " + std::strerror(errno); }

bool SomeoneListens(const sockaddr_un& address) {
  int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (probe < 0) return false;
  bool live = connect(probe, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  close(probe);
  return live;
}

// Makes way for a new socket at path: nothing there, or a socket nobody serves any more.
bool ClearPath(const std::string& path, const sockaddr_un& address, std::string& error) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0) return true;
  if (!S_ISSOCK(info.st_mode)) {
    error = path + " exists and is not a socket";
    return false;
  }
  if (SomeoneListens(address)) {
    error = path + " is in use by another program";
    return false;
  }
  if (unlink(path.c_str()) != 0) {
    error = SystemError("cannot remove the old socket");
    return false;
  }
  return true;
}

}  // namespace

LineSocketServer::~LineSocketServer() { Close(); }

bool LineSocketServer::Listen(const std::string& path, std::string& error) {
  Close();
  sockaddr_un address;
  if (!MakeAddress(path, address, error) || !ClearPath(path, address, error)) return false;
  int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (listener < 0) {
    error = SystemError("socket");
    return false;
  }
  if (bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, LISTEN_BACKLOG) != 0) {
    error = SystemError(path.c_str());
    close(listener);
    return false;
  }
  mListener = listener;
  mPath = path;
  return true;
}

void LineSocketServer::Close() {
  for (auto& [fd, client] : mClients) close(fd);
  mClients.clear();
  if (mListener >= 0) {
    close(mListener);
    unlink(mPath.c_str());
  }
  mListener = -1;
  mPath.clear();
}

void LineSocketServer::Accept() {
  for (;;) {
    int fd = accept4(mListener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0) return;
    mClients[fd] = Client{};
  }
}

void LineSocketServer::Receive(int fd, Client& client, const std::function<void(int, const std::string&, bool)>& onLine) {
  char chunk[READ_CHUNK];
  for (;;) {
    ssize_t got = recv(fd, chunk, sizeof chunk, 0);
    if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
      client.peerClosed = true;
      return;
    }
    if (got < 0) return;
    for (ssize_t i = 0; i < got; ++i) {
      char c = chunk[i];
      if (c == '\n') {
        if (!client.input.empty() && client.input.back() == '\r') client.input.pop_back();
        ++client.unanswered;
        onLine(fd, client.input, client.skipping);
        client.input.clear();
        client.skipping = false;
      } else if (client.input.size() < LINE_SOCKET_MAX_LINE) {
        client.input += c;
      } else {
        client.skipping = true;
      }
    }
  }
}

bool LineSocketServer::Flush(int fd, Client& client) {
  while (!client.output.empty()) {
    ssize_t sent = send(fd, client.output.data(), client.output.size(), MSG_NOSIGNAL);
    if (sent < 0) return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
    client.output.erase(0, static_cast<size_t>(sent));
  }
  return true;
}

void LineSocketServer::Poll(const std::function<void(int client, const std::string& line, bool cutOff)>& onLine) {
  if (mListener < 0) return;
  Accept();
  std::vector<int> gone;
  for (auto& [fd, client] : mClients) {
    if (!client.peerClosed) Receive(fd, client, onLine);
  }
  for (auto& [fd, client] : mClients) {
    bool alive = Flush(fd, client);
    bool answered = client.peerClosed && client.unanswered == 0 && client.output.empty();
    if (!alive || answered) gone.push_back(fd);
  }
  for (int fd : gone) {
    close(fd);
    mClients.erase(fd);
  }
}

bool LineSocketServer::Send(int client, const std::string& text) {
  auto found = mClients.find(client);
  if (found == mClients.end()) return false;
  found->second.output += text;
  found->second.output += '\n';
  if (found->second.unanswered > 0) --found->second.unanswered;
  return Flush(client, found->second);
}

bool ExchangeLine(const std::string& path, const std::string& line, std::string& answer, std::string& error,
                  int timeoutMs) {
  sockaddr_un address;
  if (!MakeAddress(path, address, error)) return false;
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    error = SystemError("socket");
    return false;
  }
  std::string request = line + "\n";
  if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    error = SystemError(path.c_str());
    close(fd);
    return false;
  }
  for (size_t sent = 0; sent < request.size();) {
    ssize_t n = send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n < 0) {
      error = SystemError("send");
      close(fd);
      return false;
    }
    sent += static_cast<size_t>(n);
  }
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  answer.clear();
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd waiting{fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&waiting, 1, static_cast<int>(left.count())) <= 0) {
      error = "no answer within " + std::to_string(timeoutMs) + " ms";
      break;
    }
    char chunk[READ_CHUNK];
    ssize_t got = recv(fd, chunk, sizeof chunk, 0);
    if (got <= 0) {
      error = "the connection closed before an answer";
      break;
    }
    answer.append(chunk, static_cast<size_t>(got));
    size_t end = answer.find('\n');
    if (end != std::string::npos) {
      answer.resize(end);
      close(fd);
      return true;
    }
  }
  close(fd);
  return false;
}

}  // namespace platform
