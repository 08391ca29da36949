#include "installtree.h"
#include "x11probe.h"
#include "xdotool.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

// "Aide" in the built and in the installed program, chosen with real X input on this
// test's own X server: the help file is found where the build and the install put it.
class TestHelpEndToEnd : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void aideFindsTheHelpFile_data();
    void aideFindsTheHelpFile();

private:
    QString prepare(const QString &layout);

    std::unique_ptr<QTemporaryDir> m_dir;
    QProcess m_program;
};

namespace {

const QString HelpFileName = QStringLiteral("Corpidex.hlp");

int mappedWindows()
{
    int count = 0;
    for (const X11Probe::Window &window : X11Probe::topLevelWindows())
        count += window.mapped ? 1 : 0;
    return count;
}

QStringList mappedCaptions()
{
    QStringList captions;
    for (const X11Probe::Window &window : X11Probe::topLevelWindows()) {
        if (window.mapped)
            captions.append(window.caption);
    }
    return captions;
}

} // namespace

void TestHelpEndToEnd::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestHelpEndToEnd::cleanup()
{
    // The program may ask before it closes; the test only needed what it showed.
    if (m_program.state() != QProcess::NotRunning) {
        m_program.kill();
        m_program.waitForFinished();
    }
    m_dir.reset();
}

// The program in a folder of its own, laid out as the row says; returns its path.
QString TestHelpEndToEnd::prepare(const QString &layout)
{
    if (layout == QLatin1String("installed")) {
        const QString prefix = m_dir->filePath(QStringLiteral("prefix"));
        if (!InstallTree::into(prefix) ||
            !QFile::exists(prefix + QStringLiteral("/share/morphocalcule/") + HelpFileName))
            return QString();
        return prefix + QStringLiteral("/bin/morphocalcule");
    }
    // Deep enough that no share folder lies beside the copy's parent.
    const QString folder = m_dir->filePath(QStringLiteral("a/b/bin"));
    QDir().mkpath(folder);
    const QString program = folder + QStringLiteral("/morphocalcule");
    if (!QFile::copy(QStringLiteral(MORPHO_EXECUTABLE), program))
        return QString();
    if (layout == QLatin1String("beside") &&
        !QFile::copy(QFileInfo(QStringLiteral(MORPHO_EXECUTABLE)).dir().filePath(HelpFileName),
                     folder + u'/' + HelpFileName))
        return QString();
    return program;
}

void TestHelpEndToEnd::aideFindsTheHelpFile_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("caption");
    QTest::newRow("help file beside the built program") << "beside"
                                                        << "Aide de Morphocalcule";
    QTest::newRow("installed under a prefix") << "installed"
                                              << "Aide de Morphocalcule";
    // The help engine's own complaint, and the program goes on.
    QTest::newRow("no help file anywhere") << "alone"
                                           << "Aide";
}

void TestHelpEndToEnd::aideFindsTheHelpFile()
{
    QFETCH(QString, layout);
    QFETCH(QString, caption);
    if (layout == QLatin1String("alone") &&
        QFile::exists(QStringLiteral(MORPHO_HELP_DATADIR "/") + HelpFileName))
        QSKIP("a help file is installed in the data folder of this machine");
    const QString program = prepare(layout);
    QVERIFY2(!program.isEmpty(), "the program could not be laid out");

    m_program.start(program, QStringList());
    QVERIFY(m_program.waitForStarted());
    QList<X11Probe::Window> main;
    QTRY_VERIFY_WITH_TIMEOUT((main = X11Probe::find("TPrincipale", QStringLiteral("Morphocalcule")),
                              main.size() == 1 && main.first().mapped),
                             20000);
    QVERIFY(!mappedCaptions().contains(caption));

    // Right button released over the window, then the item's underlined letter.
    const QPoint centre = main.first().geometry.center();
    const int before = mappedWindows();
    QVERIFY(
        XDoTool::run({QStringLiteral("mousemove"), QString::number(centre.x()),
                      QString::number(centre.y()), QStringLiteral("click"), QStringLiteral("3")}));
    QTRY_VERIFY_WITH_TIMEOUT(mappedWindows() > before, 10000);
    QVERIFY(XDoTool::run({QStringLiteral("key"), QStringLiteral("i")}));

    QTRY_VERIFY2_WITH_TIMEOUT(mappedCaptions().contains(caption),
                              qPrintable(mappedCaptions().join(QStringLiteral(" | "))), 10000);
    QCOMPARE(m_program.state(), QProcess::Running);
    QVERIFY(X11Probe::find("TPrincipale", QStringLiteral("Morphocalcule")).first().mapped);
}

QTEST_MAIN(TestHelpEndToEnd)
#include "tst_helpendtoend.moc"
