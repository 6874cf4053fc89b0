// Asking a time server: the request, the judging of a reply, the arithmetic of the four
// times, and the server setting's text. Portable: the sockets are the shell's.
#include "support/sntp.h"
#include "support/sntp_probe.h"

#include <cstdio>
#include <cstring>

namespace {

// From 1601-01-01, where the 100 ns count starts, to 1900-01-01, where NTP's era 0 starts.
constexpr std::int64_t kNtpEpoch = 9435484800LL * kTicksPerSecond;
// One NTP era: 2^32 seconds, about 136 years.
constexpr std::int64_t kEra = 4294967296LL * kTicksPerSecond;
// Far beyond any clock (about the year 16,000), far below where the sums could overflow.
constexpr std::int64_t kLatestTime = 1LL << 62;

std::uint64_t ReadStamp(const unsigned char *p) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v = (v << 8) | p[i];
  return v;
}

void WriteStamp(std::uint64_t v, unsigned char *p) {
  for (int i = 7; i >= 0; --i) {
    p[i] = static_cast<unsigned char>(v & 0xFF);
    v >>= 8;
  }
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Four bytes of a reply as text: printable ASCII kept, a NUL ends it, anything else '?'.
// Whatever a server puts there, the dialog shows no control character.
void AsciiCode(const unsigned char *p, char out[5]) {
  int n = 0;
  for (; n < 4 && p[n] != 0; ++n) out[n] = p[n] >= 0x20 && p[n] < 0x7F ? static_cast<char>(p[n]) : '?';
  out[n] = '\0';
}

bool SamePeer(const SntpPeer &a, const SntpPeer &b) {
  return (a.length == 4 || a.length == 16) && a.length == b.length && a.port == b.port &&
         std::memcmp(a.address, b.address, a.length) == 0;
}

bool IsHostChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_';
}

bool IsAddress6Char(char c) {
  return (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || (c >= '0' && c <= '9') || c == ':' ||
         c == '.';
}

// Digits only, 1 to 65535; a value too large stops counting before it could overflow.
bool ReadPort(const char *p, const char *end, unsigned *port) {
  if (p == end) return false;
  unsigned long value = 0;
  for (; p < end; ++p) {
    if (*p < '0' || *p > '9') return false;
    value = value * 10 + static_cast<unsigned>(*p - '0');
    if (value > 65535) return false;
  }
  if (value == 0) return false;
  *port = static_cast<unsigned>(value);
  return true;
}

// The offset (server less client) and round-trip delay from the four times: t1 sent, t2
// received by the server, t3 sent by the server, t4 received back.
void SntpOffsetAndDelay(std::int64_t t1, std::int64_t t2, std::int64_t t3, std::int64_t t4,
                        std::int64_t *offset, std::int64_t *delay) {
  *offset = ((t2 - t1) + (t3 - t4)) / 2;
  *delay = (t4 - t1) - (t3 - t2);
}

}  // namespace

std::int64_t TimeFromNtp(std::uint64_t stamp, std::int64_t near) {
  const std::int64_t seconds = static_cast<std::int64_t>(stamp >> 32);
  const std::uint64_t fraction = stamp & 0xFFFFFFFFu;
  // Rounded to the nearest 100 ns, so that a time written by NtpFromTime reads back exactly.
  const std::int64_t ticks =
      static_cast<std::int64_t>((fraction * static_cast<std::uint64_t>(kTicksPerSecond) + (1u << 31)) >> 32);
  const std::int64_t base = kNtpEpoch + seconds * kTicksPerSecond + ticks;
  if (near < 0) near = 0;
  if (near > kLatestTime) near = kLatestTime;
  return base + FloorDiv(near - base + kEra / 2, kEra) * kEra;
}

std::uint64_t NtpFromTime(std::int64_t time) {
  const std::int64_t since = time - kNtpEpoch;
  const std::int64_t seconds = FloorDiv(since, kTicksPerSecond);
  const std::uint64_t rest = static_cast<std::uint64_t>(since - seconds * kTicksPerSecond);
  const std::uint64_t fraction = (rest << 32) / static_cast<std::uint64_t>(kTicksPerSecond);
  return (static_cast<std::uint64_t>(seconds) << 32) | fraction;
}

void BuildSntpRequest(std::int64_t sendTime, std::uint32_t random, const SntpPeer &server,
                      unsigned char request[kSntpPacketSize], SntpQuestion *question) {
  std::memset(request, 0, kSntpPacketSize);
  request[0] = (4 << 3) | 3;  // no leap warning, version 4, client
  const std::uint64_t mask = (1u << kSntpRandomBits) - 1;
  const std::uint64_t stamp = (NtpFromTime(sendTime) & ~mask) | (random & mask);
  WriteStamp(stamp, request + 40);
  question->server = server;
  question->sentStamp = stamp;
  question->sentAt = sendTime;
}

SntpStatus JudgeSntpReply(const unsigned char *reply, std::size_t size, const SntpPeer &sender,
                          const SntpQuestion &question, std::int64_t receivedAt,
                          SntpResult *result) {
  std::memset(result, 0, sizeof *result);
  result->measuredAt = receivedAt;
  SntpStatus status = kSntpGood;
  if (!SamePeer(question.server, sender)) {
    status = kSntpWrongSender;
  } else if (reply == nullptr || size < kSntpPacketSize) {
    status = kSntpTooShort;
  } else if ((reply[0] & 7) != 4) {
    status = kSntpNotServerMode;
  } else if (((reply[0] >> 3) & 7) < 1 || ((reply[0] >> 3) & 7) > 4) {
    status = kSntpBadVersion;
  } else if (ReadStamp(reply + 24) != question.sentStamp) {
    // Checked before the kiss-of-death, so that a forged one cannot silence a server.
    status = kSntpWrongOrigin;
  }
  if (status != kSntpGood) return result->status = status;

  result->stratum = reply[1];
  if (result->stratum == 0) {
    AsciiCode(reply + 12, result->kissCode);
    return result->status = kSntpKissOfDeath;
  }
  if (result->stratum == 1) {
    AsciiCode(reply + 12, result->reference);
  } else {
    std::snprintf(result->reference, sizeof result->reference, "%u.%u.%u.%u", reply[12], reply[13],
                  reply[14], reply[15]);
  }
  const std::uint64_t transmit = ReadStamp(reply + 40);
  if ((reply[0] >> 6) == 3) return result->status = kSntpUnsynchronised;
  if (result->stratum > 15) return result->status = kSntpBadStratum;
  if (transmit == 0) return result->status = kSntpNoTransmitTime;
  // Times outside the 100 ns count's range are no reading of a real clock.
  const std::int64_t t1 = question.sentAt;
  if (t1 < 0 || t1 > kLatestTime || receivedAt < 0 || receivedAt > kLatestTime) {
    return result->status = kSntpBadRoundTrip;
  }
  const std::int64_t t2 = TimeFromNtp(ReadStamp(reply + 32), t1);
  const std::int64_t t3 = TimeFromNtp(transmit, t1);
  std::int64_t offset = 0;
  std::int64_t delay = 0;
  SntpOffsetAndDelay(t1, t2, t3, receivedAt, &offset, &delay);
  if (delay < 0 || delay > kSntpLongestRoundTrip) return result->status = kSntpBadRoundTrip;
  result->offset = offset;
  result->delay = delay;
  return result->status = kSntpGood;
}

bool ParseTimeServer(const char *text, char host[kSntpHostSize], unsigned *port) {
  if (text == nullptr) return false;
  const char *begin = text;
  while (*begin == ' ' || *begin == '\t') ++begin;
  const char *end = begin + std::strlen(begin);
  while (end > begin && (end[-1] == ' ' || end[-1] == '\t')) --end;

  const char *hostBegin = begin;
  const char *hostEnd = end;
  const char *portText = nullptr;
  bool six = false;
  if (begin < end && *begin == '[') {
    const char *close = static_cast<const char *>(std::memchr(begin, ']', static_cast<std::size_t>(end - begin)));
    if (close == nullptr) return false;
    hostBegin = begin + 1;
    hostEnd = close;
    six = true;
    if (close + 1 < end) {
      if (close[1] != ':') return false;
      portText = close + 2;
    }
  } else {
    const char *colon = static_cast<const char *>(std::memchr(begin, ':', static_cast<std::size_t>(end - begin)));
    if (colon != nullptr) {
      hostEnd = colon;
      portText = colon + 1;
    }
  }

  const std::size_t length = static_cast<std::size_t>(hostEnd - hostBegin);
  if (length == 0 || length > (six ? 45u : 253u)) return false;
  bool colonSeen = false;
  for (const char *p = hostBegin; p < hostEnd; ++p) {
    if (six ? !IsAddress6Char(*p) : !IsHostChar(*p)) return false;
    colonSeen = colonSeen || *p == ':';
  }
  if (six && !colonSeen) return false;
  unsigned value = kSntpDefaultPort;
  if (portText != nullptr && !ReadPort(portText, end, &value)) return false;
  std::memcpy(host, hostBegin, length);
  host[length] = '\0';
  *port = value;
  return true;
}
