// A loopback TCP relay in front of the Firebird server, so that a test can
// cut the connections that pass through it, as a broken network would, and
// later refuse new ones; and a relay behind a network of its own that can go
// silent, as a pulled cable or a dead server does.
#pragma once

#include <atomic>
#include <memory>
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

// A relay whose listening side lies in a network namespace of its own (a
// loopback interface only this test uses), relaying to the server on this
// computer's loopback. GoSilent takes that interface down: from then on every
// packet of the connections made through it is lost, without any reset, and
// new connections find no way there. Needs the right to make namespaces
// (root); Usable() says whether the relay could be set up.
class SilentRelay {
 public:
  explicit SilentRelay(int targetPort = 3050);
  ~SilentRelay();
  bool Usable() const { return relay_ != nullptr; }
  int Port() const { return port_; }
  void GoSilent();

  // While it lives, connections the calling thread makes go through the
  // relay's network (the sockets stay there afterwards).
  class Inside {
   public:
    explicit Inside(const SilentRelay& relay);
    ~Inside();
    Inside(const Inside&) = delete;
    Inside& operator=(const Inside&) = delete;

   private:
    int home_ = -1;
  };

 private:
  void AcceptLoop();
  int namespace_ = -1;  // the relay's network
  int control_ = -1;    // a socket in it, to switch its loopback interface
  int listener_ = -1;
  int port_ = 0;
  int targetPort_;
  std::atomic<bool> stopping_{false};
  std::unique_ptr<int> relay_;  // set once everything stands
  std::thread acceptThread_;
  std::mutex mutex_;
  std::vector<int> sockets_;
  std::vector<std::thread> pumps_;
};

}  // namespace dmtest
