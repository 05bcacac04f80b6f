#pragma once

#include <terminalhost/accountinfo.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

/**
 * @brief The day's trading on the simulated accounts, at a pace a person can follow: orders are
 * placed, queue, partly fill, fill, get cancelled or rejected; trading tasks start, run a while and
 * stop. A worker thread of its own publishes every change to the data center, as the real trade
 * client's network thread does.
 *
 * Only accounts marked logged in trade; an account that logs out keeps its orders as they were until
 * it is back. About a handful of orders run at a time (from 3 to 15), a few changes a second, and up
 * to four tasks. The same seed gives the same sequence of choices.
 */
class CTradeActivitySimulator
{
public:
    CTradeActivitySimulator(std::uint32_t seed, std::vector<CAccountInfoPtr> accounts);
    ~CTradeActivitySimulator();
    CTradeActivitySimulator(const CTradeActivitySimulator&) = delete;
    CTradeActivitySimulator& operator=(const CTradeActivitySimulator&) = delete;

    /// Starts the worker. Does nothing while running.
    void start();
    /// Wakes and joins the worker; nothing is published after it returns. Orders and tasks stay as they are.
    void stop();
    bool isRunning() const { return m_worker.joinable(); }

    /// 1 is real time; the worker picks a new factor up at its next step.
    void setSpeedFactor(double factor) { m_speedFactor.store(factor); }

    /// Marks an account as logged in, with its data store in place, or not. Any thread.
    void setAccountLoggedIn(std::size_t accountIndex, bool loggedIn);

    /// Order and task records published since construction.
    std::uint64_t publishedOrders() const { return m_publishedOrders.load(); }
    std::uint64_t publishedTasks() const { return m_publishedTasks.load(); }

private:
    struct Order {
        std::string id;
        std::size_t account;
        std::size_t instrument;
        int status;
        int volume;
        double price;
    };
    struct Task {
        std::string id;
        std::size_t account;
        std::string name;
        int stepsLeft;
    };

    void run();
    bool waitForNextStep();
    void step();
    void stepOrders(const std::vector<std::size_t>& live);
    void placeOrder(std::size_t account, int status);
    void publishOrder(const Order& order);
    void stepTasks(const std::vector<std::size_t>& live);
    void publishTask(const Task& task, int status);
    bool chance(double probability);
    std::size_t pick(std::size_t count);

    std::vector<CAccountInfoPtr> m_accounts;
    std::unique_ptr<std::atomic<bool>[]> m_loggedIn;
    std::atomic<double> m_speedFactor{1.0};
    std::atomic<std::uint64_t> m_publishedOrders{0};
    std::atomic<std::uint64_t> m_publishedTasks{0};

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopRequested = false; // guarded by m_mutex
    std::thread m_worker;

    // Worker only (a worker is joined before the next one starts).
    std::mt19937 m_rng;
    std::vector<Order> m_orders;    ///< the running ones
    std::vector<Task> m_tasks;      ///< the running ones
    std::vector<bool> m_opened;     ///< accounts whose earlier orders are already in their store
    std::uint64_t m_nextOrderId = 1;
    std::uint64_t m_nextTaskId = 1;
    std::uint64_t m_steps = 0;
    bool m_busy = false;            ///< busy spells place orders faster, so the counter wanders
};
