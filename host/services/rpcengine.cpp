#include "rpcengine.h"

#include <boost/asio/post.hpp>

#include <algorithm>
#include <future>

namespace {
constexpr int kThreadCount = 2;
}

RPCEngine* RPCEngine::instance()
{
    static RPCEngine engine;
    return &engine;
}

RPCEngine::RPCEngine()
    : m_work(boost::asio::make_work_guard(m_io))
{
    for (int i = 0; i < kThreadCount; ++i)
        m_threads.emplace_back([this] { m_io.run(); });
}

RPCEngine::~RPCEngine()
{
    m_work.reset();
    m_io.stop();
    for (std::thread& thread : m_threads)
        thread.join();
}

std::shared_ptr<RPCEngine::Strand> RPCEngine::getStrand(const std::string& name)
{
    std::lock_guard<std::mutex> lock(m_strandMutex);
    std::shared_ptr<Strand>& strand = m_strands[name];
    if (!strand)
        strand = std::make_shared<Strand>(m_io.get_executor());
    return strand;
}

std::shared_ptr<RPCEngine::Strand> RPCEngine::newStrand()
{
    return std::make_shared<Strand>(m_io.get_executor());
}

bool RPCEngine::isEngineThread() const
{
    const std::thread::id self = std::this_thread::get_id();
    return std::any_of(m_threads.begin(), m_threads.end(), [self](const std::thread& thread) { return thread.get_id() == self; });
}

void RPCEngine::waitForStrand(Strand& strand)
{
    std::promise<void> reached;
    boost::asio::post(strand, [&reached] { reached.set_value(); });
    reached.get_future().wait();
}
