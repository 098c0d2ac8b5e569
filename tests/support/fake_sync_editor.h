#pragma once
// A sync editor's side of the wire for tests: a listening socket on 127.0.0.1 (any free port)
// and the one connection it accepts, read and written byte for byte.

#include <cstddef>
#include <cstdint>
#include <vector>

class FakeSyncEditor {
 public:
  FakeSyncEditor();
  ~FakeSyncEditor();
  FakeSyncEditor(const FakeSyncEditor&) = delete;
  FakeSyncEditor& operator=(const FakeSyncEditor&) = delete;

  uint16_t Port() const { return mPort; }
  // Takes a waiting connection, waiting up to waitMs; false when none came.
  bool Accept(int waitMs);
  // Whatever has arrived, without waiting.
  std::vector<uint8_t> Received();
  // count bytes, waiting up to waitMs for each piece; fewer when the client stops sending.
  std::vector<uint8_t> Read(size_t count, int waitMs);
  void Send(const std::vector<uint8_t>& bytes);
  // Closes the accepted connection, as an editor that quits does.
  void Hang();

 private:
  int mListener = -1;
  int mPeer = -1;
  uint16_t mPort = 0;
};
