#include "cli/Interrupt.h"

#include <pthread.h>
#include <signal.h>

#include "jobs/Abort.h"

namespace {

sigset_t WatchedSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    return set;
}

}  // namespace

TInterruptWatcher::TInterruptWatcher(ILineSink& err) : err_(err) {
    const sigset_t set = WatchedSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    thread_ = std::thread([this] { Watch(); });
}

TInterruptWatcher::~TInterruptWatcher() {
    stopping_ = true;
    pthread_kill(thread_.native_handle(), SIGINT);
    thread_.join();
    const sigset_t set = WatchedSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void TInterruptWatcher::Watch() {
    const sigset_t set = WatchedSignals();
    for (;;) {
        int signal = 0;
        if (sigwait(&set, &signal) != 0 || stopping_) return;
        if (interrupted_.exchange(true)) continue;
        err_.AddLine("Interrupted: aborting the running job; the remaining jobs are not run.");
        RequestAbort();
    }
}
