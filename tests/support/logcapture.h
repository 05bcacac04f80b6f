#pragma once

#include <QStringList>

#include <log4cxx/appenderskeleton.h>
#include <log4cxx/logger.h>
#include <log4cxx/spi/loggingevent.h>

#include <memory>

/// Keeps every line one log4cxx logger writes while it lives, as "LEVEL message", and keeps those
/// lines off the console. Tests that use it link log4cxx.
class LogCapture
{
public:
    explicit LogCapture(const char* loggerName)
        : m_logger(log4cxx::Logger::getLogger(loggerName))
        , m_additive(m_logger->getAdditivity())
    {
        m_logger->addAppender(m_appender);
        m_logger->setAdditivity(false);
    }
    ~LogCapture()
    {
        m_logger->removeAppender(m_appender);
        m_logger->setAdditivity(m_additive);
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList lines() const { return m_appender->lines; }
    void clear() { m_appender->lines.clear(); }

private:
    class Appender : public log4cxx::AppenderSkeleton
    {
    public:
        QStringList lines;
        void close() override {}
        bool requiresLayout() const override { return false; }

    protected:
        void append(const log4cxx::spi::LoggingEventPtr& event, log4cxx::helpers::Pool&) override
        {
            lines << QString::fromStdString(event->getLevel()->toString() + " " + event->getMessage());
        }
    };

    log4cxx::LoggerPtr m_logger;
    bool m_additive = true;
    std::shared_ptr<Appender> m_appender = std::make_shared<Appender>();
};
