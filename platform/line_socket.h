#pragma once
// Unix domain stream sockets that carry lines of text: a server the main loop polls without ever
// blocking, and a client that sends one line and waits for one line back. The developer mode's
// control channel runs over them.

#include <cstddef>
#include <functional>
#include <map>
#include <string>

namespace platform {

// Longer lines are cut off: the rest up to the line end is dropped and the line reported as such.
inline constexpr size_t LINE_SOCKET_MAX_LINE = 65536;

class LineSocketServer {
 public:
  LineSocketServer() = default;
  ~LineSocketServer();
  LineSocketServer(const LineSocketServer&) = delete;
  LineSocketServer& operator=(const LineSocketServer&) = delete;

  // Listens at path. A socket file left by a server that is gone is replaced; a live one, or a
  // file that is not a socket, is an error.
  bool Listen(const std::string& path, std::string& error);
  // Closes every connection and removes the socket file.
  void Close();
  bool IsListening() const { return mListener >= 0; }

  // Takes waiting connections and what they sent: onLine gets the client, each complete line
  // (without its end) and whether it was cut off at LINE_SOCKET_MAX_LINE. Sends what is queued.
  void Poll(const std::function<void(int client, const std::string& line, bool cutOff)>& onLine);
  // Queues text and a line end for client; false when the client is gone.
  bool Send(int client, const std::string& text);

 private:
  struct Client {
    std::string input;
    std::string output;
    bool skipping = false;     // dropping the rest of a line that was too long
    bool peerClosed = false;   // the client sends no more; it is closed once answered
    size_t unanswered = 0;
  };
  void Accept();
  void Receive(int fd, Client& client, const std::function<void(int, const std::string&, bool)>& onLine);
  bool Flush(int fd, Client& client);

  int mListener = -1;
  std::string mPath;
  std::map<int, Client> mClients;
};

// Connects to the server at path, sends line and waits up to timeoutMs for one line back; false
// with the reason in error.
bool ExchangeLine(const std::string& path, const std::string& line, std::string& answer, std::string& error,
                  int timeoutMs);

}  // namespace platform
