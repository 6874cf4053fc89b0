// Fuzzes the judging of a time server's reply and the server setting's text: a reply is
// trusted only when every field says it answers what was asked, then its round trip is 0 to
// 3 s and its offset within half an NTP era; refused, it gives no offset; every line the
// dialog would show is whole, printable text; a setting read is one that writes back to itself.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "display/intl.h"
#include "display/sntp_text.h"
#include "support/hooks.h"
#include "support/sntp.h"
#include "support/sntp_probe.h"

namespace {

constexpr std::int64_t kHalfEra = 2147483648LL * kTicksPerSecond;
constexpr std::int64_t kYear2026 = 134102016000000000LL;  // 2026-01-01 in 100 ns since 1601

void Fail(int line, const char *what) {
  std::fprintf(stderr, "check failed at line %d: %s\n", line, what);
  std::abort();
}
#define Check(ok) ((ok) ? (void)0 : Fail(__LINE__, #ok))

std::uint64_t Read(const std::uint8_t *p, int bytes) {
  std::uint64_t v = 0;
  for (int i = 0; i < bytes; ++i) v = (v << 8) | p[i];
  return v;
}

void CheckPrintable(const char *text, std::size_t size) {
  Check(std::memchr(text, '\0', size) != nullptr);
  for (const char *p = text; *p != '\0'; ++p) Check(static_cast<unsigned char>(*p) >= 0x20);
}

int LoadText(int id, char *out, int size) {
  // Every text a status can ask for, with its markers, so that a missing one shows.
  return std::snprintf(out, static_cast<std::size_t>(size), "[%d %%s %%s]", id);
}

void CheckSetting(const std::string &text) {
  char host[kSntpHostSize];
  unsigned port = 0;
  if (!ParseTimeServer(text.c_str(), host, &port)) return;
  const std::size_t length = std::strlen(host);
  Check(length > 0 && length <= 253 && port >= 1 && port <= 65535);
  const bool six = std::strchr(host, ':') != nullptr;
  char again[kSntpHostSize + 16];
  std::snprintf(again, sizeof again, six ? "[%s]:%u" : "%s:%u", host, port);
  char back[kSntpHostSize];
  unsigned backPort = 0;
  Check(ParseTimeServer(again, back, &backPort) && std::strcmp(back, host) == 0 && backPort == port);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
  CheckSetting(std::string(reinterpret_cast<const char *>(data), size).substr(0, 300));
  if (size < 17) return 0;
  g_platform.loadText = LoadText;
  const unsigned flags = data[0];
  // Near today, or anywhere in the 100 ns count's range.
  const std::int64_t t1 = flags & 4 ? kYear2026 + static_cast<std::int64_t>(Read(data + 1, 4)) * 100000
                                    : static_cast<std::int64_t>(Read(data + 1, 8) >> 2);
  const std::int64_t t4 = t1 + static_cast<std::int32_t>(Read(data + 9, 4)) * 10LL;
  SntpPeer server = {{127, 0, 0, 1}, 4, 123};
  unsigned char request[kSntpPacketSize];
  SntpQuestion question;
  BuildSntpRequest(t1, static_cast<std::uint32_t>(Read(data + 13, 4)), server, request, &question);
  Check(request[0] == 0x23 && Read(request + 40, 8) == question.sentStamp);
  Check(question.sentStamp >> kSntpRandomBits == NtpFromTime(t1) >> kSntpRandomBits);

  std::string reply(reinterpret_cast<const char *>(data + 17), size - 17);
  if ((flags & 1) && reply.size() >= 32) {  // answer what was asked, to get past the origin
    for (int i = 0; i < 8; ++i) reply[24 + static_cast<std::size_t>(i)] = static_cast<char>(question.sentStamp >> (56 - 8 * i));
  }
  SntpPeer sender = server;
  if (flags & 2) sender.port = 124;
  const auto *bytes = reinterpret_cast<const unsigned char *>(reply.data());
  SntpResult r;
  const SntpStatus status = JudgeSntpReply(bytes, reply.size(), sender, question, t4, &r);
  Check(status == r.status && status >= kSntpGood && status <= kSntpBadRoundTrip);
  CheckPrintable(r.reference, sizeof r.reference);
  CheckPrintable(r.kissCode, sizeof r.kissCode);
  if (status == kSntpGood) {
    Check(reply.size() >= kSntpPacketSize && !(flags & 2));
    Check((bytes[0] & 7) == 4 && ((bytes[0] >> 3) & 7) >= 1 && ((bytes[0] >> 3) & 7) <= 4);
    Check((bytes[0] >> 6) != 3 && bytes[1] >= 1 && bytes[1] <= 15 && r.stratum == bytes[1]);
    Check(Read(bytes + 40, 8) != 0 && Read(bytes + 24, 8) == question.sentStamp);
    Check(r.delay >= 0 && r.delay <= kSntpLongestRoundTrip);
    Check(r.offset >= -kHalfEra - kSntpLongestRoundTrip && r.offset <= kHalfEra + kSntpLongestRoundTrip);
    // The server's time, read in the era nearest this computer's, goes back to the wire and
    // reads the same near the same time (near another, a time half an era away may not).
    const std::int64_t serverTime = TimeFromNtp(Read(bytes + 40, 8), t1);
    Check(TimeFromNtp(NtpFromTime(serverTime), t1) == serverTime);
  } else {
    Check(r.offset == 0 && r.delay == 0);
    if (status == kSntpKissOfDeath) Check(bytes[1] == 0 && Read(bytes + 24, 8) == question.sentStamp);
  }

  SntpLines lines;
  ComposeSntpLines(r, "time.example", CivilTime{2026, 12, 8, 9, 5, 7}, &lines);
  for (const char *line : {lines.verdict, lines.uncertainty, lines.server, lines.measured,
                           lines.meaning, lines.advice}) {
    CheckPrintable(line, kSntpLineSize);
  }
  Check(std::strstr(lines.verdict, status == kSntpGood ? "time.example" : "[") != nullptr);
  return 0;
}
