#pragma once
// The control channel for editors and scripts: requests (dev/control_command.h) read from a Unix
// domain socket, answered with one JSON line each, {"ok":true,...} or {"error":"..."}. Refused
// requests change nothing; the demo goes on.

#include <string>

#include "platform/line_socket.h"

class DevSession;

class ControlServer {
 public:
  explicit ControlServer(DevSession& session) : mSession(session) {}

  bool Listen(const std::string& path, std::string& error) { return mSocket.Listen(path, error); }
  void Close() { mSocket.Close(); }
  // Answers every request that has arrived (a screenshot is answered once its frame is written).
  void Poll();

  // The answer to a request line, or "" when it is answered later (a screenshot).
  std::string Answer(int client, const std::string& line);

 private:
  DevSession& mSession;
  platform::LineSocketServer mSocket;
};
