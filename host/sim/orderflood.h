#pragma once

#include <terminalhost/accountinfo.h>
#include <terminalhost/datacenter.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

/**
 * @brief A storm of order updates: several threads publish order records of the logged-in accounts
 * to the data center as fast as a given total rate, over a fixed pool of order keys per account.
 *
 * It is the load a busy trading day puts on the status bar's order callbacks: the counters must stay
 * exact and the GUI smooth while it runs. The threads never run ahead of the data center's delivery
 * by more than a bounded number of records per account, so a rate the machine cannot deliver slows
 * the publishers down instead of queueing without end.
 *
 * Every call is made from one controlling thread (the GUI thread in the demo), except
 * setAccountLoggedIn() and the counters, which are safe from any thread.
 */
class COrderFlood
{
public:
    static constexpr int kThreadCount = 3;
    /// Distinct orders per account; each thread owns an equal share of them.
    static constexpr int kKeysPerAccount = 3000;

    COrderFlood(std::uint32_t seed, std::vector<CAccountInfoPtr> accounts);
    ~COrderFlood();
    COrderFlood(const COrderFlood&) = delete;
    COrderFlood& operator=(const COrderFlood&) = delete;

    /// Starts the threads; they publish to the accounts marked logged in. Does nothing while running.
    void start(int updatesPerSecond);
    /// Wakes and joins every thread; no update is published after it returns.
    void stop();
    bool isRunning() const { return !m_threads.empty(); }
    int rate() const { return m_rate; }

    /// Marks an account whose store exists (logged in) or not; the threads only publish to marked ones.
    void setAccountLoggedIn(std::size_t accountIndex, bool loggedIn);

    /// Order records published since construction, over all threads.
    std::uint64_t publishedUpdates() const { return m_published.load(std::memory_order_relaxed); }

private:
    struct AccountLane;
    void run(int threadIndex, double updatesPerSecond);
    /// Waits for the account's in-flight records to fall under the bound; false when stop was asked.
    bool waitForRoom(AccountLane& lane);
    /// Sleeps until deadline or stop; false when stop was asked.
    bool waitUntil(std::chrono::steady_clock::time_point deadline);

    std::uint32_t m_seed;
    std::vector<CAccountInfoPtr> m_accounts;
    std::vector<std::unique_ptr<AccountLane>> m_lanes;
    int m_rate = 0;
    std::vector<std::thread> m_threads;

    std::atomic<std::uint64_t> m_published{0};
    std::atomic<bool> m_stopRequested{false};
    std::mutex m_mutex;
    std::condition_variable m_wake;
};
