// The once-a-second work of the core must not touch the heap: counted, not timed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "astro/clock_reading.h"
#include "display/chimes.h"
#include "display/clock_text.h"
#include "fake_platform.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime's allocator interface (GCC ships the function, not the header).
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*malloc_hook)(const volatile void *, std::size_t),
    void (*free_hook)(const volatile void *));
#endif

namespace {

int g_allocations = 0;

#if defined(__SANITIZE_ADDRESS__)
// Every malloc of the process, C library included.
void CountMalloc(const volatile void *, size_t) { ++g_allocations; }
void IgnoreFree(const volatile void *) {}
#endif

// Each test runs in a process of its own: the hooks go in at the first count.
void StartCounting() {
#if defined(__SANITIZE_ADDRESS__)
  static const int installed = __sanitizer_install_malloc_and_free_hooks(CountMalloc, IgnoreFree);
  (void)installed;
#endif
  g_allocations = 0;
}

}  // namespace

#if defined(ORVANE_WRAPPED_MALLOC)
// MinGW builds link with --wrap for malloc, calloc and realloc: every call to them from this
// program (the core, the C++ library's operator new, the tests) comes here first. Calls made
// inside the system's C runtime DLL are not seen.
extern "C" void *__real_malloc(std::size_t size);
extern "C" void *__real_calloc(std::size_t count, std::size_t size);
extern "C" void *__real_realloc(void *p, std::size_t size);
extern "C" void *__wrap_malloc(std::size_t size) {
  ++g_allocations;
  return __real_malloc(size);
}
extern "C" void *__wrap_calloc(std::size_t count, std::size_t size) {
  ++g_allocations;
  return __real_calloc(count, size);
}
extern "C" void *__wrap_realloc(void *p, std::size_t size) {
  ++g_allocations;
  return __real_realloc(p, size);
}
#elif !defined(__SANITIZE_ADDRESS__)
// Elsewhere, without the sanitizer's hooks, only the C++ allocations of this test program are
// counted. (The memory comes from malloc, so free is the right way back.)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void *operator new(std::size_t size) {
  ++g_allocations;
  if (void *p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { operator delete(p); }
#endif

namespace {

TEST(CoreTick, AllocatesNothing) {
  InstallFakePlatform();
  Location denver{};
  std::snprintf(denver.name, sizeof denver.name, "Denver");
  denver.hemisphere = kWest;
  denver.longitude = 104.98333333333333;
  denver.zone = -7.0;
  denver.dst = 1;
  char text[kTextSize] = {};
  char last[kTextSize] = {};
  // Warm up once per kind: the daylight-saving cache, the locale cache and the fake string
  // table fill on first use.
  for (int kind = 0; kind < 5; ++kind) FormatClockText(ReadClock(kind, denver), text);
  MakeTwelveHourText(text);
#if defined(__SANITIZE_ADDRESS__)
  __sanitizer_install_malloc_and_free_hooks(CountMalloc, IgnoreFree);

#endif
  g_allocations = 0;
  for (int second = 0; second < 3600; ++second) {
    SetFakeClock(2026, 12, 7, 13 + second / 1800, (second / 60) % 60, second % 60);
    const int kind = second % 5;
    const int minute = FormatClockText(ReadClock(kind, denver), text);
    if (kind == 0) MakeTwelveHourText(text);
    DetectHourlyChime(text, last, minute);
    std::memcpy(last, text, sizeof last);
    SoundPendingChime();
  }
  const int counted = g_allocations;
  EXPECT_EQ(counted, 0);
  EXPECT_GT(g_fake.beeps, 0);  // the hour that began in the run was chimed
  SetPendingChimeCount(0);
}

TEST(CoreTick, TheCounterSeesAnAllocation) {
  // Guards the test above against a counter that never counts, or misses a way to allocate.
  // Only a build that counts the C library's allocations as well (the sanitizer's hooks,
  // or MinGW's --wrap) proves that the core allocates nothing.
  struct Way {
    const char *name;
    void *(*allocate)();
    bool counted;  // in this build
  };
  const bool countsMalloc =
#if defined(__SANITIZE_ADDRESS__) || defined(ORVANE_WRAPPED_MALLOC)
      true;
#else
      false;
#endif
  const Way ways[] = {
      {"malloc", [] { return std::malloc(24); }, countsMalloc},
      {"calloc", [] { return std::calloc(3, 8); }, countsMalloc},
      {"realloc", [] {
         void *p = std::malloc(8);  // counted before the realloc is
         g_allocations = 0;
         return std::realloc(p, 4096);
       }, countsMalloc},
      {"new", [] { return static_cast<void *>(new char[24]); }, true},
  };
  for (const Way &way : ways) {
    StartCounting();
    void *p = way.allocate();
    const int counted = g_allocations;
    if (std::strcmp(way.name, "new") == 0) {
      delete[] static_cast<char *>(p);
    } else {
      std::free(p);
    }
    EXPECT_EQ(counted >= 1, way.counted) << way.name;
  }
}

}  // namespace
