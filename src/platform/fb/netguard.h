// Connections to a database server over TCP notice a server or a network that
// has gone silent (packets lost without any answer or reset) instead of
// waiting for minutes: an attach waits at most ConnectSeconds for the server's
// answer to its connect request (isc_dpb_connect_timeout), and once attached
// its socket probes a quiet server and gives up when neither the probes nor
// data it sent are answered within SilenceSeconds (TCP keep-alive and user
// time-out on the client library's socket). The call that waited then fails
// with the client library's network error, which the error reporter treats as
// a lost connection. A server that is merely busy answers the probes, so long
// operations are not cut short.
#pragma once

#include <set>
#include <sys/types.h>

struct TFbNetTimeouts {
  int ConnectSeconds = 20;
  int SilenceSeconds = 25;
};

inline TFbNetTimeouts FbNetTimeouts;

// The sockets this process had open when it was made; Guard sets the silence
// limits on the TCP sockets opened since (those of the attach in between).
class TNewSocketGuard {
 public:
  TNewSocketGuard();
  // Returns how many sockets it guarded.
  int Guard() const;

 private:
  std::set<ino_t> before_;
};
