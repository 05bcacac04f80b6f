// Built and run by ThreadSanitizer builds only: two threads emit a queued signal whose argument, a
// type of ours, races in its copy on purpose. ThreadSanitizer must report that race with
// cmake/tsan.supp in force; a suppression wide enough to hide it would hide the races of the
// module's own queued types too. The test passes when the report names the argument's copy.
#include <QCoreApplication>
#include <QObject>

#include <thread>

// At namespace scope, as the module's own queued types are: the report then names the Qt helper
// that copies it, which is what a too wide suppression would match.
struct CRacyArgument {
    int* copies = nullptr;

    CRacyArgument() = default;
    CRacyArgument(const CRacyArgument& other)
        : copies(other.copies)
    {
        ++*copies; // unguarded on purpose: the race the run must see
    }
};
Q_DECLARE_METATYPE(CRacyArgument)

class CRacyEmitter : public QObject
{
    Q_OBJECT
signals:
    void sigArgument(const CRacyArgument& argument); // copied only by Qt, for the queue
};

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    qRegisterMetaType<CRacyArgument>("CRacyArgument");
    CRacyEmitter emitter;
    QObject receiver;
    QObject::connect(&emitter, &CRacyEmitter::sigArgument, &receiver, [](const CRacyArgument&) {}, Qt::QueuedConnection);

    int copies = 0;
    CRacyArgument argument;
    argument.copies = &copies;
    std::thread first([&] { emit emitter.sigArgument(argument); });
    std::thread second([&] { emit emitter.sigArgument(argument); });
    first.join();
    second.join();
    QCoreApplication::processEvents();
    return 0;
}

#include "tst_queuedtyperace.moc"
