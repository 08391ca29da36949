#include "heighttext.h"

#include <QTest>
#include <cmath>
#include <optional>

Q_DECLARE_METATYPE(std::optional<double>)

class TestHeightText : public QObject
{
    Q_OBJECT

private slots:
    void parse_data();
    void parse();
    void parseIsExactWithinNineteenDigits();
    void parseHandlesAMegabyteInLinearTime();
    void format_data();
    void format();
};

void TestHeightText::parse_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<std::optional<double>>("expected");

    const QChar comma(u',');
    const QChar point(u'.');
    const std::optional<double> refused;
    QTest::newRow("design value") << "160,00" << comma << std::optional(160.0);
    QTest::newRow("point locale") << "160.00" << point << std::optional(160.0);
    QTest::newRow("point under a comma locale") << "160.00" << comma << refused;
    QTest::newRow("blanks around") << "   175,5  " << comma << std::optional(175.5);
    QTest::newRow("tab is not a blank") << "\t175" << comma << refused;
    QTest::newRow("plus sign") << "+120" << comma << std::optional(120.0);
    QTest::newRow("minus sign") << "-5" << comma << std::optional(-5.0);
    QTest::newRow("trailing separator") << "1," << comma << std::optional(1.0);
    QTest::newRow("leading separator") << ",5" << comma << std::optional(0.5);
    QTest::newRow("lone separator reads 0") << "," << comma << std::optional(0.0);
    QTest::newRow("empty") << "" << comma << refused;
    QTest::newRow("lone sign") << "-" << comma << refused;
    QTest::newRow("two separators") << "1,2,3" << comma << refused;
    QTest::newRow("two signs") << "+-1" << comma << refused;
    QTest::newRow("blank inside") << "16 0" << comma << refused;
    QTest::newRow("letter") << "160a" << comma << refused;
    QTest::newRow("exponent") << "1,6E2" << comma << std::optional(160.0);
    QTest::newRow("negative exponent") << "16000e-2" << comma << std::optional(160.0);
    QTest::newRow("exponent with sign") << "1,6e+2" << comma << std::optional(160.0);
    QTest::newRow("exponent without digits") << "16E" << comma << refused;
    QTest::newRow("exponent after blank") << "16 E2" << comma << refused;
    QTest::newRow("exponent stops at 500, a digit left over")
        << "1E5000" << comma << refused;
    QTest::newRow("exponent 500 overflows a double") << "1E500" << comma << refused;
    QTest::newRow("small exponent underflows to 0") << "1E-499" << comma << std::optional(0.0);
    QTest::newRow("too large for a double") << "1E309" << comma << refused;
    QTest::newRow("zero with an exponent beyond any power of ten")
        << "0E4999" << comma << std::optional(0.0);
    QTest::newRow("negative zero with decimals and a large exponent")
        << "-0,000e999" << comma << std::optional(-0.0);
    QTest::newRow("largest decimal") << "1,7E308" << comma << std::optional(1.7e308);
    QTest::newRow("arabic-indic digit") << QString::fromUtf8("١٦٠") << comma << refused;
}

void TestHeightText::parse()
{
    QFETCH(QString, text);
    QFETCH(QChar, separator);
    QFETCH(std::optional<double>, expected);
    const std::optional<double> result = HeightText::parse(text, separator);
    QCOMPARE(result.has_value(), expected.has_value());
    if (expected)
        QCOMPARE(*result, *expected);
}

void TestHeightText::parseIsExactWithinNineteenDigits()
{
    // 100,1 is 1001 / 10 rounded to 64 bits then to 53: the nearest double to 100.1.
    QCOMPARE(*HeightText::parse(u"100,1", u','), 100.1);
    QCOMPARE(*HeightText::parse(u"170,3", u','), 170.3);
    QCOMPARE(*HeightText::parse(u"1234567890123456789", u','), 1234567890123456789.0);
    QCOMPARE(*HeightText::parse(u"0,000000000000000000000000001", u','), 1e-27);
}

void TestHeightText::parseHandlesAMegabyteInLinearTime()
{
    const QString digits(1 << 20, u'9');
    QVERIFY(!HeightText::parse(digits, u',').has_value()); // too large for a double
    const QString fraction = QStringLiteral("0,") + QString(1 << 20, u'0') + u'1';
    QCOMPARE(*HeightText::parse(fraction, u','), 0.0);
    QVERIFY(!HeightText::parse(QString(1 << 20, u','), u',').has_value());
}

void TestHeightText::format_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    QTest::newRow("bound") << 100.0 << QChar(u',') << "100,00";
    QTest::newRow("half") << 160.5 << QChar(u',') << "160,50";
    QTest::newRow("point") << 250.0 << QChar(u'.') << "250,00";
    QTest::newRow("rounded up") << 160.8330000001 << QChar(u',') << "160,83";
    QTest::newRow("exact binary tie half up") << 100.125 << QChar(u',') << "100,13";
    QTest::newRow("negative") << -5.0 << QChar(u',') << "-5,00";
}

void TestHeightText::format()
{
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);
    expected.replace(u',', separator);
    QCOMPARE(HeightText::format(value, separator), expected);
}

QTEST_GUILESS_MAIN(TestHeightText)
#include "tst_heighttext.moc"
