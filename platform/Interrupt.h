// Interrupt: Ctrl-C (SIGINT) and SIGTERM as a request to end the show.
//
// Killed outright, a recording would lose its index and the end of its
// sound, and the sound device would stay open; caught, the loop ends as it
// does on Escape and the process exits with the shell's 128 + signal.
#pragma once

namespace platform {

// From now on the first SIGINT or SIGTERM only records itself; one that
// comes two seconds or more later ends the process at once, as if none were
// caught (for a show that hangs).
void catchInterrupts();

// The signal that asked the show to end (SIGINT or SIGTERM), 0 while none
// has.
int interruptSignal();

}  // namespace platform
