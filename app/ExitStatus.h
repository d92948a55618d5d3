// ExitStatus: what the process tells whoever started it (a headless
// pipeline cannot see a message box). The README's "Exit status" lists them.
#pragma once

enum ExitStatus : int {
  // The show played to its end or was quit; some assets may have been
  // missing or broken (each said so).
  kExitShowPlayed = 0,
  // The show could not start: no window or context, a missing extension,
  // the archive missing or unreadable.
  kExitCannotStart = 1,
  // A recording asked for with /m could not be written whole: the file
  // could not be created, or writing it failed (a full disk).
  kExitRecordingIncomplete = 2,
};
