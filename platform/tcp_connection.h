#pragma once
// One outgoing TCP connection that the main loop drives without ever waiting: the connect runs in
// the background, sends are queued and written as the socket takes them, receives take what has
// arrived. The developer mode talks to sync editors over it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

class TcpConnection {
 public:
  enum class State { Closed, Connecting, Open };

  TcpConnection() = default;
  ~TcpConnection();
  TcpConnection(const TcpConnection&) = delete;
  TcpConnection& operator=(const TcpConnection&) = delete;

  // Starts connecting to host:port; false with the reason when the host has no address or no
  // socket can be made.
  bool Connect(const std::string& host, uint16_t port, std::string& error);
  // Advances a connect and writes what is queued; Closed, with the reason, once the connection
  // failed or was lost.
  State Update(std::string& error);
  State GetState() const { return mState; }
  // Queues bytes to send once open.
  void Send(const std::vector<uint8_t>& bytes);
  // Appends what has arrived to into; false, with the reason, when the peer has gone.
  bool Receive(std::vector<uint8_t>& into, std::string& error);
  void Close();

 private:
  bool Flush(std::string& error);

  int mSocket = -1;
  State mState = State::Closed;
  std::vector<uint8_t> mOutput;
};

}  // namespace platform
