#include "filebytes.h"
#include "inifile.h"
#include "memoryusage.h"
#include "programcopy.h"
#include "x11probe.h"
#include "xdotool.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int Patience = 60000;
const QByteArray VersionOnly("[Morphocalcule]\nversion=1.1\n");

// Text of a fixed seed, so that a failure shows again.
QByteArray randomBytes(int size, bool printable)
{
    static constexpr char Text[] = "abc =[]; \n\tXYZ0123456789";
    QRandomGenerator generator(1789);
    QByteArray bytes(size, '\0');
    for (char &byte : bytes) {
        byte = printable ? Text[generator.bounded(int(sizeof Text - 1))]
                         : char(generator.bounded(256));
    }
    return bytes;
}

bool setMode(const QString &path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

mode_t modeOf(const QString &path)
{
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode : 0;
}

} // namespace

// The built program started on a settings file that is damaged, enormous, unreadable or
// not a file at all: each start opens the window, with the defaults or after the error
// message, and a file that was good is never lost.
class TestDamagedSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void damagedFilesStartWithWhatTheyStillHold_data();
    void damagedFilesStartWithWhatTheyStillHold();
    void enormousFileStartsInBoundedMemory();
    void unusablePlacesAreReportedBeforeTheWindow_data();
    void unusablePlacesAreReportedBeforeTheWindow();
    void symbolicLinksAreWrittenThrough_data();
    void symbolicLinksAreWrittenThrough();
    void goodFileSurvivesAFailingSave();

private:
    QString settingsPath() const { return m_dir->filePath(QStringLiteral("morphocalcule.INI")); }
    QString stored(const QByteArray &section, const QByteArray &key) const;
    // Starts the program, as the user "nobody" when asked and this test runs as root,
    // since permissions do not stop root.
    bool start(bool unprivileged = false);
    // The main window, once the program shows it.
    X11Probe::Window waitForMainWindow();
    // The one shown window of that caption that is not the main window, or 0.
    quint32 waitForWindow(const QString &caption, quint32 besides = 0);
    // The error message before the main window: answered, and the window shows.
    bool answerReportBeforeTheWindow();
    // Asks the program to close and answers "&Oui".
    bool confirmClose(const X11Probe::Window &main);
    bool endWithoutSaving();

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_program;
};

void TestDamagedSettings::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestDamagedSettings::cleanup()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished();
    }
    m_dir.reset();
}

QString TestDamagedSettings::stored(const QByteArray &section, const QByteArray &key) const
{
    return QString::fromLatin1(IniFile(settingsPath()).readString(section, key, "<absent>"));
}

bool TestDamagedSettings::start(bool unprivileged)
{
    const QString program = ProgramCopy::in(*m_dir, QStringLiteral(MORPHO_EXECUTABLE));
    m_program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (unprivileged && ::geteuid() == 0) {
        // Its folder is open to it, as an installed program's is; the file decides.
        if (!setMode(m_dir->path(), 0755) || !::getpwnam("nobody"))
            return false;
        m_program.start(QStringLiteral("setpriv"),
                        {"--reuid=nobody", "--regid=nogroup", "--clear-groups", program});
    } else {
        m_program.start(program, QStringList());
    }
    return m_program.waitForStarted();
}

X11Probe::Window TestDamagedSettings::waitForMainWindow()
{
    return X11Probe::waitForMapped("TPrincipale", QStringLiteral("Morphocalcule"), Patience);
}

quint32 TestDamagedSettings::waitForWindow(const QString &caption, quint32 besides)
{
    quint32 found = 0;
    const auto look = [&] {
        for (quint32 window : XDoTool::shownWindows(caption)) {
            if (window != besides)
                found = window;
        }
        return found != 0;
    };
    [&] { QTRY_VERIFY_WITH_TIMEOUT(look(), Patience); }();
    return found;
}

bool TestDamagedSettings::answerReportBeforeTheWindow()
{
    // The report carries the program's title; the main window is built but not shown yet.
    const quint32 report = waitForWindow(QStringLiteral("Morphocalcule"));
    if (!report || X11Probe::find("TPrincipale", QStringLiteral("Morphocalcule")).value(0).mapped)
        return false;
    return XDoTool::pressKeys(report, QStringLiteral("Return")) && waitForMainWindow().id != 0;
}

bool TestDamagedSettings::confirmClose(const X11Probe::Window &main)
{
    X11Probe::sendDeleteRequest(main.id);
    const quint32 question = waitForWindow(QStringLiteral("Confirmation"));
    return question && XDoTool::pressKeys(question, QStringLiteral("Return"));
}

bool TestDamagedSettings::endWithoutSaving()
{
    return ::kill(pid_t(m_program.processId()), SIGTERM) == 0 &&
           m_program.waitForFinished(Patience) && m_program.exitCode() == 0;
}

void TestDamagedSettings::damagedFilesStartWithWhatTheyStillHold_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("status"); // as saved at the close

    const QByteArray megabyte(1 << 20, 'x');
    // Unreadable switches give the default, on.
    QTest::newRow("random text") << randomBytes(4096, true) << "1";
    QTest::newRow("no sections") << QByteArray("status=0\nx=5\ny=6\n") << "1";
    QTest::newRow("section line without a bracket")
        << QByteArray("[Informations\nstatus=0\n") << "1";
    QTest::newRow("random bytes") << randomBytes(65536, false) << "1";
    // What can still be read is read.
    QTest::newRow("a line of a megabyte") << megabyte + "\n[Informations]\nstatus=0\n"
                                          << "0";
    QTest::newRow("NUL bytes and invalid UTF-8")
        << QByteArray("\0\0\xFF\xFE\n[\xC3(]\nk=\x80\n[Informations]\nstatus=0\n\0", 40) << "0";
}

void TestDamagedSettings::damagedFilesStartWithWhatTheyStillHold()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, status);
    QVERIFY(FileBytes::write(settingsPath(), contents));
    QVERIFY(start());
    const X11Probe::Window main = waitForMainWindow();
    QVERIFY(main.id);
    // The load stamped the version after the old bytes, which stay as they were.
    const QByteArray loaded = FileBytes::read(settingsPath());
    QVERIFY(loaded.startsWith(contents));
    QVERIFY(loaded.endsWith(VersionOnly));

    QVERIFY(confirmClose(main));
    QVERIFY(m_program.waitForFinished(Patience));
    QCOMPARE(m_program.exitCode(), 0);
    QVERIFY(FileBytes::read(settingsPath()).startsWith(contents));
    QCOMPARE(stored("Morphocalcule", "version"), QStringLiteral("1.1"));
    QCOMPARE(stored("Informations", "status"), status);
    const QSize screen = X11Probe::screenSize();
    QCOMPARE(stored("Position", "x"), QString::number((screen.width() - 427) / 2));
    QCOMPARE(stored("Position", "y"), QString::number((screen.height() - 232) / 2));
}

void TestDamagedSettings::enormousFileStartsInBoundedMemory()
{
    // What a start costs with a small file, to compare with.
    QVERIFY(FileBytes::write(settingsPath(), VersionOnly));
    QVERIFY(start());
    QVERIFY(waitForMainWindow().id);
    const std::optional<qint64> usual = MemoryUsage::peakResident(m_program.processId());
    QVERIFY(endWithoutSaving());

    // 100 MB of zeros, made sparse at once, with a switch at the very end to be found.
    constexpr qint64 Size = qint64(100) << 20;
    const QByteArray end = "\n[Informations]\nstatus=0\n";
    {
        QFile file(settingsPath());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(file.resize(Size));
        QVERIFY(file.seek(Size));
        QCOMPARE(file.write(end), end.size());
    }
    QVERIFY(start());
    const X11Probe::Window main = waitForMainWindow();
    QVERIFY(main.id);
    const std::optional<qint64> enormous = MemoryUsage::peakResident(m_program.processId());
    QVERIFY(usual && enormous);
    QVERIFY2(
        *enormous - *usual < 32 << 20,
        qPrintable(QStringLiteral("the start took %1 MB more").arg((*enormous - *usual) >> 20)));

    QFile file(settingsPath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.size(), Size + end.size() + 1 + VersionOnly.size());
    QVERIFY(file.seek(Size));
    QCOMPARE(file.readAll(), end + "\n" + VersionOnly);
    QVERIFY(file.seek(Size / 2));
    QCOMPARE(file.read(4096), QByteArray(4096, '\0'));

    // The switch at the end was read: the close saves it as it was.
    QVERIFY(confirmClose(main));
    QVERIFY(m_program.waitForFinished(Patience));
    QCOMPARE(m_program.exitCode(), 0);
    QCOMPARE(stored("Informations", "status"), QStringLiteral("0"));
}

void TestDamagedSettings::unusablePlacesAreReportedBeforeTheWindow_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("a folder in its place") << "folder";
    QTest::newRow("unreadable (mode 000)") << "unreadable";
    QTest::newRow("a pipe in its place") << "pipe";
    QTest::newRow("a link into a missing folder") << "lost link";
    QTest::newRow("a link to itself") << "loop";
}

void TestDamagedSettings::unusablePlacesAreReportedBeforeTheWindow()
{
    QFETCH(QString, kind);
    const QString path = settingsPath();
    const QByteArray good = VersionOnly + "\n[Informations]\nstatus=0\n";
    if (kind == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (kind == "unreadable") {
        QVERIFY(FileBytes::write(path, good));
        QVERIFY(setMode(path, 0));
    } else if (kind == "pipe") {
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
    } else if (kind == "lost link") {
        QVERIFY(QFile::link(QStringLiteral("nowhere/morphocalcule.INI"), path));
    } else {
        QVERIFY(QFile::link(QStringLiteral("morphocalcule.INI"), path));
    }
    const mode_t before = modeOf(path);
    if (!start(kind == "unreadable"))
        QSKIP("running as root without a user \"nobody\" to be refused the file");

    // "Ne peut écrire dans" the file, then the window with the switch as designed.
    QVERIFY(answerReportBeforeTheWindow());
    // Nothing took the place's place, and nothing was made beside it.
    QCOMPARE(modeOf(path), before);
    QCOMPARE(QDir(m_dir->path())
                 .entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot),
             (QStringList{"morphocalcule", "morphocalcule.INI"}));
    if (kind == "unreadable") {
        QVERIFY(setMode(path, 0644));
        QCOMPARE(FileBytes::read(path), good);
    }
    QVERIFY(endWithoutSaving());
}

void TestDamagedSettings::symbolicLinksAreWrittenThrough_data()
{
    QTest::addColumn<QByteArray>("target"); // the file the link names, empty when missing
    QTest::addColumn<QString>("status");
    QTest::newRow("link to a good file") << QByteArray("[Informations]\nstatus=0\n") << "0";
    QTest::newRow("dangling link") << QByteArray() << "1";
}

void TestDamagedSettings::symbolicLinksAreWrittenThrough()
{
    QFETCH(QByteArray, target);
    QFETCH(QString, status);
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("shared")));
    const QString real = m_dir->filePath(QStringLiteral("shared/settings.ini"));
    if (!target.isEmpty())
        QVERIFY(FileBytes::write(real, target));
    QVERIFY(QFile::link(QStringLiteral("shared/settings.ini"), settingsPath()));

    QVERIFY(start());
    const X11Probe::Window main = waitForMainWindow();
    QVERIFY(main.id);
    QVERIFY(QFileInfo(settingsPath()).isSymLink());
    QCOMPARE(FileBytes::read(real), target.isEmpty() ? VersionOnly : target + "\n" + VersionOnly);

    QVERIFY(confirmClose(main));
    QVERIFY(m_program.waitForFinished(Patience));
    QCOMPARE(m_program.exitCode(), 0);
    QVERIFY(QFileInfo(settingsPath()).isSymLink());
    QVERIFY(FileBytes::read(real).startsWith(target));
    QCOMPARE(stored("Informations", "status"), status);
    QVERIFY(stored("Position", "x") != QStringLiteral("<absent>"));
}

void TestDamagedSettings::goodFileSurvivesAFailingSave()
{
    const QByteArray good = "; mes réglages\n" + VersionOnly + "\n[Informations]\nstatus=0\n" +
                            "\n[Position]\nx=3\ny=4\n";
    QVERIFY(FileBytes::write(settingsPath(), good));
    // The program's user may write the file, not make new files beside it.
    if (::geteuid() == 0) {
        const passwd *nobody = ::getpwnam("nobody");
        QVERIFY(nobody);
        QCOMPARE(
            ::chown(QFile::encodeName(settingsPath()).constData(), nobody->pw_uid, nobody->pw_gid),
            0);
    }
    if (!start(true))
        QSKIP("running as root without a user \"nobody\" to be refused the file");
    const X11Probe::Window main = waitForMainWindow();
    QVERIFY(main.id);
    QCOMPARE(FileBytes::read(settingsPath()), good);

    // Then the file is made read-only: the save fails and the window stays.
    QVERIFY(setMode(settingsPath(), 0444));
    QVERIFY(confirmClose(main));
    const quint32 report = waitForWindow(QStringLiteral("Morphocalcule"), main.id);
    QVERIFY(report);
    QVERIFY(XDoTool::pressKeys(report, QStringLiteral("Return")));
    QTRY_VERIFY(XDoTool::shownWindows(QStringLiteral("Morphocalcule")) == QList<quint32>{main.id});
    QCOMPARE(m_program.state(), QProcess::Running);
    QCOMPARE(FileBytes::read(settingsPath()), good);
    QVERIFY(endWithoutSaving());
    QCOMPARE(FileBytes::read(settingsPath()), good);
}

QTEST_MAIN(TestDamagedSettings)
#include "tst_damagedsettings.moc"
