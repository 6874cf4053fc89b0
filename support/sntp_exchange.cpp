// The asynchronous exchange with a time server: WSAAsyncGetHostByName for the name,
// WSAAsyncSelect for the reply, a timer per try. The clock's one thread never waits on the
// network. Win32 (Winsock 2).
#include <winsock2.h>
#include <ws2tcpip.h>

#include "support/sntp_exchange.h"

#include <cstdio>
#include <cstring>

#include "support/system_library.h"

extern "C" BOOLEAN WINAPI SystemFunction036(PVOID buffer, ULONG length);  // RtlGenRandom

namespace {

constexpr int kTries = 3;
constexpr UINT kTryMilliseconds = 3000;

struct Exchange {
  HWND window;
  UINT message;
  bool busy;
  HANDLE lookup;
  char hostent[MAXGETHOSTSTRUCT];
  SOCKET socket;
  sockaddr_storage address;
  int addressSize;
  SntpQuestion question;
  int tries;
  SntpStatus refusal;  // why the last untrusted reply was dropped, said when no good one comes
  char server[kSntpHostSize + 8];
};

Exchange g_exchange = {};
SntpResult g_result = {};
char g_silenced[kSntpHostSize + 8] = "";  // the server that sent a kiss-of-death
bool g_winsockStarted = false;
void(WINAPI *g_precise)(FILETIME *) = nullptr;  // GetSystemTimePreciseAsFileTime, if any
bool g_preciseLookedUp = false;

void Stop() {
  Exchange &x = g_exchange;
  if (x.window != nullptr) KillTimer(x.window, kSntpTimerId);
  if (x.lookup != nullptr) WSACancelAsyncRequest(x.lookup);
  if (x.socket != INVALID_SOCKET && x.socket != 0) closesocket(x.socket);
  x.lookup = nullptr;
  x.socket = INVALID_SOCKET;
  x.busy = false;
}

// Ends the question with `status`; a reply's result is already in g_result.
void Deliver(SntpStatus status) {
  Stop();
  g_result.status = status;
  PostMessageA(g_exchange.window, g_exchange.message, static_cast<WPARAM>(status), 0);
}

SntpStatus NetworkStatus(int error) {
  switch (error) {
    case WSAHOST_NOT_FOUND:
    case WSANO_DATA:
    case WSANO_RECOVERY:
      return kSntpNameNotFound;
    default:
      return kSntpNoNetwork;
  }
}

void PeerOf(const sockaddr_storage &address, SntpPeer *peer) {
  std::memset(peer, 0, sizeof *peer);
  if (address.ss_family == AF_INET) {
    const auto &v4 = reinterpret_cast<const sockaddr_in &>(address);
    std::memcpy(peer->address, &v4.sin_addr, 4);
    peer->length = 4;
    peer->port = ntohs(v4.sin_port);
  } else if (address.ss_family == AF_INET6) {
    const auto &v6 = reinterpret_cast<const sockaddr_in6 &>(address);
    std::memcpy(peer->address, &v6.sin6_addr, 16);
    peer->length = 16;
    peer->port = ntohs(v6.sin6_port);
  }
}

// One try: a new question (new send time, new random bits) and its 3 s.
void SendTry() {
  Exchange &x = g_exchange;
  ++x.tries;
  std::uint32_t random = GetTickCount() ^ GetCurrentProcessId();
  SystemFunction036(&random, sizeof random);
  SntpPeer peer;
  PeerOf(x.address, &peer);
  unsigned char request[kSntpPacketSize];
  BuildSntpRequest(ReadPreciseSystemTime(), random, peer, request, &x.question);
  if (sendto(x.socket, reinterpret_cast<const char *>(request), sizeof request, 0,
             reinterpret_cast<const sockaddr *>(&x.address), x.addressSize) == SOCKET_ERROR &&
      WSAGetLastError() != WSAEWOULDBLOCK) {
    return Deliver(kSntpNoNetwork);
  }
  if (SetTimer(x.window, kSntpTimerId, kTryMilliseconds, nullptr) == 0) Deliver(kSntpNoAnswer);
}

void OpenAndSend() {
  Exchange &x = g_exchange;
  x.socket = socket(x.address.ss_family, SOCK_DGRAM, IPPROTO_UDP);
  if (x.socket == INVALID_SOCKET ||
      WSAAsyncSelect(x.socket, x.window, x.message + 2, FD_READ) == SOCKET_ERROR) {
    return Deliver(kSntpNoNetwork);
  }
  SendTry();
}

void OnLookup(WPARAM handle, LPARAM lParam) {
  Exchange &x = g_exchange;
  if (!x.busy || reinterpret_cast<HANDLE>(handle) != x.lookup) return;  // a dropped question's
  x.lookup = nullptr;
  const hostent *host = reinterpret_cast<const hostent *>(x.hostent);
  if (WSAGETASYNCERROR(lParam) != 0) return Deliver(NetworkStatus(WSAGETASYNCERROR(lParam)));
  if (host->h_addrtype != AF_INET || host->h_length != 4 || host->h_addr_list[0] == nullptr) {
    return Deliver(kSntpNameNotFound);
  }
  auto &v4 = reinterpret_cast<sockaddr_in &>(x.address);
  std::memcpy(&v4.sin_addr, host->h_addr_list[0], 4);
  OpenAndSend();
}

// Reads every datagram waiting. Only the server's own words end the question; a stray or
// forged datagram is dropped and the try goes on.
void OnReadable(WPARAM sock) {
  Exchange &x = g_exchange;
  if (!x.busy || static_cast<SOCKET>(sock) != x.socket) return;
  // Bounded: Winsock posts FD_READ again for what is left.
  for (int datagrams = 0; datagrams < 64; ++datagrams) {
    unsigned char reply[1024];
    sockaddr_storage from = {};
    int fromSize = sizeof from;
    const int got = recvfrom(x.socket, reinterpret_cast<char *>(reply), sizeof reply, 0,
                             reinterpret_cast<sockaddr *>(&from), &fromSize);
    const std::int64_t receivedAt = ReadPreciseSystemTime();
    if (got == SOCKET_ERROR) {
      // A port nobody listens on comes back as a reset: no answer on this try.
      if (WSAGetLastError() == WSAECONNRESET) continue;
      return;
    }
    SntpPeer sender;
    PeerOf(from, &sender);
    SntpResult result;
    const SntpStatus status = JudgeSntpReply(reply, static_cast<std::size_t>(got), sender,
                                             x.question, receivedAt, &result);
    switch (status) {
      case kSntpWrongSender:
      case kSntpTooShort:
      case kSntpNotServerMode:
      case kSntpBadVersion:
      case kSntpWrongOrigin:
      case kSntpBadRoundTrip:
        x.refusal = status;
        continue;
      case kSntpKissOfDeath:
        std::snprintf(g_silenced, sizeof g_silenced, "%s", x.server);
        break;
      default:
        break;
    }
    g_result = result;
    return Deliver(status);
  }
}

void OnTimer() {
  Exchange &x = g_exchange;
  if (!x.busy) return;
  if (x.tries < kTries) return SendTry();
  Deliver(x.refusal != kSntpGood ? x.refusal : kSntpNoAnswer);
}

// The address itself when `host` is an IPv4 or IPv6 literal: no lookup needed.
bool ReadLiteral(const char *host, unsigned port, sockaddr_storage *address, int *size) {
  std::memset(address, 0, sizeof *address);
  char text[kSntpHostSize];
  std::snprintf(text, sizeof text, "%s", host);
  *size = sizeof *address;
  const int family = std::strchr(host, ':') != nullptr ? AF_INET6 : AF_INET;
  if (WSAStringToAddressA(text, family, nullptr, reinterpret_cast<sockaddr *>(address), size) != 0) {
    return false;
  }
  if (family == AF_INET) {
    reinterpret_cast<sockaddr_in *>(address)->sin_port = htons(static_cast<u_short>(port));
  } else {
    reinterpret_cast<sockaddr_in6 *>(address)->sin6_port = htons(static_cast<u_short>(port));
  }
  return true;
}

}  // namespace

std::int64_t ReadPreciseSystemTime() {
  // Looked up once, by hand: a function's static with a computed value would bring in the
  // C++ library's guarded start-up, and with it exceptions and threads (100 KB of exe).
  using Reader = void(WINAPI *)(FILETIME *);
  if (!g_preciseLookedUp) {
    g_precise = SystemCall<Reader>("kernel32.dll", "GetSystemTimePreciseAsFileTime");
    g_preciseLookedUp = true;
  }
  FILETIME now;
  if (g_precise != nullptr) {
    g_precise(&now);
  } else {
    GetSystemTimeAsFileTime(&now);
  }
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(now.dwHighDateTime) << 32) |
                                   now.dwLowDateTime);
}

void StartSntpExchange(HWND window, const char *serverText, UINT message) {
  CancelSntpExchange();
  Exchange &x = g_exchange;
  x = Exchange{};
  x.socket = INVALID_SOCKET;
  x.window = window;
  x.message = message;
  x.busy = true;
  g_result = SntpResult{};
  char host[kSntpHostSize];
  unsigned port = 0;
  if (!ParseTimeServer(serverText, host, &port)) return Deliver(kSntpBadServerText);
  std::snprintf(x.server, sizeof x.server, "%s:%u", host, port);
  // A server that asked not to be asked stays unasked until the setting names another.
  if (std::strcmp(x.server, g_silenced) == 0) return Deliver(kSntpServerSilenced);
  g_silenced[0] = '\0';

  WSADATA data;
  if (!g_winsockStarted) g_winsockStarted = WSAStartup(MAKEWORD(2, 2), &data) == 0;
  if (!g_winsockStarted) return Deliver(kSntpNoNetwork);
  if (ReadLiteral(host, port, &x.address, &x.addressSize)) return OpenAndSend();
  if (std::strchr(host, ':') != nullptr) return Deliver(kSntpNameNotFound);
  auto &v4 = reinterpret_cast<sockaddr_in &>(x.address);
  v4.sin_family = AF_INET;
  v4.sin_port = htons(static_cast<u_short>(port));
  x.addressSize = sizeof v4;
  x.lookup = WSAAsyncGetHostByName(window, message + 1, host, x.hostent, sizeof x.hostent);
  if (x.lookup == nullptr) Deliver(NetworkStatus(WSAGetLastError()));
}

void CancelSntpExchange() {
  if (g_exchange.busy) Stop();
}

bool HandleSntpExchangeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const Exchange &x = g_exchange;
  if (window != x.window || x.window == nullptr) return false;
  if (message == WM_TIMER && wParam == kSntpTimerId) {
    OnTimer();
  } else if (message == x.message + 1) {
    OnLookup(wParam, lParam);
  } else if (message == x.message + 2) {
    if (WSAGETSELECTEVENT(lParam) == FD_READ) OnReadable(wParam);
  } else {
    return false;
  }
  return true;
}

bool SntpExchangeBusy() { return g_exchange.busy; }

const SntpResult &LastSntpResult() { return g_result; }
