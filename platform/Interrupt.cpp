// Interrupt: a flag set by the handler, read by the loop.
#include "platform/Interrupt.h"

#include <signal.h>
#include <time.h>

namespace platform {

namespace {

volatile sig_atomic_t caught = 0;
volatile sig_atomic_t firstSecond = 0;

// NOTE: a signal may come twice at once (a supervisor that signals both the
// process and its group); only one that comes later means "now".
void onSignal(int number) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  if (caught == 0) {
    caught = number;
    firstSecond = static_cast<sig_atomic_t>(now.tv_sec);
  } else if (now.tv_sec - firstSecond >= 2) {
    signal(number, SIG_DFL);
    raise(number);
  }
}

}  // namespace

void catchInterrupts() {
  struct sigaction action = {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

int interruptSignal() { return caught; }

}  // namespace platform
