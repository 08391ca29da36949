#include "filebytes.h"
#include "inifile.h"
#include "memoryusage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char ChildVariable[] = "MORPHO_INIFILE_SAVER";
constexpr char LoopSection[] = "Boucle";
constexpr char LoopKey[] = "data";
constexpr int LoopValueSize = 1 << 20;

QByteArray loopContents(char fill)
{
    return QByteArray("[Boucle]\ndata=") + QByteArray(LoopValueSize, fill) + '\n';
}

// The child: saves a large value again and again, telling each save on its output.
int saveForever(const QString &fileName)
{
    IniFile file(fileName);
    for (char fill = 'a';; fill = fill == 'z' ? 'a' : char(fill + 1)) {
        if (!file.writeString(LoopSection, LoopKey, QByteArray(LoopValueSize, fill)))
            return 1;
        std::printf("%c\n", fill);
        std::fflush(stdout);
    }
}

// Makes a folder or a file refuse changes, as a read-only medium does. Permission
// bits stop a user but not root, so root sets the immutable attribute instead, which
// stops everyone; undone by the destructor.
class WriteProtection
{
public:
    explicit WriteProtection(const QString &path) : m_path(QFile::encodeName(path))
    {
        struct stat info;
        if (::stat(m_path.constData(), &info) != 0)
            return;
        m_mode = info.st_mode & 07777;
        if (::geteuid() != 0) {
            m_protected = ::chmod(m_path.constData(), m_mode & ~0222) == 0;
            m_byMode = m_protected;
        } else {
            m_protected = setImmutable(true);
        }
    }
    ~WriteProtection()
    {
        if (m_byMode)
            ::chmod(m_path.constData(), m_mode);
        else if (m_protected)
            setImmutable(false);
    }
    bool isProtected() const { return m_protected; }

private:
    bool setImmutable(bool on)
    {
        const int fd = ::open(m_path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        ::close(fd);
        return done;
    }

    QByteArray m_path;
    mode_t m_mode = 0;
    bool m_protected = false;
    bool m_byMode = false;
};

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void reading_data();
    void reading();
    void longValueIsCutAtTheReadBuffer();
    void missingFileGivesTheDefaultAndIsNotCreated();
    void writing_data();
    void writing();
    void writingCreatesTheFileWithTheSectionAndKey();
    void eightBitBytesAreKept();
    void erasingRemovesEverySectionOfThatName_data();
    void erasingRemovesEverySectionOfThatName();
    void erasingInAMissingFileCreatesNothing();
    void entriesThatWouldBreakTheFileAreRefused_data();
    void entriesThatWouldBreakTheFileAreRefused();
    void writeThroughASymbolicLinkKeepsTheLink();
    void fileModeIsKept();
    void readOnlyFolderFallsBackToWritingInPlace();
    void unwritablePlacesFail();
    void killedSaverNeverLeavesADamagedFile();
    void damagedFiles_data();
    void damagedFiles();
    void enormousFileTakesBoundedMemory();
    void danglingSymbolicLinks();
    void pipeInItsPlaceIsNeitherReadNorWaitedFor();

private:
    QString path(const QString &name = QStringLiteral("test.ini")) const
    {
        return m_dir->filePath(name);
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestIniFile::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestIniFile::cleanup()
{
    m_dir.reset();
}

void TestIniFile::reading_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray file = "[Informations]\nstatus=0\n";
    QTest::newRow("exact names") << file << QByteArray("Informations") << QByteArray("status")
                                 << QByteArray("0");
    QTest::newRow("names in other cases")
        << file << QByteArray("INFORMATIONS") << QByteArray("STATUS") << QByteArray("0");
    QTest::newRow("missing section")
        << file << QByteArray("Position") << QByteArray("status") << QByteArray("défaut");
    QTest::newRow("missing key") << file << QByteArray("Informations") << QByteArray("x")
                                 << QByteArray("défaut");
    QTest::newRow("key of another section") << QByteArray("[A]\nx=1\n[B]\ny=2\n") << QByteArray("B")
                                            << QByteArray("x") << QByteArray("défaut");
    QTest::newRow("double quotes") << QByteArray("[S]\nk=\" a b \"\n") << QByteArray("S")
                                   << QByteArray("k") << QByteArray(" a b ");
    QTest::newRow("single quotes")
        << QByteArray("[S]\nk='0'\n") << QByteArray("S") << QByteArray("k") << QByteArray("0");
    QTest::newRow("unmatched quotes stay")
        << QByteArray("[S]\nk=\"0'\n") << QByteArray("S") << QByteArray("k") << QByteArray("\"0'");
    QTest::newRow("one quote stays")
        << QByteArray("[S]\nk=\"\n") << QByteArray("S") << QByteArray("k") << QByteArray("\"");
    QTest::newRow("blanks around names and value")
        << QByteArray("  [ S ]  \n\t k \t=  v w  \n") << QByteArray("S") << QByteArray("k")
        << QByteArray("v w");
    QTest::newRow("empty value") << QByteArray("[S]\nk=\n") << QByteArray("S") << QByteArray("k")
                                 << QByteArray("");
    QTest::newRow("equals sign in the value")
        << QByteArray("[S]\nk=a=b\n") << QByteArray("S") << QByteArray("k") << QByteArray("a=b");
    QTest::newRow("first of two keys")
        << QByteArray("[S]\nk=1\nK=2\n") << QByteArray("S") << QByteArray("k") << QByteArray("1");
    QTest::newRow("CRLF lines") << QByteArray("[S]\r\nk=1\r\n") << QByteArray("S")
                                << QByteArray("k") << QByteArray("1");
    QTest::newRow("no final line break")
        << QByteArray("[S]\nk=1") << QByteArray("S") << QByteArray("k") << QByteArray("1");
    QTest::newRow("byte order mark before the first section")
        << QByteArray("\xEF\xBB\xBF[S]\nk=1\n") << QByteArray("S") << QByteArray("k")
        << QByteArray("1");
    QTest::newRow("comment line is no key")
        << QByteArray("[S]\n;k=1\n") << QByteArray("S") << QByteArray(";k") << QByteArray("défaut");
    QTest::newRow("keys before any section belong to none")
        << QByteArray("k=1\n[S]\n") << QByteArray("S") << QByteArray("k") << QByteArray("défaut");
}

void TestIniFile::reading()
{
    QFETCH(QByteArray, contents);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, expected);
    QVERIFY(FileBytes::write(path(), contents));
    QCOMPARE(IniFile(path()).readString(section, key, "défaut"), expected);
}

void TestIniFile::longValueIsCutAtTheReadBuffer()
{
    const QByteArray value = QByteArray(1000, 'a') + QByteArray(100, 'b');
    QVERIFY(FileBytes::write(path(), "[S]\nk=" + value + "\n"));
    const QByteArray read = IniFile(path()).readString("S", "k", "");
    QCOMPARE(read.size(), qsizetype(IniFile::ReadBufferSize - 1));
    QCOMPARE(read, value.left(1023));
    // The default is held in the same buffer.
    QCOMPARE(IniFile(path()).readString("S", "absent", value).size(), qsizetype(1023));
    // Quotes go before the cut, so they cost no room.
    QVERIFY(FileBytes::write(path(), "[S]\nk='" + QByteArray(1023, 'q') + "'\n"));
    QCOMPARE(IniFile(path()).readString("S", "k", ""), QByteArray(1023, 'q'));
}

void TestIniFile::missingFileGivesTheDefaultAndIsNotCreated()
{
    QCOMPARE(IniFile(path()).readString("S", "k", "d"), QByteArray("d"));
    QCOMPARE(IniFile(m_dir->filePath("no/such/folder.ini")).readString("S", "k", "d"),
             QByteArray("d"));
    QVERIFY(QDir().mkdir(path("folder.ini")));
    QCOMPARE(IniFile(path("folder.ini")).readString("S", "k", "d"), QByteArray("d"));
    QVERIFY(!QFile::exists(path()));
}

void TestIniFile::writing_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("after");

    QTest::newRow("replaces a value, keeping the key's spelling")
        << QByteArray("[Informations]\nSTATUS=0\nautre=x\n") << QByteArray("informations")
        << QByteArray("status") << QByteArray("1")
        << QByteArray("[Informations]\nSTATUS=1\nautre=x\n");
    QTest::newRow("adds a key after the section's last entry")
        << QByteArray("[A]\nx=1\n\n[B]\ny=2\n") << QByteArray("a") << QByteArray("z")
        << QByteArray("3") << QByteArray("[A]\nx=1\nz=3\n\n[B]\ny=2\n");
    QTest::newRow("adds a section at the end after a blank line")
        << QByteArray("[A]\nx=1\n") << QByteArray("B") << QByteArray("y") << QByteArray("2")
        << QByteArray("[A]\nx=1\n\n[B]\ny=2\n");
    QTest::newRow("no second blank line")
        << QByteArray("[A]\nx=1\n\n") << QByteArray("B") << QByteArray("y") << QByteArray("2")
        << QByteArray("[A]\nx=1\n\n[B]\ny=2\n");
    QTest::newRow("keeps comments and unknown lines")
        << QByteArray("; mes réglages\n[A]\n; x vaut 1\nx=1\nbizarre\n") << QByteArray("A")
        << QByteArray("x") << QByteArray("2")
        << QByteArray("; mes réglages\n[A]\n; x vaut 1\nx=2\nbizarre\n");
    QTest::newRow("keeps CRLF lines")
        << QByteArray("[A]\r\nx=1\r\n") << QByteArray("A") << QByteArray("y") << QByteArray("2")
        << QByteArray("[A]\r\nx=1\r\ny=2\r\n");
    QTest::newRow("ends the last line")
        << QByteArray("[A]\nx=1") << QByteArray("A") << QByteArray("x") << QByteArray("2")
        << QByteArray("[A]\nx=2\n");
    QTest::newRow("writes into the first of two sections")
        << QByteArray("[A]\nx=1\n[A]\nx=2\n") << QByteArray("A") << QByteArray("x")
        << QByteArray("3") << QByteArray("[A]\nx=3\n[A]\nx=2\n");
    QTest::newRow("empty value") << QByteArray("[A]\nx=1\n") << QByteArray("A") << QByteArray("x")
                                 << QByteArray("") << QByteArray("[A]\nx=\n");
}

void TestIniFile::writing()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, after);
    QVERIFY(FileBytes::write(path(), before));
    IniFile file(path());
    QVERIFY(file.writeString(section, key, value));
    QCOMPARE(FileBytes::read(path()), after);
    QCOMPARE(file.readString(section, key, "défaut"), value);
}

void TestIniFile::writingCreatesTheFileWithTheSectionAndKey()
{
    IniFile file(path());
    QVERIFY(file.writeString("Morphocalcule", "version", "1.1"));
    QCOMPARE(FileBytes::read(path()), QByteArray("[Morphocalcule]\nversion=1.1\n"));
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList{"test.ini"});
}

void TestIniFile::eightBitBytesAreKept()
{
    // Latin-1 bytes, invalid UTF-8 and control bytes survive a rewrite untouched.
    const QByteArray other = "[Autre]\nnom=\xE9t\xE9 \xFF\xFE\x01\n\xC3(=\x80\n";
    QVERIFY(FileBytes::write(path(), other));
    IniFile file(path());
    QVERIFY(file.writeString("Section \xC9", "cl\xE9", "valeur \xE0 \xFF"));
    QCOMPARE(FileBytes::read(path()), other + "\n[Section \xC9]\ncl\xE9=valeur \xE0 \xFF\n");
    QCOMPARE(file.readString("Autre", "nom", ""), QByteArray("\xE9t\xE9 \xFF\xFE\x01"));
    QCOMPARE(file.readString("Autre", "\xC3(", ""), QByteArray("\x80"));
    QCOMPARE(file.readString("section \xC9", "CL\xE9", ""), QByteArray("valeur \xE0 \xFF"));
    // Only ASCII letters fold: É and é are different bytes.
    QCOMPARE(file.readString("Section \xE9", "cl\xE9", "d"), QByteArray("d"));
}

void TestIniFile::erasingRemovesEverySectionOfThatName_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    QTest::newRow("last section") << QByteArray("[A]\nx=1\n\n[Position]\nx=1\nw=9\ny=2\n")
                                  << QByteArray("[A]\nx=1\n\n");
    QTest::newRow("middle section, other case")
        << QByteArray("[A]\nx=1\n[POSITION]\nx=1\n\n[B]\ny=2\n")
        << QByteArray("[A]\nx=1\n[B]\ny=2\n");
    QTest::newRow("two sections of that name")
        << QByteArray("[Position]\nx=1\n[A]\nx=1\n[position]\nw=3\n") << QByteArray("[A]\nx=1\n");
    QTest::newRow("no such section") << QByteArray("[A]\nx=1\n") << QByteArray("[A]\nx=1\n");
}

void TestIniFile::erasingRemovesEverySectionOfThatName()
{
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    QVERIFY(FileBytes::write(path(), before));
    IniFile file(path());
    QVERIFY(file.eraseSection("Position"));
    QCOMPARE(FileBytes::read(path()), after);
    QCOMPARE(file.readString("Position", "x", "absent"), QByteArray("absent"));
}

void TestIniFile::erasingInAMissingFileCreatesNothing()
{
    QVERIFY(IniFile(path()).eraseSection("Position"));
    QVERIFY(!QFile::exists(path()));
}

void TestIniFile::entriesThatWouldBreakTheFileAreRefused_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::newRow("line break in the value")
        << QByteArray("A") << QByteArray("x") << QByteArray("1\n[B]");
    QTest::newRow("carriage return in the key")
        << QByteArray("A") << QByteArray("x\r") << QByteArray("1");
    QTest::newRow("bracket in the section")
        << QByteArray("A]") << QByteArray("x") << QByteArray("1");
    QTest::newRow("equals sign in the key")
        << QByteArray("A") << QByteArray("x=y") << QByteArray("1");
    QTest::newRow("empty key") << QByteArray("A") << QByteArray(" ") << QByteArray("1");
}

void TestIniFile::entriesThatWouldBreakTheFileAreRefused()
{
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QVERIFY(FileBytes::write(path(), "[A]\nx=0\n"));
    QVERIFY(!IniFile(path()).writeString(section, key, value));
    QCOMPARE(FileBytes::read(path()), QByteArray("[A]\nx=0\n"));
}

void TestIniFile::writeThroughASymbolicLinkKeepsTheLink()
{
    QVERIFY(QDir().mkdir(path("real")));
    const QString real = path("real/settings.ini");
    QVERIFY(FileBytes::write(real, "[A]\nx=1\n"));
    QVERIFY(QFile::link(real, path("link.ini")));
    QVERIFY(IniFile(path("link.ini")).writeString("A", "x", "2"));
    QVERIFY(QFileInfo(path("link.ini")).isSymLink());
    QCOMPARE(FileBytes::read(real), QByteArray("[A]\nx=2\n"));
}

void TestIniFile::fileModeIsKept()
{
    QVERIFY(FileBytes::write(path(), "[A]\nx=1\n"));
    QVERIFY(::chmod(QFile::encodeName(path()).constData(), 0640) == 0);
    QVERIFY(IniFile(path()).writeString("A", "x", "2"));
    struct stat info;
    QVERIFY(::stat(QFile::encodeName(path()).constData(), &info) == 0);
    QCOMPARE(info.st_mode & 07777, mode_t(0640));
}

void TestIniFile::readOnlyFolderFallsBackToWritingInPlace()
{
    QVERIFY(QDir().mkdir(path("folder")));
    const QString existing = path("folder/existing.ini");
    QVERIFY(FileBytes::write(existing, "[A]\nx=1\n[B]\ny=2\n"));
    const WriteProtection protection(path("folder"));
    if (!protection.isProtected())
        QSKIP("this file system cannot make a folder read-only here");

    QVERIFY(IniFile(existing).writeString("A", "x", "22"));
    QCOMPARE(FileBytes::read(existing), QByteArray("[A]\nx=22\n[B]\ny=2\n"));
    // Shorter contents leave nothing of the old ones behind.
    QVERIFY(IniFile(existing).eraseSection("B"));
    QCOMPARE(FileBytes::read(existing), QByteArray("[A]\nx=22\n"));
    QCOMPARE(QDir(path("folder")).entryList(QDir::Files | QDir::Hidden),
             QStringList{"existing.ini"});

    // A file that is not there cannot be made in that folder.
    QVERIFY(!IniFile(path("folder/new.ini")).writeString("A", "x", "1"));
    QVERIFY(!QFile::exists(path("folder/new.ini")));
}

void TestIniFile::unwritablePlacesFail()
{
    // A folder where the file should be.
    QVERIFY(QDir().mkdir(path("folder.ini")));
    IniFile folder(path("folder.ini"));
    QVERIFY(!folder.writeString("A", "x", "1"));
    QVERIFY(!folder.eraseSection("A"));
    QVERIFY(QFileInfo(path("folder.ini")).isDir());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList());

    // A path that runs through a file.
    QVERIFY(FileBytes::write(path("plain"), "x"));
    QVERIFY(!IniFile(path("plain/settings.ini")).writeString("A", "x", "1"));

    // A file that refuses changes keeps its contents.
    QVERIFY(FileBytes::write(path(), "[A]\nx=1\n"));
    const WriteProtection protection(path());
    if (!protection.isProtected())
        QSKIP("this file system cannot make a file read-only here");
    QVERIFY(!IniFile(path()).writeString("A", "x", "2"));
    QCOMPARE(FileBytes::read(path()), QByteArray("[A]\nx=1\n"));
}

void TestIniFile::killedSaverNeverLeavesADamagedFile()
{
    QList<QByteArray> valid;
    for (char fill = 'a'; fill <= 'z'; ++fill)
        valid.append(loopContents(fill));

    for (int round = 0; round < 40; ++round) {
        QProcess saver;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(ChildVariable), path());
        saver.setProcessEnvironment(environment);
        saver.start(QCoreApplication::applicationFilePath(), QStringList());
        QVERIFY(saver.waitForStarted());
        // Kill it after a different number of saves each round: it is always saving.
        QByteArray told;
        QTRY_VERIFY_WITH_TIMEOUT(
            (told += saver.readAllStandardOutput(), told.count('\n') > round % 4), 60000);
        saver.kill();
        QVERIFY(saver.waitForFinished());
        QCOMPARE(saver.exitStatus(), QProcess::CrashExit);

        const QByteArray contents = FileBytes::read(path());
        QVERIFY2(valid.contains(contents),
                 qPrintable(QStringLiteral("round %1: %2 bytes, starting %3")
                                .arg(round)
                                .arg(contents.size())
                                .arg(QString::fromLatin1(contents.left(20)))));
    }
}

void TestIniFile::damagedFiles_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QByteArray>("status");
    // What a write of a new section adds after the file's bytes, which stay as they were.
    QTest::addColumn<QByteArray>("added");

    const QByteArray megabyte(1 << 20, 'x');
    const QByteArray versionSection = "[Morphocalcule]\nversion=1.1\n";
    QTest::newRow("random text") << QByteArray("Lorem ipsum = dolor\n\tsit amet; [consectetur\n")
                                 << QByteArray("d") << "\n" + versionSection;
    QTest::newRow("keys without a section")
        << QByteArray("status=0\nx=5") << QByteArray("d") << "\n\n" + versionSection;
    QTest::newRow("section line without a bracket")
        << QByteArray("[Informations\nstatus=0\n") << QByteArray("d") << "\n" + versionSection;
    QTest::newRow("text after the bracket") << QByteArray("[Informations] ; note\nstatus=0\n")
                                            << QByteArray("0") << "\n" + versionSection;
    QTest::newRow("one-megabyte line before the section")
        << megabyte + "\n[Informations]\nstatus=0\n"
        << QByteArray("0") << "\n" + versionSection;
    QTest::newRow("one-megabyte last line without a line break")
        << "[Informations]\nstatus=0\n" + megabyte << QByteArray("0") << "\n\n" + versionSection;
    QTest::newRow("one-megabyte section name")
        << "[" + megabyte + "]\nstatus=1\n[Informations]\nstatus=0\n"
        << QByteArray("0") << "\n" + versionSection;
    QTest::newRow("one-megabyte value before the key")
        << "[Informations]\nautre=" + megabyte + "\nstatus=0\n"
        << QByteArray("0") << "\n" + versionSection;
    QTest::newRow("NUL bytes") << QByteArray("\0\0\0\n[Informations]\nstatus=0\n\0\0", 30)
                               << QByteArray("0") << "\n\n" + versionSection;
    QTest::newRow("invalid UTF-8")
        << QByteArray("[\xC3(\xFF]\nk=\x80\xFE\n[Informations]\nstatus=\xC3\n")
        << QByteArray("\xC3") << "\n" + versionSection;
    // One line, ending in a carriage return: CRLF for what is added.
    QTest::newRow("carriage returns only")
        << QByteArray("[Informations]\rstatus=0\r") << QByteArray("d")
        << QByteArray("\n\r\n[Morphocalcule]\r\nversion=1.1\r\n");
}

void TestIniFile::damagedFiles()
{
    QFETCH(QByteArray, contents);
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, added);
    QVERIFY(FileBytes::write(path(), contents));
    IniFile file(path());
    QCOMPARE(file.readString("Informations", "status", "d"), status);
    QVERIFY(file.writeString("Morphocalcule", "version", "1.1"));
    QCOMPARE(FileBytes::read(path()), contents + added);
    QCOMPARE(file.readString("Informations", "status", "d"), status);
    QCOMPARE(file.readString("Morphocalcule", "version", "d"), QByteArray("1.1"));
}

void TestIniFile::enormousFileTakesBoundedMemory()
{
    // 100 MB of zeros, made sparse at once, with the section at its very end.
    constexpr qint64 Size = qint64(100) << 20;
    const QByteArray tail = "\n[Informations]\nstatus=0\n";
    {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(Size));
        QVERIFY(file.seek(Size));
        QCOMPARE(file.write(tail), tail.size());
    }
    const bool peakReset = MemoryUsage::resetPeak();
    const std::optional<qint64> before = MemoryUsage::peakResident();

    IniFile file(path());
    QCOMPARE(file.readString("Informations", "status", "d"), QByteArray("0"));
    QVERIFY(file.writeString("Morphocalcule", "version", "1.1"));
    QVERIFY(file.writeString("Informations", "status", "1"));
    QCOMPARE(file.readString("Informations", "status", "d"), QByteArray("1"));

    const QByteArray added = "\n[Informations]\nstatus=1\n\n[Morphocalcule]\nversion=1.1\n";
    QFile written(path());
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.size(), Size + added.size());
    QVERIFY(written.seek(Size));
    QCOMPARE(written.readAll(), added);
    QVERIFY(written.seek(Size / 2));
    QCOMPARE(written.read(4096), QByteArray(4096, '\0'));

    if (!peakReset || !before)
        QSKIP("the kernel does not let the peak of resident memory be reset here");
    // A few buffers of 64 KB: nothing that grows with the file.
    const qint64 growth = *MemoryUsage::peakResident() - *before;
    QVERIFY2(growth < 16 << 20, qPrintable(QStringLiteral("peak grew by %1 bytes").arg(growth)));
}

void TestIniFile::danglingSymbolicLinks()
{
    // A link to a file that is not there yet: the write creates it and keeps the link.
    QVERIFY(QDir().mkdir(path("real")));
    QVERIFY(QFile::link(QStringLiteral("real/settings.ini"), path("link.ini")));
    QCOMPARE(IniFile(path("link.ini")).readString("A", "x", "d"), QByteArray("d"));
    QVERIFY(IniFile(path("link.ini")).writeString("A", "x", "1"));
    QVERIFY(QFileInfo(path("link.ini")).isSymLink());
    QCOMPARE(FileBytes::read(path("real/settings.ini")), QByteArray("[A]\nx=1\n"));

    // A link into a folder that is not there: nothing can be written, nothing is made.
    QVERIFY(QFile::link(QStringLiteral("nowhere/settings.ini"), path("lost.ini")));
    QVERIFY(!IniFile(path("lost.ini")).writeString("A", "x", "1"));
    QVERIFY(QFileInfo(path("lost.ini")).isSymLink());
    QVERIFY(!QFileInfo::exists(path("nowhere")));

    // A link to itself reads nothing and writes nothing.
    QVERIFY(QFile::link(QStringLiteral("loop.ini"), path("loop.ini")));
    QCOMPARE(IniFile(path("loop.ini")).readString("A", "x", "d"), QByteArray("d"));
    QVERIFY(!IniFile(path("loop.ini")).writeString("A", "x", "1"));
    QVERIFY(QFileInfo(path("loop.ini")).isSymLink());
}

void TestIniFile::pipeInItsPlaceIsNeitherReadNorWaitedFor()
{
    // Opening a pipe to read it waits for a writer; the file must never wait.
    QVERIFY(::mkfifo(QFile::encodeName(path()).constData(), 0644) == 0);
    IniFile file(path());
    QCOMPARE(file.readString("A", "x", "d"), QByteArray("d"));
    QVERIFY(!file.writeString("A", "x", "1"));
    QVERIFY(!file.eraseSection("A"));
    struct stat info;
    QVERIFY(::stat(QFile::encodeName(path()).constData(), &info) == 0);
    QVERIFY(S_ISFIFO(info.st_mode));
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet(ChildVariable))
        return saveForever(qEnvironmentVariable(ChildVariable));
    QCoreApplication app(argc, argv);
    TestIniFile test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_inifile.moc"
