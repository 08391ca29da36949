#include "helpengine.h"
#include "helpwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <memory>
#include <unistd.h>

namespace {

// A small help file: a contents topic, a topic for context 4 with enough text after it
// that it can be scrolled to the top, and a title of its own.
QByteArray helpText(const QString &title)
{
    QString filler;
    for (int i = 0; i < 80; ++i)
        filler += QStringLiteral("<p>Ligne de remplissage.</p>\n");
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><title>%1</title></head><body>\n"
                          "<h1><a name=\"contents\">Sommaire d'essai</a></h1>\n%2"
                          "<h2><a name=\"context-4\">Quitter l'essai</a></h2>\n%2"
                          "</body></html>\n")
        .arg(title, filler)
        .toUtf8();
}

bool writeFile(const QString &path, const QByteArray &contents)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

QList<QMessageBox *> complaintsShown()
{
    QList<QMessageBox *> boxes;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            boxes.append(box);
    }
    return boxes;
}

// The text of the first line at the top of the browser's view.
QString topLine(const HelpWindow *window)
{
    return window->browser()->cursorForPosition(QPoint(4, 4)).block().text();
}

void clickThroughWindow(QWidget *widget)
{
    QWidget *window = widget->window();
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                      widget->mapTo(window, widget->rect().center()));
}

} // namespace

class TestHelpEngine : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void searchPathIsBesideThenDataFolders();
    void findsTheFile_data();
    void findsTheFile();
    void showsTheTopicAtTheTop_data();
    void showsTheTopicAtTheTop();
    void oneWindowServesEveryRequest();
    void complainsOnceAndGoesOn_data();
    void complainsOnceAndGoesOn();
    void quitClosesTheWindow();
    void helpStaysUsableUnderAModalDialog();

private:
    HelpEngine *engine(const QStringList &searchPath);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<HelpEngine> m_engine;
};

void TestHelpEngine::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestHelpEngine::cleanup()
{
    m_engine.reset();
    m_dir.reset();
    QTRY_VERIFY(complaintsShown().isEmpty());
}

HelpEngine *TestHelpEngine::engine(const QStringList &searchPath)
{
    m_engine = std::make_unique<HelpEngine>(searchPath);
    return m_engine.get();
}

void TestHelpEngine::searchPathIsBesideThenDataFolders()
{
    const QString beside = QCoreApplication::applicationDirPath();
    QCOMPARE(HelpEngine::defaultSearchPath(),
             (QStringList{beside, QStringLiteral(MORPHO_HELP_DATADIR),
                          QDir::cleanPath(beside + QStringLiteral("/../share/morphocalcule"))}));
}

void TestHelpEngine::findsTheFile_data()
{
    QTest::addColumn<QString>("where");
    QTest::newRow("beside the executable") << "beside";
    QTest::newRow("in the data folder") << "data";
    QTest::newRow("the first folder that has it") << "both";
}

void TestHelpEngine::findsTheFile()
{
    QFETCH(QString, where);
    const QString empty = m_dir->filePath(QStringLiteral("empty"));
    const QString data = m_dir->filePath(QStringLiteral("data"));
    QVERIFY(QDir().mkpath(empty) && QDir().mkpath(data));

    QTemporaryFile beside(QDir(QCoreApplication::applicationDirPath())
                              .filePath(QStringLiteral("tst_helpengine-XXXXXX.hlp")));
    QString name;
    QStringList searchPath;
    if (where == QLatin1String("beside")) {
        QVERIFY(beside.open());
        beside.write(helpText(QStringLiteral("Aide à côté")));
        beside.close();
        name = QFileInfo(beside.fileName()).fileName();
        engine(HelpEngine::defaultSearchPath());
    } else {
        name = QStringLiteral("Essai.hlp");
        QVERIFY(writeFile(QDir(data).filePath(name), helpText(QStringLiteral("Aide des données"))));
        if (where == QLatin1String("both"))
            QVERIFY(
                writeFile(QDir(empty).filePath(name), helpText(QStringLiteral("Aide d'abord"))));
        engine({empty, data});
    }

    QVERIFY(m_engine->request(name, HelpEngine::Contents, 0));
    HelpWindow *window = m_engine->window();
    QVERIFY(window && window->isVisible());
    const QString expected = where == QLatin1String("beside") ? QStringLiteral("Aide à côté")
                             : where == QLatin1String("data") ? QStringLiteral("Aide des données")
                                                              : QStringLiteral("Aide d'abord");
    QCOMPARE(window->windowTitle(), expected);
    QVERIFY(complaintsShown().isEmpty());
}

void TestHelpEngine::showsTheTopicAtTheTop_data()
{
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("data");
    QTest::addColumn<QString>("anchor");
    QTest::addColumn<QString>("heading");
    QTest::newRow("contents") << int(HelpEngine::Contents) << 0 << "contents"
                              << "Sommaire d'essai";
    QTest::newRow("context 4") << int(HelpEngine::Context) << 4 << "context-4"
                               << "Quitter l'essai";
}

void TestHelpEngine::showsTheTopicAtTheTop()
{
    QFETCH(int, command);
    QFETCH(int, data);
    QFETCH(QString, anchor);
    QFETCH(QString, heading);
    QVERIFY(
        writeFile(m_dir->filePath(QStringLiteral("Essai.hlp")), helpText(QStringLiteral("Essai"))));
    engine({m_dir->path()});

    QVERIFY(m_engine->request(QStringLiteral("Essai.hlp"), HelpEngine::Command(command), data));
    HelpWindow *window = m_engine->window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    QCOMPARE(window->anchor(), anchor);
    QTRY_COMPARE(topLine(window), heading);
}

void TestHelpEngine::oneWindowServesEveryRequest()
{
    QVERIFY(
        writeFile(m_dir->filePath(QStringLiteral("Essai.hlp")), helpText(QStringLiteral("Essai"))));
    engine({m_dir->path()});
    QVERIFY(m_engine->request(QStringLiteral("Essai.hlp"), HelpEngine::Contents, 0));
    HelpWindow *const window = m_engine->window();
    QVERIFY(QTest::qWaitForWindowActive(window));

    // Closed by the user, then asked for again: the same window comes back, in front.
    window->close();
    auto other = std::make_unique<QWidget>();
    other->show();
    other->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(other.get()));
    QVERIFY(m_engine->request(QStringLiteral("Essai.hlp"), HelpEngine::Context, 4));
    QCOMPARE(m_engine->window(), window);
    QVERIFY(QTest::qWaitForWindowActive(window));
    QCOMPARE(window->anchor(), QStringLiteral("context-4"));
    int helpWindows = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        helpWindows += qobject_cast<HelpWindow *>(widget) ? 1 : 0;
    QCOMPARE(helpWindows, 1);

    // The contents stay one click away, and the page seen before one more.
    QVERIFY(window->contentsAction()->isEnabled());
    window->contentsAction()->trigger();
    QCOMPARE(window->anchor(), QStringLiteral("contents"));
    QVERIFY(window->backAction()->isEnabled());
    window->backAction()->trigger();
    QCOMPARE(window->anchor(), QStringLiteral("context-4"));
}

void TestHelpEngine::complainsOnceAndGoesOn_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("context");
    QTest::addColumn<QString>("message");

    const QByteArray good = helpText(QStringLiteral("Essai"));
    QTest::newRow("missing file") << "Absent.hlp" << QByteArray() << 4
                                  << "Le fichier d'aide « Absent.hlp » est introuvable.";
    QTest::newRow("unknown context")
        << "Essai.hlp" << good << 7 << "n'a pas de rubrique pour le contexte d'aide 7.";
    QTest::newRow("context 0 of a file that has none")
        << "Essai.hlp" << good << 0 << "n'a pas de rubrique pour le contexte d'aide 0.";
    QTest::newRow("not a help file") << "Essai.hlp"
                                     << QByteArray("\x7f"
                                                   "ELF\x02\x01\x01",
                                                   7)
                                     << 4 << "n'est pas un fichier d'aide";
    QTest::newRow("unreadable file") << "Essai.hlp" << good << -1 << "ne peut pas être lu.";
}

void TestHelpEngine::complainsOnceAndGoesOn()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, contents);
    QFETCH(int, context);
    QFETCH(QString, message);
    const QString path = m_dir->filePath(file);
    if (!contents.isEmpty())
        QVERIFY(writeFile(path, contents));
    const bool unreadable = context < 0;
    if (unreadable) {
        if (geteuid() == 0)
            QSKIP("root reads every file");
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        context = 4;
    }
    engine({m_dir->path()});

    QVERIFY(!m_engine->request(file, HelpEngine::Context, context));
    QList<QMessageBox *> boxes = complaintsShown();
    QCOMPARE(boxes.size(), 1);
    QCOMPARE(boxes.first()->windowTitle(), QStringLiteral("Aide"));
    QCOMPARE(boxes.first()->icon(), QMessageBox::Warning);
    QVERIFY2(boxes.first()->text().contains(message), qPrintable(boxes.first()->text()));
    QVERIFY(!m_engine->window() || !m_engine->window()->isVisible());

    // A second failure takes the place of the first; then help works as soon as it can.
    QVERIFY(!m_engine->request(file, HelpEngine::Context, context));
    QCOMPARE(complaintsShown().size(), 1);
    boxes = complaintsShown();
    QTest::mouseClick(boxes.first()->button(QMessageBox::Ok), Qt::LeftButton);
    QTRY_VERIFY(complaintsShown().isEmpty());
    QFile::remove(path);
    QVERIFY(writeFile(path, helpText(QStringLiteral("Essai"))));
    QVERIFY(m_engine->request(file, HelpEngine::Contents, 0));
    QVERIFY(m_engine->window()->isVisible());
    QVERIFY(complaintsShown().isEmpty());
}

void TestHelpEngine::quitClosesTheWindow()
{
    QVERIFY(
        writeFile(m_dir->filePath(QStringLiteral("Essai.hlp")), helpText(QStringLiteral("Essai"))));
    engine({m_dir->path()});

    QVERIFY(m_engine->request(QStringLiteral("Essai.hlp"), HelpEngine::Quit, 0));
    QVERIFY(!m_engine->window());

    QVERIFY(m_engine->request(QStringLiteral("Essai.hlp"), HelpEngine::Contents, 0));
    QVERIFY(m_engine->window()->isVisible());
    QVERIFY(m_engine->request(QStringLiteral("Essai.hlp"), HelpEngine::Quit, 0));
    QVERIFY(!m_engine->window()->isVisible());
    QVERIFY(m_engine->request(QStringLiteral("Essai.hlp"), HelpEngine::Quit, 0));
    QVERIFY(complaintsShown().isEmpty());
}

// Help asked for from a modal question must be readable and usable while the question
// waits, as a separate help program's window would be.
void TestHelpEngine::helpStaysUsableUnderAModalDialog()
{
    QVERIFY(
        writeFile(m_dir->filePath(QStringLiteral("Essai.hlp")), helpText(QStringLiteral("Essai"))));
    engine({m_dir->path()});
    QDialog question;
    question.setWindowModality(Qt::ApplicationModal);
    question.show();
    QVERIFY(QTest::qWaitForWindowExposed(&question));

    QVERIFY(m_engine->request(QStringLiteral("Essai.hlp"), HelpEngine::Context, 4));
    HelpWindow *window = m_engine->window();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    // Clicks go through the window system, where a modal dialog blocks other windows.
    auto *toolBar = window->findChild<QToolBar *>();
    clickThroughWindow(toolBar->widgetForAction(window->contentsAction()));
    QTRY_COMPARE(window->anchor(), QStringLiteral("contents"));
    QVERIFY(question.isVisible());

    // A complaint, too, can be answered while the question waits.
    QVERIFY(!m_engine->request(QStringLiteral("Absent.hlp"), HelpEngine::Contents, 0));
    QCOMPARE(complaintsShown().size(), 1);
    QMessageBox *complaint = complaintsShown().first();
    QVERIFY(QTest::qWaitForWindowExposed(complaint));
    clickThroughWindow(complaint->button(QMessageBox::Ok));
    QTRY_VERIFY(complaintsShown().isEmpty());
    QVERIFY(question.isVisible());
}

QTEST_MAIN(TestHelpEngine)
#include "tst_helpengine.moc"
