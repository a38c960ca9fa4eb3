// A loopback TCP relay in front of the Firebird server, so that a test can
// cut the connections that pass through it, as a broken network would, and
// later refuse new ones.
#pragma once

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace dmtest {

class TcpRelay {
 public:
  // Listens on 127.0.0.1 at a free port and relays to 127.0.0.1:targetPort.
  explicit TcpRelay(int targetPort = 3050);
  ~TcpRelay();
  int Port() const { return port_; }
  // Closes every relayed connection; new ones are still accepted.
  void CutConnections();
  // Stops accepting: later connections are refused.
  void StopListening();

 private:
  void AcceptLoop();
  void Pump(int client, int server);

  int targetPort_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::thread acceptThread_;
  std::mutex mutex_;
  std::vector<int> sockets_;
  std::vector<std::thread> pumps_;
};

}  // namespace dmtest
