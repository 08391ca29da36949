#include "callgrind.h"
#include "procstats.h"
#include "report.h"
#include "series.h"

#include <QTest>
#include <cmath>
#include <limits>

// The parts of the driver that turn raw readings into the published table.
class TestBenchDriver : public QObject
{
    Q_OBJECT

private slots:
    void medianAndRange_data();
    void medianAndRange();
    void emptySeriesHasNoValue();
    void procField_data();
    void procField();
    void wakeupsAddedByThread();
    void stateOfStatLine_data();
    void stateOfStatLine();
    void callgrindTotal_data();
    void callgrindTotal();
    void profileLine_data();
    void profileLine();
    void verdict_data();
    void verdict();
    void markdownTable();
};

void TestBenchDriver::medianAndRange_data()
{
    QTest::addColumn<QList<double>>("values");
    QTest::addColumn<double>("median");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::newRow("odd count, unsorted") << QList<double>{5, 1, 9, 3, 7} << 5.0 << 1.0 << 9.0;
    QTest::newRow("even count: mean of the middle two")
        << QList<double>{4, 1, 10, 2} << 3.0 << 1.0 << 10.0;
    QTest::newRow("one value") << QList<double>{2.5} << 2.5 << 2.5 << 2.5;
}

void TestBenchDriver::medianAndRange()
{
    QFETCH(QList<double>, values);
    Series series;
    for (double value : values)
        series.add(value);
    QTEST(series.median(), "median");
    QTEST(series.min(), "min");
    QTEST(series.max(), "max");
}

void TestBenchDriver::emptySeriesHasNoValue()
{
    const Series series;
    QVERIFY(std::isnan(series.median()));
    QVERIFY(std::isnan(series.min()));
    QVERIFY(std::isnan(series.max()));
}

void TestBenchDriver::procField_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("key");
    QTest::addColumn<qlonglong>("value"); // -1: absent
    const QString status = "Name:\tmorphocalcule\nVmRSSX:\t1 kB\nVmRSS:\t   29400 kB\n"
                           "voluntary_ctxt_switches:\t17\nnonvoluntary_ctxt_switches:\t3\n";
    QTest::newRow("kB value after tabs and spaces") << status << "VmRSS" << 29400LL;
    QTest::newRow("a key is not the prefix of another")
        << status << "voluntary_ctxt_switches" << 17LL;
    QTest::newRow("absent key") << status << "VmSwap" << -1LL;
    QTest::newRow("smaps_rollup")
        << "55d0-7ffd ---p 00000000 00:00 0  [rollup]\nPrivate_Clean:      9 kB\n"
           "Private_Dirty:   3204 kB\nPrivate_Hugetlb:  0 kB\n"
        << "Private_Dirty" << 3204LL;
    QTest::newRow("no number") << "VmRSS:\t? kB\n"
                               << "VmRSS" << -1LL;
}

void TestBenchDriver::procField()
{
    QFETCH(QString, text);
    QFETCH(QString, key);
    QFETCH(qlonglong, value);
    const std::string textBytes = text.toStdString();
    const std::string keyBytes = key.toStdString();
    QCOMPARE(ProcStats::field(textBytes, keyBytes).value_or(-1), value);
}

void TestBenchDriver::wakeupsAddedByThread()
{
    const ProcStats::Wakeups before{{"morphocalcule", 10}, {"QXcbEventQueue", 5}};
    const ProcStats::Wakeups after{
        {"morphocalcule", 40}, {"QXcbEventQueue", 65}, {"QDBusConnection", 2}};
    QCOMPARE(ProcStats::total(after) - ProcStats::total(before), 92LL);
    // A thread born in between counts whole.
    QCOMPARE(ProcStats::wakeupsByThread(before, after),
             std::string("QDBusConnection 2, QXcbEventQueue 60, morphocalcule 30"));
}

void TestBenchDriver::stateOfStatLine_data()
{
    QTest::addColumn<QString>("stat");
    QTest::addColumn<QString>("state");
    QTest::newRow("sleeping") << "4242 (morphocalcule) S 1 4242 4242 0"
                              << "S";
    QTest::newRow("running") << "7 (QXcbEventQueue) R 1 7"
                             << "R";
    QTest::newRow("command with a parenthesis and a space") << "9 (a) S (b) D 1 9"
                                                            << "D";
    QTest::newRow("cut short") << "9 (abc)"
                               << "?";
}

void TestBenchDriver::stateOfStatLine()
{
    QFETCH(QString, stat);
    QFETCH(QString, state);
    QCOMPARE(QString(QChar(ProcStats::stateOfStatLine(stat.toStdString()))), state);
}

void TestBenchDriver::callgrindTotal_data()
{
    QTest::addColumn<QString>("dump");
    QTest::addColumn<qulonglong>("total"); // 0: none
    QTest::newRow("totals at the end") << "events: Ir\nfn=main\n3 5\ntotals: 84606700\n"
                                       << 84606700ULL;
    QTest::newRow("summary only") << "events: Ir\nsummary: 72781800\nfn=x\n" << 72781800ULL;
    QTest::newRow("not at a line's start") << "cmd: ./totals: 5\n" << 0ULL;
    QTest::newRow("none") << "events: Ir\n" << 0ULL;
}

void TestBenchDriver::callgrindTotal()
{
    QFETCH(QString, dump);
    QTEST(qulonglong(Callgrind::total(dump.toStdString()).value_or(0)), "total");
}

void TestBenchDriver::profileLine_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("expected");
    QTest::newRow("library function")
        << "45,583,099 (60.47%)  ???:QTextLine::layout_helper(int) "
           "[/usr/lib/x86_64-linux-gnu/libQt6Gui.so.6.4.2]"
        << "45,583,099 (60.47%)  QTextLine::layout_helper(int)  [libQt6Gui.so.6.4.2]";
    QTest::newRow("our source file")
        << "44,919,859 (59.59%)  /work/bench/floor/floorwindow.cpp:FloorWindow::FloorWindow("
           "QWidget*) [/tmp/x/morphofloor]"
        << "44,919,859 (59.59%)  FloorWindow::FloorWindow(QWidget*)  [morphofloor]";
    QTest::newRow("header line") << "Ir                   file:function"
                                 << "";
    QTest::newRow("blank") << ""
                           << "";
}

void TestBenchDriver::profileLine()
{
    QFETCH(QString, line);
    const std::optional<Callgrind::ProfileEntry> entry =
        Callgrind::profileEntry(line.toStdString());
    QTEST(entry ? QString::fromStdString(entry->text()) : QString(), "expected");
}

void TestBenchDriver::verdict_data()
{
    const double none = std::numeric_limits<double>::quiet_NaN();
    QTest::addColumn<int>("measure");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("floor");
    QTest::addColumn<QString>("verdict");
    const int paint = int(Measure::FirstPaint);    // at most 1.2 times the floor
    const int wakeups = int(Measure::IdleWakeups); // at most the floor's
    const int roll = int(Measure::RollCpu);        // below 1 % of a core
    QTest::newRow("ratio on the limit") << paint << 120.0 << 100.0 << "pass";
    QTest::newRow("ratio over the limit") << paint << 121.0 << 100.0 << "FAIL";
    QTest::newRow("both zero") << wakeups << 0.0 << 0.0 << "pass";
    QTest::newRow("floor zero, program not") << wakeups << 1.0 << 0.0 << "FAIL";
    QTest::newRow("no floor value") << paint << 10.0 << none << "not measured";
    QTest::newRow("no program value") << roll << none << none << "not measured";
    QTest::newRow("value below its limit") << roll << 0.99 << none << "pass";
    QTest::newRow("value on its limit") << roll << 1.0 << none << "FAIL";
    QTest::newRow("no goal") << int(Measure::Map) << 500.0 << 10.0 << "";
}

void TestBenchDriver::verdict()
{
    QFETCH(int, measure);
    QFETCH(double, value);
    QFETCH(double, floor);
    QTEST(QString::fromStdString(Report::verdict(Measures[size_t(measure)], value, floor)),
          "verdict");
}

void TestBenchDriver::markdownTable()
{
    Results results;
    for (double value : {30.0, 32.0, 31.0})
        results.add(Subject::Morphocalcule, Measure::FirstPaint, value);
    for (double value : {25.0, 26.0})
        results.add(Subject::Floor, Measure::FirstPaint, value);
    results.add(Subject::Morphocalcule, Measure::RollCpu, 0.25);
    RunInfo info;
    info.idleSeconds = 30;
    const QString markdown = QString::fromStdString(Report(results, info).markdown());

    QVERIFY2(markdown.contains("| start-up: first painted frame (ms) | 31.0 | 30.0–32.0 | 25.5 | "
                               "25.0–26.0 | 1.22× | ≤ 1.2× floor | FAIL |"),
             qPrintable(markdown));
    QVERIFY2(markdown.contains("| credits roll: CPU (% of a core) | 0.250 | 0.250–0.250 | – | – | "
                               "– | < 1.0 % of a core | pass |"),
             qPrintable(markdown));
    QVERIFY2(markdown.contains("| idle: wakeups (in 30 s) | n/a | n/a | n/a | n/a | n/a | "
                               "≤ 1.0× floor | not measured |"),
             qPrintable(markdown));
    QVERIFY(markdown.contains("|---|---:|"));
}

QTEST_GUILESS_MAIN(TestBenchDriver)
#include "tst_benchdriver.moc"
