// For tests: making the international punctuation be read again. Nothing in the program calls
// it. Portable.
#pragma once

// Forgets the cached values so that each is read again at its next query.
void MarkIntlSettingsStale();
