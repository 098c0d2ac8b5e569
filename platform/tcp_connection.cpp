#include "platform/tcp_connection.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

TcpConnection::~TcpConnection() { Close(); }

bool TcpConnection::Connect(const std::string& host, uint16_t port, std::string& error) {
  Close();
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int lookup = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
  if (lookup != 0 || !found) {
    error = host + ": " + gai_strerror(lookup);
    return false;
  }
  mSocket = socket(found->ai_family, found->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, found->ai_protocol);
  if (mSocket < 0) {
    error = std::string("no socket: ") + std::strerror(errno);
    freeaddrinfo(found);
    return false;
  }
  const int on = 1;
  setsockopt(mSocket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  const int started = connect(mSocket, found->ai_addr, found->ai_addrlen);
  freeaddrinfo(found);
  if (started != 0 && errno != EINPROGRESS) {
    error = host + ":" + std::to_string(port) + ": " + std::strerror(errno);
    Close();
    return false;
  }
  mState = started == 0 ? State::Open : State::Connecting;
  return true;
}

TcpConnection::State TcpConnection::Update(std::string& error) {
  if (mState == State::Connecting) {
    pollfd wait{mSocket, POLLOUT, 0};
    if (poll(&wait, 1, 0) <= 0) return mState;
    int failure = 0;
    socklen_t size = sizeof failure;
    getsockopt(mSocket, SOL_SOCKET, SO_ERROR, &failure, &size);
    if (failure != 0) {
      error = std::strerror(failure);
      Close();
      return mState;
    }
    mState = State::Open;
  }
  if (mState == State::Open && !Flush(error)) Close();
  return mState;
}

void TcpConnection::Send(const std::vector<uint8_t>& bytes) { mOutput.insert(mOutput.end(), bytes.begin(), bytes.end()); }

bool TcpConnection::Flush(std::string& error) {
  while (!mOutput.empty()) {
    const ssize_t sent = send(mSocket, mOutput.data(), mOutput.size(), MSG_NOSIGNAL);
    if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    if (sent < 0) {
      error = std::strerror(errno);
      return false;
    }
    mOutput.erase(mOutput.begin(), mOutput.begin() + sent);
  }
  return true;
}

bool TcpConnection::Receive(std::vector<uint8_t>& into, std::string& error) {
  if (mState != State::Open) return true;
  uint8_t buffer[4096];
  // Bounded, so that an editor sending without pause cannot hold up a frame.
  for (int reads = 0; reads < 16; ++reads) {
    const ssize_t got = recv(mSocket, buffer, sizeof buffer, 0);
    if (got > 0) {
      into.insert(into.end(), buffer, buffer + got);
      continue;
    }
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    error = got == 0 ? "the peer closed the connection" : std::strerror(errno);
    Close();
    return false;
  }
  return true;
}

void TcpConnection::Close() {
  if (mSocket >= 0) close(mSocket);
  mSocket = -1;
  mState = State::Closed;
  mOutput.clear();
}

}  // namespace platform
