// What only the fuzzer and tests call of the time server's core: NTP timestamps to and from
// 100 ns times. Portable.
#pragma once

#include <cstdint>

// A 64-bit NTP timestamp as a 100 ns time, in the 136-year era that puts it nearest to
// `near` (this computer's time), so that times past February 2036 read right.
std::int64_t TimeFromNtp(std::uint64_t stamp, std::int64_t near);
// A 100 ns time as an NTP timestamp (its era dropped, as on the wire).
std::uint64_t NtpFromTime(std::int64_t time);
