#include "aboutbox.h"
#include "applicationtest.h"
#include "memoryusage.h"
#include "principale.h"
#include "secretpanel.h"
#include "speedbarbutton.h"
#include "speeditem.h"
#include "spinedit.h"
#include "stretchedimage.h"

#include <QLabel>
#include <clocale>

namespace {

// The smallest block that malloc hands out takes 32 bytes, so one block lost per step
// would add 320 KB or more over these runs. The bounds let through the few kilobytes
// that Qt's caches may still settle after the warm-up, and nothing like a leak.
constexpr qint64 HeapBound = 64 * 1024;
// Pages: one lost block of about 100 bytes per step would pass this.
constexpr qint64 ResidentBound = 1024 * 1024;

// Memory at its construction, compared with memory when asked.
class MemoryWatch
{
public:
    MemoryWatch() : m_heap(MemoryUsage::heapInUse()), m_resident(MemoryUsage::resident()) {}

    // Empty when memory stayed within the bounds, else what grew.
    QString growth() const
    {
        const qint64 heap = qint64(MemoryUsage::heapInUse()) - qint64(m_heap);
        const std::optional<qint64> resident = MemoryUsage::resident();
        if (heap > HeapBound)
            return QStringLiteral("the heap grew by %1 bytes").arg(heap);
        if (m_resident && resident && *resident - *m_resident > ResidentBound)
            return QStringLiteral("resident memory grew by %1 bytes").arg(*resident - *m_resident);
        return QString();
    }

private:
    const std::size_t m_heap;
    const std::optional<qint64> m_resident;
};

} // namespace

// Long runs that leave memory where it was once everything is warmed up.
class TestLongRuns : public QObject
{
    Q_OBJECT

private slots:
    void creditsRollForTenMinutes();
    void tenThousandComputeCommands();
};

void TestLongRuns::creditsRollForTenMinutes()
{
    AboutBox box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(box.ProgramIcon, Qt::LeftButton);
    SecretPanel *const panel = box.SecretPanel1;
    QVERIFY(panel->isActive());

    // Each step drawn and shown, as the roll's timer has it done.
    const auto roll = [panel](int steps) {
        for (int step = 0; step < steps; ++step) {
            panel->scrollStep();
            QCoreApplication::processEvents();
        }
    };
    roll(2000); // more than a full turn of the sixteen lines
    const MemoryWatch watch;
    roll(12000); // ten minutes of 50-ms ticks
    QVERIFY(panel->isActive());
    const QString growth = watch.growth();
    QVERIFY2(growth.isEmpty(), qPrintable(growth));
}

void TestLongRuns::tenThousandComputeCommands()
{
    std::setlocale(LC_ALL, "C.UTF-8");
    Principale window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    SpeedbarButton *const calculer = window.Calculer1->button();

    // Every height that the spin buttons reach, in turn, computed with the tool bar.
    bool allShown = true;
    const auto compute = [&](int commands) {
        for (int i = 0; i < commands; ++i) {
            window.Edit1->setValue(100 + (i % 301) * 0.5);
            QTest::mouseClick(calculer, Qt::LeftButton);
            allShown = allShown && window.Label4->text().endsWith(QStringLiteral(" Kg"));
        }
    };
    compute(301);
    const MemoryWatch watch;
    compute(10000);
    QVERIFY(allShown);
    const QString growth = watch.growth();
    QVERIFY2(growth.isEmpty(), qPrintable(growth));
}

MORPHO_APPLICATION_TEST_MAIN(TestLongRuns)
#include "tst_longruns.moc"
