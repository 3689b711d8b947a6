#include "platform/StopSignals.h"

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace platform {
namespace {

std::atomic<unsigned> g_count{0};
std::atomic<int> g_last{0};

extern "C" void CountStop(int number)
{
    g_count.fetch_add(1, std::memory_order_relaxed);
    g_last.store(number, std::memory_order_relaxed);
}

}  // namespace

bool StopSignals::Watch()
{
    struct sigaction action {};
    action.sa_handler = CountStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGTERM, &action, nullptr) == 0 && sigaction(SIGINT, &action, nullptr) == 0;
}

StopSignals::Counts StopSignals::Take()
{
    return {g_count.exchange(0), g_last.exchange(0)};
}

void StopSignals::EndBy(int number)
{
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(number, &action, nullptr);
    sigset_t unblock;
    sigemptyset(&unblock);
    sigaddset(&unblock, number);
    sigprocmask(SIG_UNBLOCK, &unblock, nullptr);
    std::raise(number);
    // A signal whose default action does not end the process.
    std::_Exit(128 + number);
}

}  // namespace platform
