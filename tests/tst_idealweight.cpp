#include "error.h"
#include "idealweight.h"
#include "sixbytereal.h"

#include <QTest>
#include <cmath>

class TestIdealWeight : public QObject
{
    Q_OBJECT

private slots:
    void resultText_data();
    void resultText();
    void sixByteRounding_data();
    void sixByteRounding();
    void overflowLimit();
    void hugeWeightsAreWrittenExactly();
};

void TestIdealWeight::resultText_data()
{
    QTest::addColumn<double>("height");
    QTest::addColumn<bool>("man");
    QTest::addColumn<QString>("expected");

    QTest::newRow("100 man") << 100.0 << true << "12.50 Kg";
    QTest::newRow("100 woman") << 100.0 << false << "25.00 Kg";
    QTest::newRow("100.5 man, exact tie rounds up") << 100.5 << true << "12.88 Kg";
    QTest::newRow("150 lines cross") << 150.0 << false << "50.00 Kg";
    QTest::newRow("159.5 man, 57.125 up") << 159.5 << true << "57.13 Kg";
    QTest::newRow("160 man") << 160.0 << true << "57.50 Kg";
    QTest::newRow("249.5 man") << 249.5 << true << "124.63 Kg";
    QTest::newRow("300 woman, beyond the field") << 300.0 << false << "125.00 Kg";
    QTest::newRow("100.1 man, 40-bit value below the tie") << 100.1 << true << "12.57 Kg";
    QTest::newRow("100.3 man, 40-bit value above the tie") << 100.3 << true << "12.73 Kg";
    QTest::newRow("170.3 man") << 170.3 << true << "65.22 Kg";
    QTest::newRow("100.05 woman") << 100.05 << false << "25.02 Kg";
    QTest::newRow("100.07 woman") << 100.07 << false << "25.04 Kg";
}

void TestIdealWeight::resultText()
{
    QFETCH(double, height);
    QFETCH(bool, man);
    QFETCH(QString, expected);
    QCOMPARE(IdealWeight::resultText(height, man ? Sex::Man : Sex::Woman), expected);
}

void TestIdealWeight::sixByteRounding_data()
{
    QTest::addColumn<long double>("input");
    QTest::addColumn<long double>("expected");

    const long double one = 1.0L;
    const long double ulp40 = std::ldexp(one, -39); // one unit in the 40th bit at 1.0
    QTest::newRow("exact value kept") << 57.5L << 57.5L;
    QTest::newRow("below half an ulp down") << one + ulp40 * 0.49L << one;
    QTest::newRow("tie away from zero") << one + ulp40 / 2 << one + ulp40;
    QTest::newRow("negative tie away from zero") << -(one + ulp40 / 2) << -(one + ulp40);
    QTest::newRow("above half an ulp up") << one + ulp40 * 0.51L << one + ulp40;
    QTest::newRow("carry into the next binade")
        << std::ldexp(one, 1) - ulp40 / 4 << std::ldexp(one, 1);
    QTest::newRow("below 2^-128 becomes 0") << std::ldexp(one, -129) << 0.0L;
}

void TestIdealWeight::sixByteRounding()
{
    QFETCH(long double, input);
    QFETCH(long double, expected);
    QCOMPARE(double(SixByteReal::fromLongDouble(input).value()), double(expected));
    QVERIFY(SixByteReal::fromLongDouble(input).value() == expected);
}

void TestIdealWeight::overflowLimit()
{
    const long double limit = std::ldexp(1.0L, 127);
    const long double largestHeld = limit - std::ldexp(1.0L, 127 - 40);
    QCOMPARE(double(SixByteReal::fromLongDouble(largestHeld).value()), double(largestHeld));
    // Rounds up to 2^127, which cannot be held.
    QVERIFY_THROWS_EXCEPTION(FloatOverflowError,
                             SixByteReal::fromLongDouble(limit - std::ldexp(1.0L, 127 - 42)));
    QVERIFY_THROWS_EXCEPTION(FloatOverflowError, IdealWeight::resultText(1e39, Sex::Man));
    try {
        IdealWeight::resultText(1e300, Sex::Woman);
        QFAIL("no overflow");
    } catch (const Error &error) {
        QCOMPARE(error.message(), QStringLiteral("Débordement flottant"));
    }
}

void TestIdealWeight::hugeWeightsAreWrittenExactly()
{
    // 2^60 + 2^30 survives the 40-bit rounding and has no fraction.
    const long double weight = std::ldexp(1.0L, 60) + std::ldexp(1.0L, 30);
    QCOMPARE(SixByteReal::fromLongDouble(weight).toText(), QStringLiteral("1152921505680588800.00"));
    QCOMPARE(IdealWeight::resultText(4e37, Sex::Woman).right(6), QStringLiteral(".00 Kg"));
}

QTEST_GUILESS_MAIN(TestIdealWeight)
#include "tst_idealweight.moc"
