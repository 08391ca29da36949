#include "error.h"
#include "filebytes.h"
#include "settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The program's settings file is the one beside this test's executable.
void removeProgramFile()
{
    const QString path = Settings::path();
    QFile::remove(path);
    QDir(path).removeRecursively();
}

QString raisedMessage(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Error &error) {
        return error.message();
    }
    return QStringLiteral("<nothing raised>");
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pathRule_data();
    void pathRule();
    void programFileIsBesideTheExecutable();
    void integerRule_data();
    void integerRule();
    void yesNoRule_data();
    void yesNoRule();

    void firstLoadCreatesTheFileWithTheVersionOnly();
    void loadReadsSwitchAndPosition();
    void saveWritesThreeSections();
    void saveRewritesPositionAndKeepsEverythingElse();
    void failedWriteRaisesWithTheFullPath();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    removeProgramFile();
}

void TestSettings::cleanup()
{
    removeProgramFile();
    m_dir.reset();
}

void TestSettings::pathRule_data()
{
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QString>("settings");
    QTest::newRow("extension") << "C:\\APPS\\CALC.EXE"
                               << "C:\\APPS\\CALC.INI";
    QTest::newRow("no extension") << "C:\\APPS\\CALC"
                                  << "C:\\APPS\\CALC.INI";
    QTest::newRow("dot in a folder name") << "C:\\MY.APPS\\CALC"
                                          << "C:\\MY.APPS\\CALC.INI";
    QTest::newRow("two dots") << "C:\\APPS\\CALC.V2.EXE"
                              << "C:\\APPS\\CALC.V2.INI";
    QTest::newRow("final dot") << "C:\\APPS\\CALC."
                               << "C:\\APPS\\CALC.INI";
    QTest::newRow("drive only") << "C:CALC"
                                << "C:CALC.INI";
    QTest::newRow("bare name") << "CALC"
                               << "CALC.INI";
    QTest::newRow("POSIX, dot in a folder name") << "/opt/my.apps/calc"
                                                 << "/opt/my.apps/calc.INI";
    QTest::newRow("POSIX, no extension") << "/usr/bin/morphocalcule"
                                         << "/usr/bin/morphocalcule.INI";
    QTest::newRow("POSIX, extension") << "/opt/calc.bin"
                                      << "/opt/calc.INI";
    QTest::newRow("POSIX, relative") << "./a.b/c"
                                     << "./a.b/c.INI";
    QTest::newRow("POSIX, final dot") << "/opt/calc."
                                      << "/opt/calc.INI";
    QTest::newRow("POSIX, hidden name") << "/home/u/.calc"
                                        << "/home/u/.INI";
    QTest::newRow("POSIX, accented folder") << "/opt/été.v2/calcul"
                                            << "/opt/été.v2/calcul.INI";
}

void TestSettings::pathRule()
{
    QFETCH(QString, executable);
    QFETCH(QString, settings);
    QCOMPARE(Settings::pathFor(executable), settings);
}

void TestSettings::programFileIsBesideTheExecutable()
{
    QCOMPARE(Settings::path(), QCoreApplication::applicationDirPath() + "/tst_settings.INI");
}

void TestSettings::integerRule_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<int>("value");

    const auto readable = [](const char *text, int value) {
        QTest::addRow("\"%s\"", text) << QByteArray(text) << true << value;
    };
    const auto unreadable = [](const char *text) {
        QTest::addRow("\"%s\" unreadable", text) << QByteArray(text) << false << 0;
    };
    readable("0", 0);
    readable("1", 1);
    readable("5", 5);
    readable("7", 7);
    readable("-1", -1);
    readable("+5", 5);
    readable("00012", 12);
    readable("2147483647", 2147483647);
    readable("-2147483648", -2147483647 - 1);
    readable("000000000002147483647", 2147483647);
    readable("  42", 42);
    readable("$A", 10);
    readable("$a", 10);
    readable("$0", 0);
    readable("$abcDEF", 0xABCDEF);
    readable("$7FFFFFFF", 2147483647);
    readable("$80000000", -2147483647 - 1);
    readable("$FFFFFFFF", -1);
    readable("$000000001", 1);
    readable(" $10", 16);
    readable("0x10", 16);
    readable("0X1f", 31);
    readable("0x0", 0);
    readable("0xFFFFFFFF", -1);
    unreadable("");
    unreadable(" ");
    unreadable("abc");
    unreadable("12px");
    unreadable("42 ");
    unreadable("4 2");
    unreadable("1.5");
    unreadable("1e3");
    unreadable("\t5");
    unreadable("+");
    unreadable("-");
    unreadable("+-1");
    unreadable("2147483648");
    unreadable("+2147483648");
    unreadable("-2147483649");
    unreadable("99999999999999999999");
    unreadable("$");
    unreadable("$100000000");
    unreadable("$G");
    unreadable("$1 ");
    unreadable("-$10");
    unreadable("+$10");
    unreadable("$-1");
    unreadable("0x");
    unreadable("0X");
    unreadable("-0x10");
    unreadable(" 0x10");
    unreadable("0x-1");
    unreadable("0x 1");
    unreadable("0x100000000");
    unreadable("0x$1");
    unreadable("0b1");
}

void TestSettings::integerRule()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, readable);
    QFETCH(int, value);
    const std::optional<qint32> parsed = Settings::parseInteger(text);
    QCOMPARE(parsed.has_value(), readable);
    if (readable)
        QCOMPARE(*parsed, value);

    // Through the file (quoted, so that blanks stay), an unreadable text gives the
    // caller's default.
    const QString path = m_dir->filePath("rule.ini");
    QVERIFY(FileBytes::write(path, "[Position]\nx=\"" + text + "\"\n"));
    QCOMPARE(Settings(path).readInteger("Position", "x", -77), readable ? value : -77);
}

void TestSettings::yesNoRule_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("defaultValue");
    QTest::addColumn<bool>("expected");
    const auto row = [](const char *name, const char *status, bool defaultValue, bool expected) {
        QTest::newRow(name) << QByteArray("[Informations]\nstatus=") + status + "\n"
                            << defaultValue << expected;
    };
    row("0 is no", "0", true, false);
    row("1 is yes", "1", false, true);
    row("5 is yes", "5", false, true);
    row("7 is yes", "7", false, true);
    row("-1 is yes", "-1", false, true);
    row("$A is yes", "$A", false, true);
    row("0x10 is yes", "0x10", false, true);
    row("0X1f is yes", "0X1f", false, true);
    row("0x0 is no", "0x0", true, false);
    row("$0 is no", "$0", true, false);
    row("quoted 0 is no", "\"0\"", true, false);
    row("unreadable gives the default yes", "abc", true, true);
    row("unreadable gives the default no", "abc", false, false);
    row("empty gives the default", "", true, true);
    QTest::newRow("other case") << QByteArray("[INFORMATIONS]\nSTATUS=0\n") << true << false;
    QTest::newRow("missing key gives the default")
        << QByteArray("[Informations]\n") << true << true;
    QTest::newRow("missing section gives the default") << QByteArray("") << false << false;
}

void TestSettings::yesNoRule()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, defaultValue);
    QFETCH(bool, expected);
    const QString path = m_dir->filePath("rule.ini");
    QVERIFY(FileBytes::write(path, file));
    QCOMPARE(Settings(path).readBool("Informations", "status", defaultValue), expected);
}

void TestSettings::firstLoadCreatesTheFileWithTheVersionOnly()
{
    const Settings::Stored stored = Settings::load();
    QCOMPARE(FileBytes::read(Settings::path()), QByteArray("[Morphocalcule]\nversion=1.1\n"));
    QVERIFY(stored.informations);
    QCOMPARE(stored.position, QPoint(0, 0));
}

void TestSettings::loadReadsSwitchAndPosition()
{
    const QByteArray before = "[INFORMATIONS]\nStatus='0'\n[position]\nY=-20\nX=$FFFFFFFF\n";
    QVERIFY(FileBytes::write(Settings::path(), before));
    const Settings::Stored stored = Settings::load();
    QVERIFY(!stored.informations);
    QCOMPARE(stored.position, QPoint(-1, -20));
    QCOMPARE(FileBytes::read(Settings::path()), before + "\n[Morphocalcule]\nversion=1.1\n");
}

void TestSettings::saveWritesThreeSections()
{
    Settings::load();
    Settings::save({false, QPoint(-5, 300)});
    QCOMPARE(FileBytes::read(Settings::path()), QByteArray("[Morphocalcule]\nversion=1.1\n"
                                                           "\n[Informations]\nstatus=0\n"
                                                           "\n[Position]\nx=-5\ny=300\n"));
    Settings::save({true, QPoint(2147483647, -2147483647 - 1)});
    QCOMPARE(FileBytes::read(Settings::path()),
             QByteArray("[Morphocalcule]\nversion=1.1\n"
                        "\n[Informations]\nstatus=1\n"
                        "\n[Position]\nx=2147483647\ny=-2147483648\n"));
}

void TestSettings::saveRewritesPositionAndKeepsEverythingElse()
{
    QVERIFY(FileBytes::write(Settings::path(), "; réglages\n"
                                               "[Morphocalcule]\nversion=1.0\nauteur=\xE9quipe\n"
                                               "\n[Position]\ny=7\nw=300\nx=5\n"
                                               "\n[Informations]\nstatus=0\nbulles=oui\n"
                                               "\n[Autre]\ncl\xE9=\"valeur\"\n"));
    Settings::save({true, QPoint(10, 20)});
    QCOMPARE(FileBytes::read(Settings::path()),
             QByteArray("; réglages\n"
                        "[Morphocalcule]\nversion=1.1\nauteur=\xE9quipe\n"
                        "\n[Informations]\nstatus=1\nbulles=oui\n"
                        "\n[Autre]\ncl\xE9=\"valeur\"\n"
                        "\n[Position]\nx=10\ny=20\n"));
}

void TestSettings::failedWriteRaisesWithTheFullPath()
{
    QVERIFY(QDir().mkpath(Settings::path()));
    const QString expected = QStringLiteral("Ne peut écrire dans %1").arg(Settings::path());
    QVERIFY(Settings::path().startsWith(u'/'));
    QCOMPARE(raisedMessage([] { Settings::load(); }), expected);
    QCOMPARE(raisedMessage([] { Settings::save({true, QPoint()}); }), expected);

    Settings settings(m_dir->filePath("folder.ini"));
    QVERIFY(QDir().mkdir(settings.fileName()));
    const QString message = QStringLiteral("Ne peut écrire dans %1").arg(settings.fileName());
    QCOMPARE(raisedMessage([&] { settings.writeInteger("A", "x", 1); }), message);
    QCOMPARE(raisedMessage([&] { settings.writeBool("A", "x", true); }), message);
    QCOMPARE(raisedMessage([&] { settings.eraseSection("A"); }), message);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
