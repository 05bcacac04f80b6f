#include <testmain.h>

#include <statusbar/statusbar.h>

#include <terminalhost/datacenter.h>
#include <terminalhost/quoteclient.h>
#include <terminalsim/backendsimulator.h>

#include <QElapsedTimer>
#include <QThread>
#include <QVBoxLayout>

#include <cstdio>

#include <unistd.h>

namespace {
constexpr int kDefaultCycles = 300;      // STATUSBAR_CHURN_CYCLES sets another number
constexpr int kWarmUpCycles = 20;        // fonts, caches and arenas settle before the resident size is taken
constexpr int kFloodRate = 100000;       // order updates a second
constexpr double kSimSpeed = 20.0;
constexpr std::uint64_t kUpdatesPerCycle = 300; // a few milliseconds of the flood
constexpr int kWaitMs = 30000;
constexpr int kWindowWidth = 1280;       // px
constexpr int kWindowHeight = 80;        // px
constexpr std::uint32_t kSeed = 20261206;

long residentKiB()
{
    long pages = 0;
    long resident = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// Runs the event loop until done() holds; false when it did not within kWaitMs.
template <class Done>
bool runUntil(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.hasExpired(kWaitMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::yieldCurrentThread();
    }
    return true;
}
}

class TestChurn : public QObject
{
    Q_OBJECT
private slots:
    void init() { resetHost(); }

    void fullBarsBuiltAndDestroyedWhileTheBackEndPublishesLeaveNothingBehind()
    {
        const int fromEnvironment = qEnvironmentVariableIntValue("STATUSBAR_CHURN_CYCLES");
        const int cycles = fromEnvironment > 0 ? fromEnvironment : kDefaultCycles;
        CBackendSimulator simulator(kSeed);
        simulator.setSpeedFactor(kSimSpeed);
        simulator.setFloodRate(kFloodRate);
        simulator.start();
        QVERIFY2(runUntil([&] { return simulator.publishedFloodUpdates() > 0 && simulator.publishedTaskUpdates() > 0; }),
                 "the flood and the simulated trading did not start");

        long residentBefore = residentKiB();
        for (int cycle = 0; cycle < cycles; ++cycle) {
            if (cycle == kWarmUpCycles)
                residentBefore = residentKiB();
            auto* window = new QWidget;
            auto* layout = new QVBoxLayout(window);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->addStretch();
            auto* bar = new CStatusBar(window);
            layout->addWidget(bar);
            window->resize(kWindowWidth, kWindowHeight);
            window->show();
            // What a terminal does for a new bar: announce the connection and the login states.
            CQuoteClient::instance()->announce();
            bar->request();
            simulator.republishLoginStatus();

            const std::uint64_t start = simulator.publishedOrderUpdates();
            QVERIFY2(runUntil([&] { return simulator.publishedOrderUpdates() >= start + kUpdatesPerCycle; }),
                     qPrintable(QStringLiteral("cycle %1: the flood stalled").arg(cycle)));
            delete window;
        }
        const long residentAfter = residentKiB();
        simulator.stop();
        TraderCenter::instance()->getDataCenter()->waitForDeliveries();
        // Read by scripts/run-churn.sh, which holds the growth to a bound over thousands of cycles.
        std::printf("churn: %d cycles, resident %ld KiB after %d warm-up cycles, %ld KiB at the end\n", cycles, residentBefore,
                    kWarmUpCycles, residentAfter);
        std::fflush(stdout);
    }
};

STATUSBAR_TEST_MAIN(TestChurn)
#include "tst_churn.moc"
