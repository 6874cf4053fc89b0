// Asking a time server how far this computer's clock is off (SNTP): the request, the
// judging of a reply, the offset and its uncertainty, and the server setting's text. Portable.
#pragma once

#include <cstddef>
#include <cstdint>

// Times are 100 ns counts since 1601-01-01 UTC, as Windows' FILETIME, so that the shell can
// pass GetSystemTimePreciseAsFileTime's values as they come.
constexpr std::int64_t kTicksPerSecond = 10000000;

constexpr std::size_t kSntpPacketSize = 48;
constexpr unsigned kSntpDefaultPort = 123;
// The longest round trip believed: a reply later than this is too stale to set a clock by.
constexpr std::int64_t kSntpLongestRoundTrip = 3 * kTicksPerSecond;
// A host name is at most 253 characters; an IPv6 literal with its brackets far less.
constexpr std::size_t kSntpHostSize = 256;

// What became of one question to the server. The first is the only good one; the replies'
// rules come in the order they are judged; the rest are the network's.
enum SntpStatus {
  kSntpGood = 0,
  kSntpWrongSender,     // not from the address and port asked
  kSntpTooShort,        // fewer than 48 bytes
  kSntpNotServerMode,   // not mode 4
  kSntpBadVersion,      // version not 1 to 4
  kSntpWrongOrigin,     // does not echo the transmit time this clock sent
  kSntpKissOfDeath,     // stratum 0: the server asks not to be asked (code in kissCode)
  kSntpUnsynchronised,  // leap indicator 3: the server's own clock is not set
  kSntpBadStratum,      // stratum above 15
  kSntpNoTransmitTime,  // the server's transmit time is zero
  kSntpBadRoundTrip,    // the round trip is below 0 or above 3 s
  kSntpNoAnswer,        // nothing trusted came back in the tries allowed
  kSntpNameNotFound,    // the server's name does not resolve
  kSntpNoNetwork,       // the computer has no network
  kSntpBadServerText,   // the setting is not `host` or `host:port`
  kSntpServerSilenced,  // a kiss-of-death stopped asking this server
  kSntpStatusCount
};

// A network address and port: 4 bytes for IPv4, 16 for IPv6, in network order.
struct SntpPeer {
  unsigned char address[16];
  unsigned length;
  unsigned port;
};

// What this clock sent: to whom, the exact 64-bit transmit time on the wire (with its random
// low bits), and its own send time, which the arithmetic uses.
struct SntpQuestion {
  SntpPeer server;
  std::uint64_t sentStamp;
  std::int64_t sentAt;
};

struct SntpResult {
  SntpStatus status;
  int stratum;
  char reference[16];   // stratum 1: up to four ASCII letters; else an IPv4 address text
  char kissCode[5];     // with kSntpKissOfDeath: its four letters
  std::int64_t offset;  // the server's time less this computer's, in 100 ns
  std::int64_t delay;   // the round trip less the server's own time, in 100 ns
  std::int64_t measuredAt;  // when the reply came, on this computer's clock
};

// How many of the transmit time's lowest fraction bits are random: under a millisecond, so
// the time sent stays a truthful send time, while a forged reply must guess four million.
constexpr int kSntpRandomBits = 22;

// Writes the 48-byte client request (version 4, mode 3) sent at `sendTime`, its transmit
// time's lowest kSntpRandomBits taken from `random`, and fills `question`.
void BuildSntpRequest(std::int64_t sendTime, std::uint32_t random, const SntpPeer &server,
                      unsigned char request[kSntpPacketSize], SntpQuestion *question);

// Judges `size` bytes from `sender`, received at `receivedAt`, as the answer to `question`,
// and fills `result` (its status is also returned). Offset and delay are set only when good.
SntpStatus JudgeSntpReply(const unsigned char *reply, std::size_t size, const SntpPeer &sender,
                          const SntpQuestion &question, std::int64_t receivedAt,
                          SntpResult *result);

// Reads the server setting: `host` or `host:port`, or an IPv6 literal in brackets with an
// optional port (`[::1]:123`), blanks around it ignored. The port is 1 to 65535, 123 when
// absent. False for anything else; `host` and `port` are then untouched.
bool ParseTimeServer(const char *text, char host[kSntpHostSize], unsigned *port);
