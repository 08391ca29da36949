#include "clockformat.h"

#include <QTest>
#include <clocale>

Q_DECLARE_METATYPE(ClockFormat::Items)

namespace {

ClockFormat::Items items(const char *timeFormat, const char *am = "AM", const char *pm = "PM",
                         const char *twelveHourFormat = "%I:%M:%S %p")
{
    const auto readable = [](const char *item) -> std::optional<QString> {
        return item ? std::optional<QString>(QString::fromUtf8(item)) : std::nullopt;
    };
    return {readable(timeFormat), readable(twelveHourFormat), readable(am), readable(pm)};
}

} // namespace

class TestClockFormat : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void rules_data();
    void rules();
    void generatedLocales_data();
    void generatedLocales();
};

void TestClockFormat::cleanup()
{
    std::setlocale(LC_ALL, "C.UTF-8");
}

void TestClockFormat::rules_data()
{
    QTest::addColumn<ClockFormat::Items>("items");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("shown");

    const QTime evening(21, 5, 7);
    const QTime morning(9, 5, 7);
    const QTime midnight(0, 0, 0);
    const QTime noon(12, 0, 0);

    QTest::newRow("24 hours, leading zero") << items("%H:%M:%S") << evening << "21:05:07";
    QTest::newRow("24 hours, leading zero, morning") << items("%H:%M:%S") << morning << "09:05:07";
    QTest::newRow("24 hours, no leading zero") << items("%k:%M:%S") << morning << "9:05:07";
    QTest::newRow("24 hours at midnight") << items("%H:%M:%S") << midnight << "00:00:00";
    QTest::newRow("%T") << items("%T") << morning << "09:05:07";
    QTest::newRow("%R still shows the seconds") << items("%R") << morning << "09:05:07";
    QTest::newRow("milliseconds dropped") << items("%T") << QTime(21, 5, 7, 999) << "21:05:07";
    QTest::newRow("one-character separator") << items("%H.%M.%S") << morning << "09.05.07";
    QTest::newRow("letter separator") << items("%Hh%M") << morning << "09h05h07";
    QTest::newRow("longer separator gives a colon") << items("%H h %M") << morning << "09:05:07";
    QTest::newRow("no separator gives a colon") << items("%H%M%S") << morning << "09:05:07";
    QTest::newRow("glibc no-padding flag") << items("%-H:%M:%S") << morning << "9:05:07";
    QTest::newRow("glibc zero flag") << items("%0k:%M:%S") << morning << "09:05:07";
    QTest::newRow("alternative digits modifier") << items("%OH:%OM:%OS") << morning << "09:05:07";

    QTest::newRow("12 hours, evening") << items("%I:%M:%S %p") << evening << "09:05:07 PM";
    QTest::newRow("12 hours, no leading zero") << items("%l:%M:%S %p") << evening << "9:05:07 PM";
    QTest::newRow("12 hours, half past midnight")
        << items("%l:%M:%S %p") << QTime(0, 30, 15) << "12:30:15 AM";
    QTest::newRow("12 hours, midnight") << items("%I:%M:%S %p") << midnight << "12:00:00 AM";
    QTest::newRow("12 hours, noon") << items("%I:%M:%S %p") << noon << "12:00:00 PM";
    QTest::newRow("12 hours, last second of the morning")
        << items("%I:%M:%S %p") << QTime(11, 59, 59) << "11:59:59 AM";
    QTest::newRow("12 hours, 1 pm") << items("%I:%M:%S %p") << QTime(13, 0, 0) << "01:00:00 PM";
    QTest::newRow("designator is not where the format puts it")
        << items("%p %I:%M:%S") << evening << "09:05:07 PM";
    QTest::newRow("%r from the locale's 12-hour format")
        << items("%r", "AM", "PM", "%l.%M.%S %p") << evening << "9.05.07 PM";
    QTest::newRow("%r with 24-hour conversions is still 12 hours")
        << items("%r", "AM", "PM", "%H:%M:%S") << evening << "09:05:07 PM";
    QTest::newRow("%r without a 12-hour format of the locale")
        << items("%r", "AM", "PM", "") << evening << "09:05:07 PM";
    QTest::newRow("empty designator keeps the space")
        << items("%I:%M:%S %p", "", "") << midnight << "12:00:00 ";
    QTest::newRow("unreadable designators")
        << items("%I:%M:%S %p", nullptr, nullptr) << noon << "12:00:00 pm";
    QTest::newRow("unreadable format: no zero, colon, 12 hours")
        << items(nullptr) << morning << "9:05:07 AM";
    QTest::newRow("format without hours counts as unreadable")
        << items("%M:%S") << evening << "9:05:07 PM";
    QTest::newRow("nothing readable")
        << items(nullptr, nullptr, nullptr, nullptr) << evening << "9:05:07 pm";
}

void TestClockFormat::rules()
{
    QFETCH(ClockFormat::Items, items);
    QFETCH(QTime, time);
    QFETCH(QString, shown);
    QCOMPARE(ClockFormat(items).format(time), shown);
}

void TestClockFormat::generatedLocales_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("shown");

    QTest::newRow("fr_FR evening") << QByteArray("fr_FR.UTF-8") << QTime(21, 5, 7) << "21:05:07";
    QTest::newRow("fr_FR morning") << QByteArray("fr_FR.UTF-8") << QTime(9, 5, 7) << "09:05:07";
    QTest::newRow("en_US evening") << QByteArray("en_US.UTF-8") << QTime(21, 5, 7) << "09:05:07 PM";
    QTest::newRow("en_US midnight")
        << QByteArray("en_US.UTF-8") << QTime(0, 30, 15) << "12:30:15 AM";
    QTest::newRow("en_US noon") << QByteArray("en_US.UTF-8") << QTime(12, 0, 0) << "12:00:00 PM";
    QTest::newRow("C") << QByteArray("C.UTF-8") << QTime(9, 5, 7) << "09:05:07";
}

void TestClockFormat::generatedLocales()
{
    QFETCH(QByteArray, locale);
    QFETCH(QTime, time);
    QFETCH(QString, shown);
    QVERIFY2(
        std::setlocale(LC_ALL, locale.constData()),
        qPrintable(
            QStringLiteral("locale %1 missing: run scripts/setup.sh").arg(QLatin1String(locale))));
    QCOMPARE(ClockFormat::fromSystemLocale().format(time), shown);
}

QTEST_GUILESS_MAIN(TestClockFormat)
#include "tst_clockformat.moc"
