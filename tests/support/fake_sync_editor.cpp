#include "tests/support/fake_sync_editor.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

FakeSyncEditor::FakeSyncEditor() {
  mListener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(mListener, reinterpret_cast<sockaddr*>(&address), sizeof address);
  listen(mListener, 4);
  socklen_t size = sizeof address;
  getsockname(mListener, reinterpret_cast<sockaddr*>(&address), &size);
  mPort = ntohs(address.sin_port);
}

FakeSyncEditor::~FakeSyncEditor() {
  Hang();
  close(mListener);
}

bool FakeSyncEditor::Accept(int waitMs) {
  pollfd wait{mListener, POLLIN, 0};
  if (poll(&wait, 1, waitMs) <= 0) return false;
  Hang();
  mPeer = accept(mListener, nullptr, nullptr);
  return mPeer >= 0;
}

std::vector<uint8_t> FakeSyncEditor::Received() { return Read(SIZE_MAX, 0); }

std::vector<uint8_t> FakeSyncEditor::Read(size_t count, int waitMs) {
  std::vector<uint8_t> bytes;
  uint8_t buffer[1024];
  while (mPeer >= 0 && bytes.size() < count) {
    pollfd wait{mPeer, POLLIN, 0};
    if (poll(&wait, 1, waitMs) <= 0) break;
    const ssize_t got = recv(mPeer, buffer, std::min(sizeof buffer, count - bytes.size()), 0);
    if (got <= 0) break;
    bytes.insert(bytes.end(), buffer, buffer + got);
  }
  return bytes;
}

void FakeSyncEditor::Send(const std::vector<uint8_t>& bytes) {
  if (mPeer >= 0) send(mPeer, bytes.data(), bytes.size(), MSG_NOSIGNAL);
}

void FakeSyncEditor::Hang() {
  if (mPeer >= 0) close(mPeer);
  mPeer = -1;
}
