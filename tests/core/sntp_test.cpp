// Checking the computer's clock against a time server: the arithmetic of the four times
// across NTP's eras, every rule a reply must pass, the server setting, the dialog's words,
// and (on Linux) one exchange with the tests' own responder on 127.0.0.1. Portable.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "display/sntp_text.h"
#include "display/sntp_text_probe.h"
#include "fake_platform.h"
#include "support/sntp.h"

#ifndef _WIN32
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#endif

namespace {

constexpr std::int64_t kTick = kTicksPerSecond;
constexpr std::int64_t kUnixEpoch = 11644473600LL * kTick;  // 1970 in 100 ns since 1601
constexpr std::int64_t kNtpFromUnix = 2208988800LL;
// 2036-02-07 06:28:16 UTC, where NTP's seconds wrap to 0.
constexpr std::int64_t kRollover = 4294967296LL - kNtpFromUnix;

// Seconds since 1970 (in eighths, exact in 100 ns and in NTP fractions) as 100 ns since 1601.
std::int64_t At(double unixSeconds) {
  return kUnixEpoch + static_cast<std::int64_t>(unixSeconds * 8) * (kTick / 8);
}

// The same moment as a wire timestamp, its seconds wrapped into the era the way a server's are.
std::uint64_t Wire(double unixSeconds) {
  const std::int64_t eighths = static_cast<std::int64_t>(unixSeconds * 8) + kNtpFromUnix * 8;
  const std::uint64_t seconds = static_cast<std::uint64_t>(eighths / 8) & 0xFFFFFFFFu;
  return (seconds << 32) | (static_cast<std::uint64_t>(eighths % 8) << 29);
}

void Put(std::uint64_t v, unsigned char *p) {
  for (int i = 7; i >= 0; --i, v >>= 8) p[i] = static_cast<unsigned char>(v);
}

const SntpPeer kServer = {{127, 0, 0, 1}, 4, 12300};

// A good reply from stratum 2 to `question`: the server got it at t2 and answered at t3.
std::string Reply(const SntpQuestion &question, std::uint64_t t2, std::uint64_t t3) {
  unsigned char p[kSntpPacketSize] = {};
  p[0] = (4 << 3) | 4;
  p[1] = 2;
  p[12] = 192, p[13] = 0, p[14] = 2, p[15] = 7;
  Put(question.sentStamp, p + 24);
  Put(t2, p + 32);
  Put(t3, p + 40);
  return std::string(reinterpret_cast<char *>(p), sizeof p);
}

SntpStatus Judge(const std::string &reply, const SntpQuestion &q, std::int64_t t4, SntpResult *r,
                 const SntpPeer &from = kServer) {
  return JudgeSntpReply(reinterpret_cast<const unsigned char *>(reply.data()), reply.size(), from, q,
                        t4, r);
}

TEST(SntpTimes, OffsetAndUncertaintyFromTheFourTimesAcrossEras) {
  const double now = 1796000000;  // December 2026
  const double wrap = static_cast<double>(kRollover);
  const struct {
    const char *what;
    double t1, t2, t3, t4;  // client's send, server's receive and send, client's receive
    double offset, delay;   // seconds
  } rows[] = {
      {"agreeing clocks", now, now + 0.125, now + 0.125, now + 0.25, 0, 0.25},
      {"computer 2.3 s behind", now, now + 2.375, now + 2.5, now + 0.25, 2.3125, 0.125},
      {"server minutes behind", now, now - 419.875, now - 419.75, now + 0.5, -420.0625, 0.375},
      {"server hours ahead", now, now + 18000.5, now + 18000.5, now + 1, 18000, 1},
      {"reply over the 2036 rollover", wrap - 0.5, wrap + 0.25, wrap + 0.5, wrap, 0.625, 0.25},
      {"computer past 2036, server not", wrap + 10, wrap - 2, wrap - 1.75, wrap + 10.5, -12.125, 0.25},
      {"a round trip of exactly 3 s", now, now + 1, now + 1, now + 3, -0.5, 3},
  };
  for (const auto &row : rows) {
    SntpQuestion q;
    unsigned char request[kSntpPacketSize];
    const std::uint32_t random = 0x9E3779B9u * static_cast<std::uint32_t>(&row - rows + 1);
    BuildSntpRequest(At(row.t1), random, kServer, request, &q);
    // Version 4, a client, nothing but the send time, its lowest bits random.
    EXPECT_EQ(request[0], 0x23);
    EXPECT_EQ(std::count(request + 1, request + 40, 0), 39);
    EXPECT_EQ(q.sentStamp, Wire(row.t1) | (random & ((1u << kSntpRandomBits) - 1)));
    EXPECT_EQ(Reply(q, 0, 0).substr(24, 8), std::string(reinterpret_cast<char *>(request + 40), 8));
    SntpResult r;
    ASSERT_EQ(Judge(Reply(q, Wire(row.t2), Wire(row.t3)), q, At(row.t4), &r), kSntpGood) << row.what;
    EXPECT_EQ(r.offset, static_cast<std::int64_t>(row.offset * kTick)) << row.what;
    EXPECT_EQ(r.delay, static_cast<std::int64_t>(row.delay * kTick)) << row.what;
    EXPECT_EQ(r.measuredAt, At(row.t4)) << row.what;
  }
}

TEST(SntpReplies, EachRuleRefusesItsReplyAndNamesIt) {
  const double now = 1796000000;
  SntpQuestion q;
  unsigned char request[kSntpPacketSize];
  BuildSntpRequest(At(now), 0x1234567u, kServer, request, &q);
  const SntpPeer otherPort = {{127, 0, 0, 1}, 4, 12301}, otherHost = {{127, 0, 0, 2}, 4, 12300};
  const char *ip = "192.0.2.7";
  const struct {
    const char *what;
    SntpStatus status;
    const char *text;  // the reference, or the kiss code
    std::vector<std::pair<int, int>> edits;  // bytes of the good reply changed
    std::size_t size = 48;
    const SntpPeer *from = &kServer;
    double late = 0;  // seconds the reply comes later than the good one, after 0.25 s
  } rows[] = {
      {"a good reply", kSntpGood, ip, {}},
      {"with extension fields", kSntpGood, ip, {}, 68},
      {"from another port", kSntpWrongSender, "", {}, 48, &otherPort},
      {"from another address", kSntpWrongSender, "", {}, 48, &otherHost},
      {"47 bytes", kSntpTooShort, "", {}, 47},
      {"a client's mode", kSntpNotServerMode, "", {{0, (4 << 3) | 3}}},
      {"a broadcast", kSntpNotServerMode, "", {{0, (4 << 3) | 5}}},
      {"version 0", kSntpBadVersion, "", {{0, 4}}},
      {"version 5", kSntpBadVersion, "", {{0, (5 << 3) | 4}}},
      {"version 1", kSntpGood, ip, {{0, (1 << 3) | 4}}},
      {"another origin", kSntpWrongOrigin, "", {{31, 0x66}}},
      {"a kiss-of-death", kSntpKissOfDeath, "RAT?", {{1, 0}, {12, 'R'}, {13, 'A'}, {14, 'T'}, {15, 1}}},
      {"a forged kiss-of-death", kSntpWrongOrigin, "", {{1, 0}, {31, 0x66}}},
      {"not synchronised", kSntpUnsynchronised, ip, {{0, (3 << 6) | (4 << 3) | 4}}},
      {"a leap second warned of", kSntpGood, ip, {{0, (1 << 6) | (4 << 3) | 4}}},
      {"stratum 16", kSntpBadStratum, ip, {{1, 16}}},
      {"stratum 15", kSntpGood, ip, {{1, 15}}},
      {"stratum 1 names its source", kSntpGood, "GPS", {{1, 1}, {12, 'G'}, {13, 'P'}, {14, 'S'}, {15, 0}}},
      {"no transmit time", kSntpNoTransmitTime, ip, {{40, 0}, {41, 0}, {42, 0}, {43, 0}, {44, 0}, {45, 0}, {46, 0}, {47, 0}}},
      {"a round trip over 3 s", kSntpBadRoundTrip, ip, {}, 48, &kServer, 3.125},
      {"received before it was sent", kSntpBadRoundTrip, ip, {}, 48, &kServer, -1.25},
  };
  for (const auto &row : rows) {
    std::string reply = Reply(q, Wire(now + 0.125), Wire(now + 0.25)) + std::string(20, '\0');
    for (const auto &[at, to] : row.edits) reply[static_cast<std::size_t>(at)] = static_cast<char>(to);
    reply.resize(row.size);
    SntpResult r;
    EXPECT_EQ(Judge(reply, q, At(now + 0.25 + row.late), &r, *row.from), row.status) << row.what;
    EXPECT_EQ(r.status, row.status) << row.what;
    EXPECT_STREQ(row.status == kSntpKissOfDeath ? r.kissCode : r.reference, row.text) << row.what;
    EXPECT_EQ(row.status == kSntpGood || (r.offset | r.delay) == 0, true) << row.what;
  }
}

TEST(TimeServerSetting, IsAHostWithAnOptionalPort) {
  const struct {
    const char *text;
    bool ok;
    const char *host;
    unsigned port;
  } rows[] = {
      {"time.windows.com", true, "time.windows.com", 123}, {"  127.0.0.1:12300 ", true, "127.0.0.1", 12300},
      {"ntp_1.example:65535", true, "ntp_1.example", 65535}, {"[::1]", true, "::1", 123},
      {"[fe80::1]:1", true, "fe80::1", 1}, {"", false, "", 0}, {"   ", false, "", 0},
      {"host:0", false, "", 0}, {"host:65536", false, "", 0}, {"host:99999999999999999999", false, "", 0},
      {"host:", false, "", 0}, {":123", false, "", 0}, {"host:+12", false, "", 0},
      {"host:12x", false, "", 0}, {"two words", false, "", 0}, {"::1", false, "", 0},
      {"[::1", false, "", 0}, {"[::1]x", false, "", 0}, {"[host]", false, "", 0},
      {"h\xC3\xB6st", false, "", 0}, {"a/b", false, "", 0},
  };
  for (const auto &row : rows) {
    char host[kSntpHostSize] = "kept";
    unsigned port = 7;
    EXPECT_EQ(ParseTimeServer(row.text, host, &port), row.ok) << row.text;
    EXPECT_STREQ(host, row.ok ? row.host : "kept") << row.text;
    EXPECT_EQ(port, row.ok ? row.port : 7u) << row.text;
  }
  char host[kSntpHostSize];
  unsigned port = 0;
  EXPECT_FALSE(ParseTimeServer(std::string(254, 'a').c_str(), host, &port));
  EXPECT_TRUE(ParseTimeServer(std::string(253, 'a').c_str(), host, &port));
}

TEST(SntpWords, SayHowFarOffHowSureAndWhatItMeans) {
  const std::int64_t ms = kTick / 1000;
  const struct {
    const char *decimal;
    SntpStatus status;
    std::int64_t offset, delay;
    const char *verdict, *uncertainty, *meaning;  // the uncertainty's span
    bool advice;
  } rows[] = {
      {".", kSntpGood, 2340 * ms, 24 * ms, "This computer's clock is 2.34 s behind time.windows.com", "12 ms", "LST shown 2.3 s late", true},
      {",", kSntpGood, -2340 * ms, 3000 * ms, "This computer's clock is 2,34 s ahead of time.windows.com", "1,50 s", "LST shown 2,3 s early", true},
      {".", kSntpGood, -35 * ms, 2 * ms, "This computer's clock is 35 ms ahead of time.windows.com", "1 ms", "Right for pointing", false},
      {".", kSntpGood, 100 * ms, 0, "This computer's clock is 100 ms behind time.windows.com", "0 ms", "Right for pointing", false},
      {".", kSntpGood, 101 * ms, 0, "This computer's clock is 101 ms behind time.windows.com", "0 ms", "LST shown 101 ms late", true},
      {".", kSntpGood, ms / 3, 0, "This computer's clock agrees with time.windows.com to the millisecond", "0 ms", "Right for pointing", false},
      {".", kSntpGood, -420 * kTick, 0, "This computer's clock is 7 min 0 s ahead of time.windows.com", "0 ms", "LST shown 7 min 1 s early", true},
      {".", kSntpKissOfDeath, 0, 0, "time.windows.com asks not to be asked again (RATE); choose another server", "", "", false},
      {".", kSntpNoAnswer, 0, 0, "No answer from time.windows.com after three tries", "", "", false},
  };
  for (const auto &row : rows) {
    InstallFakePlatform();
    g_fake.intl["sdecimal"] = row.decimal;
    const SntpResult result = {row.status, 2, "192.0.2.7", "RATE", row.offset, row.delay, 0};
    SntpLines lines;
    ComposeSntpLines(result, "time.windows.com", CivilTime{2026, 12, 8, 9, 5, 7}, &lines);
    const bool good = row.status == kSntpGood;
    EXPECT_STREQ(lines.verdict, row.verdict);
    EXPECT_EQ(lines.uncertainty, good ? std::string("Uncertainty: \xB1") + row.uncertainty + " (half the round trip)" : "");
    EXPECT_STREQ(lines.meaning, row.meaning) << row.verdict;
    EXPECT_EQ(lines.advice[0] != '\0', row.advice) << row.verdict;
    EXPECT_STREQ(lines.server, good ? "The server's stratum: 2; its reference: 192.0.2.7" : "");
    EXPECT_STREQ(lines.measured, good ? "Measured at 9:05:07" : "");
  }
  InstallFakePlatform();
}

TEST(SntpWords, SpansChangeUnitWhereTheyRoundOver) {
  const struct {
    std::int64_t ticks;
    int decimals;
    const char *text;
  } rows[] = {
      {9994999, 2, "999 ms"},         {9995000, 2, "1.00 s"},
      {-12345678, 2, "1.23 s"},       {599949999, 2, "59.99 s"},
      {599950000, 2, "1 min 0 s"},    {599500000, 1, "1 min 0 s"},
      {35994999999LL, 2, "59 min 59 s"}, {35995000000LL, 2, "1 h 0 min"},
      {47LL * 3600 * kTick + 29 * 60 * kTick, 2, "47 h 29 min"},
      {48LL * 3600 * kTick, 2, "2 days"}, {INT64_MIN, 2, "1334400 days"},
  };
  for (const auto &row : rows) {
    char out[64];
    FormatSpan(row.ticks, row.decimals, out, sizeof out);
    EXPECT_STREQ(out, row.text) << row.ticks;
  }
}

#ifndef _WIN32
std::int64_t Now() {
  timespec t;
  clock_gettime(CLOCK_REALTIME, &t);
  return kUnixEpoch + t.tv_sec * kTick + t.tv_nsec / 100;
}

// The responder the Wine tests rely on, asked once per way it can be told to answer, through
// a plain socket on 127.0.0.1 and judged by the clock's own rules. Linux only: it is Python.
TEST(SntpResponder, AnswersOnLoopbackAsItWasTold) {
  const struct {
    const char *options;
    SntpStatus status;
    double offset;
  } rows[] = {
      {"--offset 2.5", kSntpGood, 2.5}, {"--offset -300.25 --stratum 3", kSntpGood, -300.25},
      {"--mode kiss:RATE", kSntpKissOfDeath, 0}, {"--mode wrong-origin", kSntpWrongOrigin, 0},
      {"--mode other-port", kSntpWrongSender, 0}, {"--mode unsynchronised", kSntpUnsynchronised, 0},
      {"--mode silent", kSntpNoAnswer, 0},
  };
  for (const auto &row : rows) {
    const std::string command = std::string("python3 " ORVANE_SOURCE_DIR "/tools/sntp_responder.py "
                                            "--seconds 10 --questions 1 ") + row.options;
    std::FILE *responder = popen(command.c_str(), "r");
    unsigned port = 0;
    ASSERT_TRUE(responder != nullptr && std::fscanf(responder, "port %u", &port) == 1) << row.options;
    const int s = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to = {}, from = {};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<std::uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    unsigned char request[kSntpPacketSize], reply[512];
    SntpQuestion q;
    BuildSntpRequest(Now(), static_cast<std::uint32_t>(std::rand()), {{127, 0, 0, 1}, 4, port}, request, &q);
    sendto(s, request, sizeof request, 0, reinterpret_cast<sockaddr *>(&to), sizeof to);
    pollfd wait = {s, POLLIN, 0};
    SntpResult r = {};
    r.status = kSntpNoAnswer;
    if (poll(&wait, 1, row.status == kSntpNoAnswer ? 300 : 5000) == 1) {
      socklen_t fromSize = sizeof from;
      const ssize_t got = recvfrom(s, reply, sizeof reply, 0, reinterpret_cast<sockaddr *>(&from), &fromSize);
      SntpPeer sender = {{}, 4, ntohs(from.sin_port)};
      std::memcpy(sender.address, &from.sin_addr, 4);
      JudgeSntpReply(reply, got > 0 ? static_cast<std::size_t>(got) : 0, sender, q, Now(), &r);
    }
    close(s);
    pclose(responder);
    EXPECT_EQ(r.status, row.status) << row.options;
    EXPECT_STREQ(r.kissCode, row.status == kSntpKissOfDeath ? "RATE" : "") << row.options;
    // Both clocks are this machine's: the offset told is the offset within the uncertainty.
    EXPECT_NEAR(static_cast<double>(r.offset) / kTick, row.offset,
                static_cast<double>(r.delay) / 2 / kTick + 0.001) << row.options;
  }
}
#endif

}  // namespace
