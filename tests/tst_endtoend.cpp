#include "programcopy.h"
#include "x11probe.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// The built program, started as a user starts it, on this test's own X server.
class TestEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void startsCentredAndClosesWithCodeZero_data();
    void startsCentredAndClosesWithCodeZero();

private:
    QString installedCopy();

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

void TestEndToEnd::startsCentredAndClosesWithCodeZero_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("no arguments") << QStringList();
    QTest::newRow("Qt's own options and others") << QStringList{
        "-platform", "offscreen", "-style", "windows", "-geometry", "100x100+0+0",
        "-reverse", "--help", "160"};
}

void TestEndToEnd::startsCentredAndClosesWithCodeZero()
{
    QFETCH(QStringList, arguments);
    m_program.start(installedCopy(), arguments);
    QVERIFY(m_program.waitForStarted());

    QList<X11Probe::Window> main;
    QTRY_VERIFY_WITH_TIMEOUT(
        (main = X11Probe::find("TPrincipale", QStringLiteral("Morphocalcule")),
         main.size() == 1 && main.first().mapped),
        20000);
    const QSize screen = X11Probe::screenSize();
    const QRect expected((screen.width() - 427) / 2, (screen.height() - 232) / 2, 427, 232);
    QTRY_COMPARE(X11Probe::find("TPrincipale", QStringLiteral("Morphocalcule")).first().geometry,
                 expected);
    const QImage icon(QStringLiteral(MORPHO_ICON_FILE));
    QCOMPARE(icon.size(), QSize(32, 32));
    QCOMPARE(X11Probe::icon(main.first().id), icon.convertToFormat(QImage::Format_ARGB32));

    const QList<X11Probe::Window> application =
        X11Probe::find("TApplication", QStringLiteral("Morphocalcule"));
    QCOMPARE(application.size(), 1);
    QVERIFY(!application.first().mapped);

    X11Probe::sendDeleteRequest(main.first().id);
    QVERIFY(m_program.waitForFinished(20000));
    QCOMPARE(m_program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(m_program.exitCode(), 0);
    QTRY_VERIFY(X11Probe::find("TApplication", QStringLiteral("Morphocalcule")).isEmpty());
}

QTEST_MAIN(TestEndToEnd)
#include "tst_endtoend.moc"
