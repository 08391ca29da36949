#include "filebytes.h"
#include "programcopy.h"
#include "x11probe.h"
#include "xdotool.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

const QByteArray VersionOnly("[Morphocalcule]\nversion=1.1\n");

// The shown window of that caption, framed by a window manager or not.
std::optional<quint32> shownWindow(const QString &caption)
{
    const QList<quint32> windows = XDoTool::shownWindows(caption);
    return windows.isEmpty() ? std::nullopt : std::optional(windows.first());
}

bool windowManagerRuns()
{
    QProcess property;
    property.start(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"});
    property.waitForFinished();
    return property.readAllStandardOutput().contains("window id");
}

} // namespace

// The built program, started as a user starts it, on this test's own X server.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsCentredAndClosesWithCodeZero_data();
    void startsCentredAndClosesWithCodeZero();
    void signalsEndAtOnceWithoutSaving_data();
    void signalsEndAtOnceWithoutSaving();
    void unwritableSettingsAreReportedBeforeTheWindow();
    void altF4AnswersAndClosesUnderAWindowManager();
    void iconKeepsItsPixelsOnADenserScreen();

private:
    QString installedCopy();
    QString settingsPath() const { return m_dir->filePath(QStringLiteral("morphocalcule.INI")); }
    QByteArray settingsFile() const;
    // The main window once the program shows it, centred.
    X11Probe::Window waitForMainWindow();
    quint32 waitForQuestion();

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_program;
};

void TestEndToEnd::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestEndToEnd::cleanup()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished();
    }
    m_dir.reset();
}

// A copy of its own, so that what it writes beside itself stays in the test's folder.
QString TestEndToEnd::installedCopy()
{
    return ProgramCopy::in(*m_dir, QStringLiteral(MORPHO_EXECUTABLE));
}

QByteArray TestEndToEnd::settingsFile() const
{
    return FileBytes::read(settingsPath());
}

X11Probe::Window TestEndToEnd::waitForMainWindow()
{
    return X11Probe::waitForMapped("TPrincipale", QStringLiteral("Morphocalcule"), 20000);
}

quint32 TestEndToEnd::waitForQuestion()
{
    std::optional<quint32> question;
    [&] {
        QTRY_VERIFY_WITH_TIMEOUT(
            (question = shownWindow(QStringLiteral("Confirmation"))).has_value(), 20000);
    }();
    return question.value_or(0);
}

void TestEndToEnd::startsCentredAndClosesWithCodeZero_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no arguments") << QStringList();
    QTest::newRow("Qt's own options and others")
        << QStringList{"-platform",   "offscreen", "-style", "windows", "-geometry",
                       "100x100+0+0", "-reverse",  "--help", "160"};
}

void TestEndToEnd::startsCentredAndClosesWithCodeZero()
{
    QFETCH(QStringList, arguments);
    m_program.start(installedCopy(), arguments);
    QVERIFY(m_program.waitForStarted());

    const X11Probe::Window main = waitForMainWindow();
    QVERIFY(main.id);
    // The settings file was written before the window showed: the version only.
    QCOMPARE(settingsFile(), VersionOnly);
    const QSize screen = X11Probe::screenSize();
    const QRect expected((screen.width() - 427) / 2, (screen.height() - 232) / 2, 427, 232);
    QTRY_COMPARE(X11Probe::find("TPrincipale", QStringLiteral("Morphocalcule")).first().geometry,
                 expected);
    const QImage icon(QStringLiteral(MORPHO_ICON_FILE));
    QCOMPARE(icon.size(), QSize(32, 32));
    QCOMPARE(X11Probe::icon(main.id), icon.convertToFormat(QImage::Format_ARGB32));

    const QList<X11Probe::Window> application =
        X11Probe::find("TApplication", QStringLiteral("Morphocalcule"));
    QCOMPARE(application.size(), 1);
    QVERIFY(!application.first().mapped);

    // The close box asks first; Esc answers "&Non" and nothing changes.
    X11Probe::sendDeleteRequest(main.id);
    quint32 question = waitForQuestion();
    QVERIFY(XDoTool::pressKeys(question, QStringLiteral("Escape")));
    QTRY_VERIFY(!shownWindow(QStringLiteral("Confirmation")));
    QCOMPARE(m_program.state(), QProcess::Running);
    QCOMPARE(settingsFile(), VersionOnly);

    // Asked again (so the program went on), Enter answers "&Oui": the settings are saved and the
    // program ends.
    X11Probe::sendDeleteRequest(main.id);
    question = waitForQuestion();
    QVERIFY(XDoTool::pressKeys(question, QStringLiteral("Return")));
    QVERIFY(m_program.waitForFinished(20000));
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program.exitCode(), 0);
    QTRY_VERIFY(X11Probe::find("TApplication", QStringLiteral("Morphocalcule")).isEmpty());
    QCOMPARE(settingsFile(), VersionOnly + "\n[Informations]\nstatus=1\n\n[Position]\nx=" +
                                 QByteArray::number(expected.x()) +
                                 "\ny=" + QByteArray::number(expected.y()) + "\n");
}

void TestEndToEnd::signalsEndAtOnceWithoutSaving_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<bool>("whileAsking");
    QTest::newRow("SIGTERM") << SIGTERM << false;
    QTest::newRow("SIGHUP") << SIGHUP << false;
    QTest::newRow("SIGTERM while the quit question is open") << SIGTERM << true;
}

void TestEndToEnd::signalsEndAtOnceWithoutSaving()
{
    QFETCH(int, signal);
    QFETCH(bool, whileAsking);
    const QByteArray before =
        VersionOnly + "\n[Informations]\nstatus=0\n\n[Position]\nx=3\ny=4\nw=5\n";
    QVERIFY(FileBytes::write(settingsPath(), before));
    m_program.start(installedCopy(), QStringList());
    QVERIFY(m_program.waitForStarted());
    const X11Probe::Window main = waitForMainWindow();
    QVERIFY(main.id);
    if (whileAsking) {
        X11Probe::sendDeleteRequest(main.id);
        QVERIFY(waitForQuestion());
    }

    QCOMPARE(::kill(pid_t(m_program.processId()), signal), 0);
    QVERIFY(m_program.waitForFinished(20000));
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program.exitCode(), 0);
    QCOMPARE(settingsFile(), before);
}

void TestEndToEnd::unwritableSettingsAreReportedBeforeTheWindow()
{
    // A folder holds the settings file's name, so the file cannot be written.
    QVERIFY(QDir().mkdir(settingsPath()));
    m_program.start(installedCopy(), QStringList());
    QVERIFY(m_program.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(shownWindow(QStringLiteral("Morphocalcule")).has_value(), 20000);
    QVERIFY(!X11Probe::find("TPrincipale", QStringLiteral("Morphocalcule")).value(0).mapped);

    // An end asked for under the report ends the program before its window shows.
    QCOMPARE(::kill(pid_t(m_program.processId()), SIGTERM), 0);
    QVERIFY(m_program.waitForFinished(20000));
    QCOMPARE(m_program.exitCode(), 0);
    QVERIFY(QFileInfo(settingsPath()).isDir());
}

void TestEndToEnd::altF4AnswersAndClosesUnderAWindowManager()
{
    QProcess windowManager;
    windowManager.start(QStringLiteral("openbox"), {"--sm-disable"});
    QVERIFY(windowManager.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(windowManagerRuns(), 20000);
    const auto stopWindowManager = qScopeGuard([&] {
        windowManager.terminate();
        windowManager.waitForFinished();
    });

    m_program.start(installedCopy(), QStringList());
    QVERIFY(m_program.waitForStarted());
    const X11Probe::Window main = waitForMainWindow();
    QVERIFY(main.id);
    QVERIFY(XDoTool::pressKeys(main.id, QStringLiteral("alt+F4")));
    // Alt+F4 in the question closes it, which counts as consent.
    QVERIFY(XDoTool::pressKeys(waitForQuestion(), QStringLiteral("alt+F4")));
    QVERIFY(m_program.waitForFinished(20000));
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program.exitCode(), 0);
    QVERIFY(
        settingsFile().startsWith(VersionOnly + "\n[Informations]\nstatus=1\n\n[Position]\nx="));
}

// What a task bar shows on a screen of twice the density: the icon at twice its size,
// each of its pixels a block of 2 x 2.
void TestEndToEnd::iconKeepsItsPixelsOnADenserScreen()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
    m_program.setProcessEnvironment(environment);
    m_program.start(installedCopy(), QStringList());
    QVERIFY(m_program.waitForStarted());
    const X11Probe::Window main = waitForMainWindow();
    QVERIFY(main.id);
    QCOMPARE(main.geometry.size(), QSize(854, 464));

    const QImage art =
        QImage(QStringLiteral(MORPHO_ICON_FILE)).convertToFormat(QImage::Format_ARGB32);
    const QImage icon = X11Probe::icon(main.id);
    QCOMPARE(icon.size(), art.size() * 2);
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x)
            QCOMPARE(icon.pixel(x, y), art.pixel(x / 2, y / 2));
    }
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
