#include "maprecorder.h"
#include "programcopy.h"
#include "x11probe.h"
#include "x11window.h"
#include "xdotool.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString Title = QStringLiteral("Morphocalcule");
constexpr int Patience = 20000; // ms, for a program to start or end

using HelperArguments = QList<QStringList>;

const QStringList RunningInstanceMark{"--class", "TApplication", "--caption", Title};

void addWindowManagerRows()
{
    QTest::addColumn<bool>("windowManager");
    QTest::newRow("no window manager") << false;
    QTest::newRow("openbox") << true;
}

} // namespace

// Starts of the built program with another instance, or foreign windows, already on the
// test's own X server; with no window manager and under openbox.
class TestSingleInstance : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void secondStartBringsTheRunningOneForward_data();
    void secondStartBringsTheRunningOneForward();
    void secondStartRestoresAMinimisedInstance();
    void modalBoxOfTheRunningInstanceComesForward_data();
    void modalBoxOfTheRunningInstanceComesForward();
    void foreignWindows_data();
    void foreignWindows();

private:
    struct Helper
    {
        QProcess *process = nullptr;
        quint32 window = 0;
        bool receivedMessage() const { return process->peek(4096).contains("client-message"); }
    };

    QString installedCopy();
    QProcess *startProcess(const QString &program, const QStringList &arguments);
    static bool runTool(const QStringList &arguments);
    bool startWindowManager();
    bool startWindowManagerIfAsked();
    Helper startHelper(const QStringList &arguments);
    quint32 startFirstInstance();
    bool startEndsWithCodeZero();
    static quint32 mappedMainWindow();
    bool workInAnotherWindow();
    bool isActive(quint32 window) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QList<QProcess *> m_processes;
    bool m_windowManager = false;
};

void TestSingleInstance::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_windowManager = false;
}

// The window manager, started first, goes last.
void TestSingleInstance::cleanup()
{
    while (!m_processes.isEmpty()) {
        QProcess *process = m_processes.takeLast();
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            process->waitForFinished();
        }
        delete process;
    }
    m_dir.reset();
}

// A copy of its own, so that its settings file is the test's.
QString TestSingleInstance::installedCopy()
{
    return ProgramCopy::in(*m_dir, QStringLiteral(MORPHO_EXECUTABLE));
}

QProcess *TestSingleInstance::startProcess(const QString &program, const QStringList &arguments)
{
    auto *process = new QProcess;
    m_processes.append(process);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(program, arguments);
    process->waitForStarted();
    return process;
}

// Real input and window requests, as a user's, through xdotool.
bool TestSingleInstance::runTool(const QStringList &arguments)
{
    return XDoTool::run(arguments, Patience);
}

// Openbox announces itself on the root before it handles map requests; its start-up
// command runs once it does.
bool TestSingleInstance::startWindowManager()
{
    QProcess *openbox = startProcess(QStringLiteral("openbox"),
                                     {"--sm-disable", "--startup", "echo openbox-ready"});
    m_windowManager = true;
    return QTest::qWaitFor([openbox] { return openbox->peek(4096).contains("openbox-ready"); },
                           Patience) &&
           X11Window::windowManagerActivates();
}

// As the test row's windowManager column asks.
bool TestSingleInstance::startWindowManagerIfAsked()
{
    QFETCH(bool, windowManager);
    return !windowManager || startWindowManager();
}

// A foreign window; its id is 0 when it could not be made.
TestSingleInstance::Helper TestSingleInstance::startHelper(const QStringList &arguments)
{
    Helper helper;
    helper.process = startProcess(QStringLiteral(X11_TEST_WINDOW), arguments);
    while (!helper.process->canReadLine() && helper.process->waitForReadyRead(Patience)) {
    }
    const QList<QByteArray> line = helper.process->readLine().trimmed().split(' ');
    if (line.size() == 2 && line.first() == "window")
        helper.window = line.last().toUInt();
    return helper;
}

// The one mapped main window on the server, or 0.
quint32 TestSingleInstance::mappedMainWindow()
{
    QList<X11Probe::Window> main = X11Probe::find("TPrincipale", Title);
    main.removeIf([](const X11Probe::Window &window) { return !window.mapped; });
    return main.size() == 1 ? main.first().id : 0;
}

// Returns the main window once it is mapped, 0 when it does not come.
quint32 TestSingleInstance::startFirstInstance()
{
    startProcess(installedCopy(), {});
    quint32 main = 0;
    return QTest::qWaitFor([&] { return (main = mappedMainWindow()) != 0; }, Patience) ? main : 0;
}

// Starts the program and waits for its end: a normal one with exit code 0.
bool TestSingleInstance::startEndsWithCodeZero()
{
    QProcess *program = startProcess(installedCopy(), {});
    return program->waitForFinished(Patience) && program->exitStatus() == QProcess::NormalExit &&
           program->exitCode() == 0;
}

// The user is busy in another program's window, which has the focus.
bool TestSingleInstance::workInAnotherWindow()
{
    const Helper other = startHelper({"--class", "Other", "--caption", "Autre", "--focus"});
    return other.window && QTest::qWaitFor([&] { return isActive(other.window); });
}

bool TestSingleInstance::isActive(quint32 window) const
{
    return X11Probe::inputFocus() == window &&
           (!m_windowManager || X11Probe::activeWindow() == window);
}

void TestSingleInstance::secondStartBringsTheRunningOneForward_data()
{
    addWindowManagerRows();
}

void TestSingleInstance::secondStartBringsTheRunningOneForward()
{
    QVERIFY(startWindowManagerIfAsked());
    const quint32 main = startFirstInstance();
    QVERIFY(main);
    QVERIFY(workInAnotherWindow());

    // Known bytes and times, set after the first instance is up: it may write the file.
    const QString settingsPath = m_dir->filePath(QStringLiteral("morphocalcule.INI"));
    const QByteArray settings("[Morphocalcule]\r\nVersion=1.0\r\n[Informations]\r\nAfficher=0\r\n");
    const QDateTime longAgo(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);
    {
        QFile file(settingsPath);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(settings);
        QVERIFY(file.flush());
        QVERIFY(file.setFileTime(longAgo, QFileDevice::FileModificationTime));
        QVERIFY(file.setFileTime(longAgo, QFileDevice::FileAccessTime));
    }

    MapRecorder maps;
    QVERIFY(startEndsWithCodeZero());
    QCOMPARE(maps.mapped(), QList<quint32>());

    QTRY_VERIFY(isActive(main));

    // The times first: the test's own read below changes the access time.
    const QFileInfo info(settingsPath);
    QCOMPARE(info.lastModified(), longAgo);
    QCOMPARE(info.lastRead(), longAgo); // where the file system records reads
    QFile file(settingsPath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), settings);
}

void TestSingleInstance::secondStartRestoresAMinimisedInstance()
{
    QVERIFY(startWindowManager());
    const quint32 main = startFirstInstance();
    QVERIFY(main);
    QVERIFY(runTool({"windowminimize", "--sync", QString::number(main)}));
    QTRY_COMPARE(mappedMainWindow(), quint32(0));

    QVERIFY(startEndsWithCodeZero());

    QTRY_COMPARE(mappedMainWindow(), main);
    QTRY_VERIFY(isActive(main));
}

void TestSingleInstance::modalBoxOfTheRunningInstanceComesForward_data()
{
    addWindowManagerRows();
}

// A height too large for the weight makes the running instance report the overflow in
// a modal box; that box, not the main window, is what a second start must bring forward.
void TestSingleInstance::modalBoxOfTheRunningInstanceComesForward()
{
    QVERIFY(startWindowManagerIfAsked());
    const quint32 main = startFirstInstance();
    QVERIFY(main);
    const QString id = QString::number(main);
    const QString hugeHeight = QStringLiteral("1") + QString(39, u'0');
    QVERIFY(runTool({"windowfocus", "--sync", id, "mousemove", "--window", id, "60", "120", "click",
                     "1", "key", "ctrl+a", "type", hugeHeight}));
    MapRecorder maps;
    QVERIFY(runTool({"mousemove", "--window", id, "300", "30", "click", "3"}));
    QTRY_VERIFY(!maps.mapped().isEmpty()); // the popup menu
    QVERIFY(runTool({"key", "c"}));

    // Qt gives the windows it makes the program's name as class.
    QList<X11Probe::Window> box;
    QTRY_VERIFY(
        (box = X11Probe::find("morphocalcule", Title), box.size() == 1 && box.first().mapped));
    QVERIFY(workInAnotherWindow());

    QVERIFY(startEndsWithCodeZero());
    QTRY_VERIFY(isActive(box.first().id));
}

void TestSingleInstance::foreignWindows_data()
{
    QTest::addColumn<HelperArguments>("windows");
    QTest::addColumn<bool>("windowManager");
    QTest::addColumn<bool>("stops");
    QTest::addColumn<int>("broughtForward"); // which window receives the request

    const QStringList mapped = RunningInstanceMark + QStringList{"--mapped"};
    QTest::newRow("the mark on an unmapped window")
        << HelperArguments{RunningInstanceMark} << false << true << 0;
    QTest::newRow("the mark on a mapped window") << HelperArguments{mapped} << false << true << 0;
    QTest::newRow("the mark on a window framed by a window manager")
        << HelperArguments{mapped} << true << true << 0;

    QTest::newRow("the title on another class")
        << HelperArguments{{"--class", "TPrincipale", "--caption", Title}} << false << false << -1;
    QTest::newRow("the title in another case")
        << HelperArguments{{"--class", "TApplication", "--caption", "morphocalcule"}} << false
        << false << -1;
    QTest::newRow("the class in another case")
        << HelperArguments{{"--class", "tapplication", "--caption", Title}} << false << false << -1;

    const HelperArguments unusable{{"--caption", Title},
                                   {"--class", "", "--caption", Title},
                                   {"--unreadable-class", "--caption", Title},
                                   {"--class", "TApplication"},
                                   {"--class", "TApplication", "--caption", ""},
                                   {"--class", "TApplication", "--unreadable-caption"}};
    QTest::newRow("missing, empty or unreadable class or caption")
        << unusable << false << false << -1;
    QTest::newRow("the mark among windows with unusable marks")
        << unusable.mid(0, 3) + HelperArguments{RunningInstanceMark} + unusable.mid(3) << false
        << true << 3;

    // Unmapped windows are enumerated from the bottom of the stacking order up.
    QTest::newRow("two marks, the later one on top")
        << HelperArguments{RunningInstanceMark, RunningInstanceMark} << false << true << 1;
    QTest::newRow("two marks, the later one at the bottom")
        << HelperArguments{RunningInstanceMark, RunningInstanceMark + QStringList{"--lower"}}
        << false << true << 0;
}

void TestSingleInstance::foreignWindows()
{
    QFETCH(HelperArguments, windows);
    QFETCH(bool, stops);
    QFETCH(int, broughtForward);
    QVERIFY(startWindowManagerIfAsked());
    QList<Helper> helpers;
    for (const QStringList &arguments : windows) {
        helpers.append(startHelper(arguments));
        QVERIFY(helpers.last().window);
    }

    MapRecorder maps;
    if (stops) {
        QVERIFY(startEndsWithCodeZero());
        QCOMPARE(maps.mapped(), QList<quint32>());
        QTRY_VERIFY(helpers[broughtForward].receivedMessage());
    } else {
        QProcess *program = startProcess(installedCopy(), {});
        QTRY_VERIFY_WITH_TIMEOUT(mappedMainWindow(), Patience);
        program->terminate(); // SIGTERM ends it at once, without the quit question
        QVERIFY(program->waitForFinished(Patience));
        QCOMPARE(program->exitCode(), 0);
    }
    for (int i = 0; i < helpers.size(); ++i) {
        if (i != broughtForward)
            QVERIFY2(!helpers[i].receivedMessage(), qPrintable(QString::number(i)));
    }
}

QTEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
