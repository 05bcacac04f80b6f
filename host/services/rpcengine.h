#pragma once

#include <terminalhost/terminalhost_export.h>

#include <boost/asio/executor_work_guard.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/strand.hpp>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

/**
 * @brief The terminal's network engine: an io_context run by a small pool of its own threads.
 *
 * Named strands serialise the handlers of one consumer, such as the GUI-facing "ui_process".
 */
class TERMINALHOST_EXPORT RPCEngine
{
public:
    // Each strand keeps a queue of its own. (io_context::strand draws its queues from a small shared
    // pool, so two unrelated strands could end up serialised behind each other.)
    using Strand = boost::asio::strand<boost::asio::io_context::executor_type>;

    static RPCEngine* instance();
    ~RPCEngine();
    RPCEngine(const RPCEngine&) = delete;
    RPCEngine& operator=(const RPCEngine&) = delete;

    boost::asio::io_context& ioContext() { return m_io; }
    /// The strand of that name, created on first use and the same object afterwards.
    std::shared_ptr<Strand> getStrand(const std::string& name);
    /// A strand of its own, for a producer that needs its handlers kept in order.
    std::shared_ptr<Strand> newStrand();
    /// True on one of the engine's threads.
    bool isEngineThread() const;
    /// Blocks until every handler queued on strand so far has run. Never call it from inside that
    /// strand: it would wait for itself.
    static void waitForStrand(Strand& strand);

private:
    RPCEngine();

    boost::asio::io_context m_io;
    boost::asio::executor_work_guard<boost::asio::io_context::executor_type> m_work;
    std::vector<std::thread> m_threads;
    std::mutex m_strandMutex;
    std::map<std::string, std::shared_ptr<Strand>> m_strands;
};
