#include "imagecolours.h"
#include "installtree.h"
#include "x11probe.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString AppId = QStringLiteral("fr.morphocalcule.Morphocalcule");
const QList<int> IconSizes{16, 32, 48, 64, 128, 256};

QString desktopFile()
{
    return QStringLiteral("share/applications/%1.desktop").arg(AppId);
}

QString metainfoFile()
{
    return QStringLiteral("share/metainfo/%1.metainfo.xml").arg(AppId);
}

QString iconFile(int size)
{
    return QStringLiteral("share/icons/hicolor/%1x%1/apps/morphocalcule.png").arg(size);
}

QImage applicationIcon()
{
    return QImage(QStringLiteral(MORPHO_SOURCE_DIR "/resources/mainicon.xpm"))
        .convertToFormat(QImage::Format_ARGB32);
}

// The keys of the [Desktop Entry] group.
QHash<QString, QString> desktopEntry(const QString &path)
{
    QFile file(path);
    QHash<QString, QString> keys;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    bool inEntry = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(u'['))
            inEntry = line == u"[Desktop Entry]";
        const qsizetype equals = line.indexOf(u'=');
        if (inEntry && equals > 0)
            keys.insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return keys;
}

// The texts of the metainfo file's elements of that name.
QStringList elements(const QString &path, const QString &name)
{
    QFile file(path);
    QStringList texts;
    if (!file.open(QIODevice::ReadOnly))
        return texts;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == name)
            texts.append(xml.readElementText().trimmed());
    }
    return texts;
}

} // namespace

// `cmake --install` into a prefix of the test's own, as a user installs the program in
// ~/.local, and what a desktop then finds there.
class TestInstall : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void installsEachFileAndNothingElse();
    void iconsAreTheApplicationIconByWholePixels_data();
    void iconsAreTheApplicationIconByWholePixels();
    void validatorsAcceptTheDesktopFiles_data();
    void validatorsAcceptTheDesktopFiles();
    void desktopEntryStartsTheWindowItNames();
    void metainfoNamesWhatIsInstalled();

private:
    QString installed(const QString &relative) const { return m_prefix.filePath(relative); }

    QTemporaryDir m_prefix;
    QProcess m_program;
};

void TestInstall::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QVERIFY(InstallTree::into(m_prefix.path()));
}

void TestInstall::cleanup()
{
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished();
    }
}

void TestInstall::installsEachFileAndNothingElse()
{
    QStringList expected{QStringLiteral("bin/morphocalcule"),
                         QStringLiteral("share/morphocalcule/Corpidex.hlp"), desktopFile(),
                         metainfoFile()};
    for (int size : IconSizes)
        expected.append(iconFile(size));
    expected.sort();

    QStringList found;
    QDirIterator files(m_prefix.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
        found.append(QDir(m_prefix.path()).relativeFilePath(files.next()));
    found.removeAll(QStringLiteral("bin/morphocalcule.INI")); // written by a test below
    found.sort();
    QCOMPARE(found, expected);
    QVERIFY(QFileInfo(installed(QStringLiteral("bin/morphocalcule"))).isExecutable());
}

void TestInstall::iconsAreTheApplicationIconByWholePixels_data()
{
    QTest::addColumn<int>("size");
    for (int size : IconSizes)
        QTest::addRow("%dx%d", size, size) << size;
}

// No colour is blended; where the size is a whole multiple of the art's, each pixel of
// the art is a square block of its colour.
void TestInstall::iconsAreTheApplicationIconByWholePixels()
{
    QFETCH(int, size);
    const QImage art = applicationIcon();
    QCOMPARE(art.size(), QSize(32, 32));
    const QImage icon = QImage(installed(iconFile(size))).convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(ImageColours::of(art).contains(ImageColours::of(icon)));
    if (size % art.width() != 0)
        return;
    const int factor = size / art.width();
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x)
            QCOMPARE(icon.pixel(x, y), art.pixel(x / factor, y / factor));
    }
}

void TestInstall::validatorsAcceptTheDesktopFiles_data()
{
    QTest::addColumn<QString>("validator");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("file");
    QTest::newRow("desktop entry") << "desktop-file-validate" << QStringList() << desktopFile();
    // The placeholder addresses of the metainfo file cannot be reached from here.
    QTest::newRow("AppStream metainfo")
        << "appstreamcli" << QStringList{"validate", "--no-net"} << metainfoFile();
}

void TestInstall::validatorsAcceptTheDesktopFiles()
{
    QFETCH(QString, validator);
    QFETCH(QStringList, options);
    QFETCH(QString, file);
    QVERIFY2(!QStandardPaths::findExecutable(validator).isEmpty(),
             qPrintable(validator + QStringLiteral(" is missing: run scripts/setup.sh")));
    QProcess check;
    check.setProcessChannelMode(QProcess::MergedChannels);
    check.start(validator, options + QStringList{installed(file)});
    QVERIFY(check.waitForFinished(60000));
    const QByteArray said = check.readAll();
    QVERIFY2(check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0, said.constData());
}

// What a desktop does with the entry: runs its command from the installed programs and
// ties the window that maps to the entry by its class.
void TestInstall::desktopEntryStartsTheWindowItNames()
{
    const QHash<QString, QString> entry = desktopEntry(installed(desktopFile()));
    QCOMPARE(entry.value(QStringLiteral("Name")), QStringLiteral("Morphocalcule"));
    QCOMPARE(entry.value(QStringLiteral("Comment")),
             QStringLiteral("Calcule le poids idéal selon la taille et le sexe"));
    QCOMPARE(entry.value(QStringLiteral("Icon")), QStringLiteral("morphocalcule"));
    QVERIFY(QFile::exists(installed(iconFile(48))));

    const QString command = entry.value(QStringLiteral("Exec")).section(u' ', 0, 0);
    const QString program =
        QStandardPaths::findExecutable(command, {installed(QStringLiteral("bin"))});
    QCOMPARE(program, installed(QStringLiteral("bin/morphocalcule")));
    m_program.start(program, QStringList());
    QVERIFY(m_program.waitForStarted());

    const QByteArray windowClass = entry.value(QStringLiteral("StartupWMClass")).toUtf8();
    QVERIFY(!windowClass.isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(
        [&] {
            const QList<X11Probe::Window> shown =
                X11Probe::find(windowClass, entry.value(QStringLiteral("Name")));
            return shown.size() == 1 && shown.first().mapped;
        }(),
        20000);
}

void TestInstall::metainfoNamesWhatIsInstalled()
{
    const QString metainfo = installed(metainfoFile());
    QCOMPARE(elements(metainfo, QStringLiteral("id")), QStringList{AppId});
    QCOMPARE(elements(metainfo, QStringLiteral("launchable")),
             QStringList{QFileInfo(desktopFile()).fileName()});
    for (const QString &binary : elements(metainfo, QStringLiteral("binary")))
        QVERIFY2(QFile::exists(installed(QStringLiteral("bin/") + binary)), qPrintable(binary));

    // The screenshot's address names the picture kept with the sources.
    const QStringList images = elements(metainfo, QStringLiteral("image"));
    QCOMPARE(images.size(), 1);
    QVERIFY(images.first().startsWith(u"https://"));
    QVERIFY(images.first().endsWith(u"/docs/screenshot.png"));
    const QImage screenshot(QStringLiteral(MORPHO_SOURCE_DIR "/docs/screenshot.png"));
    QVERIFY(screenshot.width() >= 427 && screenshot.height() >= 232);
}

QTEST_MAIN(TestInstall)
#include "tst_install.moc"
