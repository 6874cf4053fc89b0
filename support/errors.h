// The two ways the program reports a failure: a warning the user survives, and a fatal
// report that ends the process. Portable: boxes, the clock and the exit go through the hooks.
#pragma once

// A task-modal warning box with the text of string `messageId`, captioned "Orvane 2 - Fatal
// Error" when `fatal` is 1 and "Orvane 2 - Error" otherwise; `owner` may be null.
void ShowWarning(void *owner, int messageId, int fatal);

// When `condition` holds: stops the clock, shows the message and then "file/line", and ends
// the process with exit code 1. Returns only when the condition is false.
void FailIf(int condition, int messageId, const char *sourceFile, long line);

// The file name without its directories, so that a report names "clock_face.cpp/42".
constexpr const char *SourceFileName(const char *path) {
  const char *name = path;
  for (const char *p = path; *p != '\0'; ++p) {
    if (*p == '/' || *p == '\\') name = p + 1;
  }
  return name;
}

#define FAIL_IF(condition, messageId) \
  FailIf((condition) ? 1 : 0, (messageId), SourceFileName(__FILE__), __LINE__)
