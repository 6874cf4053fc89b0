// Warnings and fatal reports. Portable.
#include "support/errors.h"

#include <cstdio>
#include <cstdlib>

#include "resources/resource_ids.h"
#include "support/hooks.h"

void ShowWarning(void *owner, int messageId, int fatal) {
  char caption[kTextSize];
  char text[kTextSize];
  LoadText(fatal == 1 ? IDS_FATAL_CAPTION : IDS_ERROR_CAPTION, caption);
  LoadText(messageId, text);
  g_platform.messageBox(owner, text, caption, kBoxOk | kBoxIconExclamation | kBoxTaskModal);
}

void FailIf(int condition, int messageId, const char *sourceFile, long line) {
  if (condition == 0) return;
  // No tick may reach the window while the boxes are up: it could fail again and nest.
  g_platform.stopClock();
  ShowWarning(nullptr, messageId, 1);
  char where[kTextSize];
  std::snprintf(where, sizeof where, "%s/%ld", sourceFile, line);
  g_platform.messageBox(nullptr, where, "", kBoxOk | kBoxIconInformation | kBoxTaskModal);
  // A fatal failure must not look like success to whoever started the program.
  g_platform.endProcess(1);
  std::abort();  // endProcess does not come back; this only documents it
}
