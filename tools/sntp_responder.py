#!/usr/bin/env python3
"""A small time server for the tests: answers SNTP questions on 127.0.0.1 with a chosen offset,
or misbehaves on purpose, and exits by itself. Linux (or any POSIX), native Python.

Usage: sntp_responder.py [--port N] [--offset SECONDS] [--mode MODE] [--ignore N]
                         [--stratum N] [--reference TEXT] [--seconds N] [--questions N]
  --port     the UDP port on 127.0.0.1; 0 (the default) takes a free one. The port is printed
             as "port N" on the first line of standard output once the server listens.
  --offset   how far this server's time is ahead of the machine's clock (negative: behind)
  --mode     answer (default), silent, kiss:CODE (stratum 0 with a four-letter code),
             wrong-origin, other-port (the reply comes from another port), unsynchronised
             (leap indicator 3), short (47 bytes), no-transmit (transmit time 0)
  --ignore   leaves the first N questions unanswered (a lost packet), then behaves as --mode
  --seconds  exits after this many seconds (default 30, at most 600)
  --questions  exits once it has had this many questions (default: no limit)
Each question is logged to standard error as "question N answered|ignored".
"""
import argparse
import select
import socket
import struct
import sys
import time

NTP_FROM_UNIX = 2208988800
MODES = ("answer", "silent", "wrong-origin", "other-port", "unsynchronised", "short",
         "no-transmit")


def ntp_stamp(seconds):
    """A time in seconds since 1970 as a 64-bit NTP timestamp, its era dropped as on the wire."""
    whole = int(seconds // 1)
    fraction = int((seconds - whole) * (1 << 32))
    return (((whole + NTP_FROM_UNIX) % (1 << 32)) << 32) | min(fraction, (1 << 32) - 1)


def reply(question, received, args):
    """The 48 bytes that answer `question`, received at `received` (the machine's seconds)."""
    kiss = args.mode.startswith("kiss:")
    leap = 3 if args.mode == "unsynchronised" or kiss else 0
    version = (question[0] >> 3) & 7 if question else 4
    stratum = 0 if kiss else args.stratum
    if kiss:
        reference = args.mode[5:].encode("ascii")[:4].ljust(4, b"\0")
    elif stratum == 1:
        reference = args.reference.encode("ascii")[:4].ljust(4, b"\0")
    else:
        reference = bytes([127, 0, 0, 1])
    origin = question[40:48] if len(question) >= 48 else bytes(8)
    if args.mode == "wrong-origin":
        origin = bytes([origin[0] ^ 1]) + origin[1:]
    head = struct.pack("!BBbbII4s", (leap << 6) | (version << 3) | 4, stratum,
                       question[2] if len(question) > 2 else 6, -20, 0, 1 << 10, reference)
    now = time.time() + args.offset
    stamps = struct.pack("!QQQ", ntp_stamp(now - 16), ntp_stamp(received + args.offset),
                         0 if args.mode == "no-transmit" else ntp_stamp(time.time() + args.offset))
    packet = head + stamps[:8] + origin + stamps[8:]
    return packet[:47] if args.mode == "short" else packet


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--port", type=int, default=0)
    parser.add_argument("--offset", type=float, default=0.0)
    parser.add_argument("--mode", default="answer")
    parser.add_argument("--ignore", type=int, default=0)
    parser.add_argument("--stratum", type=int, default=1)
    parser.add_argument("--reference", default="TEST")
    parser.add_argument("--seconds", type=float, default=30.0)
    parser.add_argument("--questions", type=int, default=0)
    args = parser.parse_args()
    if args.mode not in MODES and not (args.mode.startswith("kiss:") and len(args.mode) > 5):
        parser.error("unknown mode " + args.mode)
    lifetime = min(max(args.seconds, 0.0), 600.0)

    # Loopback only: the tests never reach beyond this machine.
    server = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    server.bind(("127.0.0.1", args.port))
    other = None
    if args.mode == "other-port":
        other = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
        other.bind(("127.0.0.1", 0))
    print("port %d" % server.getsockname()[1], flush=True)

    end = time.monotonic() + lifetime
    count = 0
    while args.questions <= 0 or count < args.questions:
        left = end - time.monotonic()
        if left <= 0:
            break
        ready, _, _ = select.select([server], [], [], left)
        if not ready:
            continue
        question, sender = server.recvfrom(2048)
        received = time.time()
        count += 1
        if count <= args.ignore or args.mode == "silent":
            print("question %d ignored" % count, file=sys.stderr, flush=True)
            continue
        (other or server).sendto(reply(question, received, args), sender)
        print("question %d answered" % count, file=sys.stderr, flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
