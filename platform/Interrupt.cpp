// Interrupt: a flag set by the handler, read by the loop.
#include "platform/Interrupt.h"

#include <signal.h>

namespace platform {

namespace {

volatile sig_atomic_t caught = 0;

void onSignal(int signal) { caught = signal; }

}  // namespace

void catchInterrupts() {
  struct sigaction action = {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  // The handler goes after its first call, so a second signal acts as usual.
  action.sa_flags = SA_RESETHAND;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

int interruptSignal() { return caught; }

}  // namespace platform
