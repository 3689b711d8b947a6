#include "platform/UserSignals.h"

#include <atomic>
#include <csignal>

namespace platform {
namespace {

std::atomic<unsigned> g_first{0};
std::atomic<unsigned> g_second{0};
std::atomic<int> g_last{0};

extern "C" void CountSignal(int number)
{
    (number == SIGUSR1 ? g_first : g_second).fetch_add(1, std::memory_order_relaxed);
    g_last.store(number == SIGUSR1 ? 1 : 2, std::memory_order_relaxed);
}

}  // namespace

bool UserSignals::Watch()
{
    struct sigaction action {};
    action.sa_handler = CountSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGUSR1, &action, nullptr) == 0 && sigaction(SIGUSR2, &action, nullptr) == 0;
}

UserSignals::Counts UserSignals::Take()
{
    return {g_first.exchange(0), g_second.exchange(0), g_last.exchange(0)};
}

}  // namespace platform
