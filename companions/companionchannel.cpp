#include "companionchannel.h"

#include <terminalhost/companionprotocol.h>

#include <QSocketNotifier>

#include <cstdio>
#include <unistd.h>

namespace {
constexpr int kReadChunk = 256; // bytes; commands are a few bytes each
}

CCompanionChannel::CCompanionChannel(bool managed, QObject* parent)
    : QObject(parent)
    , m_managed(managed)
{
    if (!m_managed)
        return;
    m_notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CCompanionChannel::readCommands);
}

void CCompanionChannel::reportReady()
{
    report(CompanionProtocol::kReadyReport);
}

void CCompanionChannel::reportAwake()
{
    report(CompanionProtocol::kAwakeReport);
}

void CCompanionChannel::readCommands()
{
    char chunk[kReadChunk];
    const ssize_t count = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (count <= 0) {
        // End of input (or a broken pipe): nobody is left to serve.
        m_notifier->setEnabled(false);
        emit sigTerminalGone();
        return;
    }
    m_pending.append(chunk, static_cast<int>(count));
    int end = 0;
    while ((end = m_pending.indexOf('\n')) >= 0) {
        const QByteArray command = m_pending.left(end).trimmed();
        m_pending.remove(0, end + 1);
        if (command == CompanionProtocol::kRaiseCommand)
            emit sigRaiseRequested();
    }
}

void CCompanionChannel::report(const char* line)
{
    if (!m_managed)
        return;
    std::fputs(line, stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}
