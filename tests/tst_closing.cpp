#include "application.h"
#include "filebytes.h"
#include "principale.h"
#include "quitquestion.h"
#include "settings.h"
#include "startup.h"
#include "x11probe.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <cstdio>

namespace {

constexpr char ChildVariable[] = "MORPHO_CLOSING_CHILD";
const QByteArray VersionOnly("[Morphocalcule]\nversion=1.1\n");
enum { StillRunning = 42, Stuck = 99 };

QByteArray settingsFile()
{
    return FileBytes::read(Settings::path());
}

void removeSettingsFile()
{
    QFile::remove(Settings::path());
    QDir(Settings::path()).removeRecursively();
}

QByteArray savedFile(const QPoint &position, bool informations)
{
    return VersionOnly + "\n[Informations]\nstatus=" + (informations ? "1" : "0") +
           "\n\n[Position]\nx=" + QByteArray::number(position.x()) +
           "\ny=" + QByteArray::number(position.y()) + "\n";
}

QuitQuestion *openQuestion()
{
    auto *question = qobject_cast<QuitQuestion *>(QApplication::activeModalWidget());
    return question && question->isVisible() ? question : nullptr;
}

// What a help engine was asked, with the settings file as it stood at that moment.
struct HelpCall
{
    Application::HelpCommand command;
    int data;
    QByteArray file;
};

// Answers message boxes as they show, keeping what they said and whether the main
// window was already showing then.
class MessageBoxWatcher : public QObject
{
public:
    QStringList texts;
    QStringList titles;
    QList<QMessageBox::Icon> icons;
    QList<bool> mainWindowShown;

    MessageBoxWatcher()
    {
        connect(&m_poll, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box || !box->isVisible())
                return;
            texts.append(box->text());
            titles.append(box->windowTitle());
            icons.append(box->icon());
            const QWidget *main = Application::instance()->mainWindow();
            mainWindowShown.append(main && main->isVisible());
            box->button(QMessageBox::Ok)->click();
        });
        m_poll.start(10);
    }

private:
    QTimer m_poll;
};

} // namespace

class TestClosing : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartCreatesTheFileBeforeTheWindowShows();
    void storedSwitchAndPosition_data();
    void storedSwitchAndPosition();
    void questionLooksAsDesigned();
    void answers_data();
    void answers();
    void everyWayOfClosingAsks_data();
    void everyWayOfClosingAsks();
    void eachRequestAsksAFreshQuestion();
    void savesTheSwitchAndWhereTheWindowWasMoved();
    void saveKeepsOtherEntriesAndRewritesPosition();
    void unwritableFileIsReportedAndKeepsTheProgramRunning();
    void sessionEndAsksTheQuestionOnly_data();
    void sessionEndAsksTheQuestionOnly();
    void agreedSessionEndStopsAtOnceUnsaved();

private:
    void openWindow();
    // Runs the program's loop while request() asks to close and answer() answers the
    // question; the loop's exit code, or StillRunning when the program goes on.
    int closeAndAnswer(const std::function<void()> &request,
                       const std::function<void(QuitQuestion *)> &answer);
    QStringList helpLog() const;

    std::unique_ptr<Principale> m_window;
    QList<HelpCall> m_help;
    int m_questions = 0;
};

void TestClosing::init()
{
    removeSettingsFile();
    m_help.clear();
    m_questions = 0;
    Application *app = Application::instance();
    app->setShowHint(true);
    app->setHelpEngine([this](QWidget *mainWindow, const QString &file,
                              Application::HelpCommand command, int data) {
        if (mainWindow == m_window.get() && file == u"Corpidex.hlp")
            m_help.append({command, data, settingsFile()});
        return true;
    });
}

void TestClosing::cleanup()
{
    m_window.reset();
    removeSettingsFile();
}

void TestClosing::openWindow()
{
    m_window = std::make_unique<Principale>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

int TestClosing::closeAndAnswer(const std::function<void()> &request,
                                const std::function<void(QuitQuestion *)> &answer)
{
    QPointer<QuitQuestion> answered;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        QuitQuestion *question = openQuestion();
        if (!question || question == answered)
            return;
        answered = question;
        ++m_questions;
        answer(question);
    });
    poll.start(10);
    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    connect(&stillRunning, &QTimer::timeout, this, [] { QCoreApplication::exit(StillRunning); });
    // A question that nobody could answer fails the test instead of hanging it.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, [] {
        if (QuitQuestion *question = openQuestion())
            question->done(QuitQuestion::No);
        QCoreApplication::exit(Stuck);
    });
    watchdog.start(60000);
    QTimer::singleShot(0, this, [&] {
        request();
        // Reached only when the loop did not end: a posted end would come first.
        stillRunning.start(0);
    });
    return QCoreApplication::exec();
}

QStringList TestClosing::helpLog() const
{
    QStringList log;
    for (const HelpCall &call : m_help) {
        switch (call.command) {
        case Application::HelpQuit:
            log.append(QStringLiteral("quit %1").arg(call.data));
            break;
        case Application::HelpContext:
            log.append(QStringLiteral("context %1").arg(call.data));
            break;
        case Application::HelpContents:
            log.append(QStringLiteral("contents %1").arg(call.data));
            break;
        }
    }
    return log;
}

void TestClosing::firstStartCreatesTheFileBeforeTheWindowShows()
{
    m_window = std::make_unique<Principale>();
    QCOMPARE(settingsFile(), VersionOnly);
    QVERIFY(m_window->Informations->isChecked());
    QVERIFY(Application::instance()->showHint());
    QVERIFY(m_help.isEmpty());
}

void TestClosing::storedSwitchAndPosition_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("informations");
    QTest::addColumn<QPoint>("position");

    QTest::newRow("status 0, position")
        << QByteArray("[Informations]\nstatus=0\n[Position]\nx=37\ny=-12\n") << false
        << QPoint(37, -12);
    QTest::newRow("status 1") << QByteArray("[Informations]\nstatus=1\n") << true << QPoint(0, 0);
    QTest::newRow("status 0x0, names in capitals")
        << QByteArray("[INFORMATIONS]\nSTATUS=0x0\n[POSITION]\nX=$FFFFFFFF\nY=0x10\n") << false
        << QPoint(-1, 16);
    QTest::newRow("status $A, quoted position")
        << QByteArray("[Informations]\nstatus=$A\n[Position]\nx='5'\ny=\"6\"\n") << true
        << QPoint(5, 6);
    QTest::newRow("unreadable status is on, unreadable position is 0")
        << QByteArray("[Informations]\nstatus=non\n[Position]\nx=12px\ny=2147483648\n") << true
        << QPoint(0, 0);
    QTest::newRow("-0x10 and 0x are unreadable")
        << QByteArray("[Informations]\nstatus=0\n[Position]\nx=-0x10\ny=0x\n") << false
        << QPoint(0, 0);
}

void TestClosing::storedSwitchAndPosition()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, informations);
    QFETCH(QPoint, position);
    Application *app = Application::instance();
    app->setShowHint(!informations);
    QVERIFY(FileBytes::write(Settings::path(), file));

    m_window = std::make_unique<Principale>();
    QCOMPARE(m_window->Informations->isChecked(), informations);
    QCOMPARE(app->showHint(), informations);
    QCOMPARE(m_window->pos(), position);
    QCOMPARE(settingsFile(), file + "\n" + VersionOnly);

    // Wherever the file says, the window opens centred.
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    const QRect screen = m_window->screen()->geometry();
    QTRY_COMPARE(m_window->pos(),
                 QPoint((screen.width() - m_window->frameGeometry().width()) / 2,
                        (screen.height() - m_window->frameGeometry().height()) / 2));
}

void TestClosing::questionLooksAsDesigned()
{
    openWindow();
    QuitQuestion question(m_window.get());
    question.show();
    QVERIFY(QTest::qWaitForWindowExposed(&question));

    QCOMPARE(question.windowTitle(), QStringLiteral("Confirmation"));
    // The caption that window managers show, exactly.
    QProcess property;
    property.start(QStringLiteral("xprop"),
                   {"-id", QString::number(question.winId()), "-notype", "_NET_WM_NAME"});
    QVERIFY(property.waitForFinished());
    QCOMPARE(property.readAllStandardOutput(), QByteArray("_NET_WM_NAME = \"Confirmation\"\n"));
    QCOMPARE(question.textLabel->text(), QStringLiteral("Voulez-vous quitter Morphocalcule 1.1 ?"));
    QVERIFY(!question.iconLabel->pixmap().isNull());
    QCOMPARE(question.windowModality(), Qt::ApplicationModal);
    QVERIFY(question.yesButton->isDefault());
    QCOMPARE(question.focusWidget(), question.yesButton);
    QVERIFY(
        !(question.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(question.windowFlags() & Qt::WindowCloseButtonHint);

    // The icon at the left, the text beside it, wrapped within half the screen.
    const QRect screen = question.screen()->geometry();
    QVERIFY(question.iconLabel->geometry().right() < question.textLabel->geometry().left());
    QVERIFY(question.textLabel->wordWrap());
    QVERIFY(question.textLabel->width() <= screen.width() / 2);
    QVERIFY(question.textLabel->width() >=
            question.textLabel->fontMetrics().horizontalAdvance(question.textLabel->text()));

    // Three buttons of one size in one row below, centred.
    const QList<QPushButton *> buttons{question.yesButton, question.noButton, question.helpButton};
    const QStringList captions{"&Oui", "&Non", "&Aide"};
    for (int i = 0; i < buttons.size(); ++i) {
        QCOMPARE(buttons[i]->text(), captions[i]);
        QCOMPARE(buttons[i]->size(), buttons[0]->size());
        QCOMPARE(buttons[i]->y(), buttons[0]->y());
        QVERIFY(buttons[i]->y() > question.textLabel->geometry().bottom());
        QVERIFY(buttons[i]->y() > question.iconLabel->geometry().bottom());
        QVERIFY(buttons[i]->fontMetrics().horizontalAdvance(captions[i].mid(1)) + 16 <=
                buttons[i]->width());
        if (i > 0)
            QVERIFY(buttons[i]->x() > buttons[i - 1]->geometry().right());
    }
    const int rowLeft = buttons.first()->x();
    const int rowRight = question.width() - buttons.last()->geometry().right() - 1;
    QVERIFY(qAbs(rowLeft - rowRight) <= 1);
    QVERIFY(rowLeft > 0);

    // Centred on the screen, not over the main window.
    const QPoint centre = question.frameGeometry().center();
    QVERIFY(qAbs(centre.x() - screen.center().x()) <= 1);
    QVERIFY(qAbs(centre.y() - screen.center().y()) <= 1);
}

void TestClosing::answers_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("ends");
    QTest::addColumn<QStringList>("help");

    const QStringList closing{"quit 0", "quit 0"};
    QTest::newRow("Oui") << "Oui" << true << closing;
    QTest::newRow("Enter") << "Enter" << true << closing;
    QTest::newRow("Alt+O") << "Alt+O" << true << closing;
    QTest::newRow("Non") << "Non" << false << QStringList();
    QTest::newRow("Esc") << "Esc" << false << QStringList();
    QTest::newRow("Alt+N") << "Alt+N" << false << QStringList();
    QTest::newRow("close box") << "close box" << true << closing;
    QTest::newRow("Aide, then Non") << "Aide" << false << QStringList{"context 4"};
    QTest::newRow("F1, then Non") << "F1" << false << QStringList{"context 4"};
    QTest::newRow("F1 on Non, then Non") << "F1 on Non" << false << QStringList{"context 4"};
    QTest::newRow("Aide twice, then Enter")
        << "Aide twice" << true << QStringList{"context 4", "context 4", "quit 0", "quit 0"};
}

void TestClosing::answers()
{
    QFETCH(QString, answer);
    QFETCH(bool, ends);
    QFETCH(QStringList, help);
    openWindow();
    QCOMPARE(settingsFile(), VersionOnly);

    bool openAfterHelp = true;
    const auto key = [](QuitQuestion *question, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        // Access keys work in the active window only, as the user's keys would.
        question->activateWindow();
        if (QTest::qWaitForWindowActive(question))
            QTest::keyClick(question->focusWidget(), key, modifiers);
    };
    const auto askHelp = [&](QuitQuestion *question, const std::function<void()> &help) {
        help();
        openAfterHelp = openAfterHelp && question->isVisible() && openQuestion() == question;
    };
    const int code = closeAndAnswer(
        [this] { m_window->Quitter1Click(); },
        [&](QuitQuestion *question) {
            if (answer == u"Oui")
                question->yesButton->click();
            else if (answer == u"Enter")
                key(question, Qt::Key_Return);
            else if (answer == u"Alt+O")
                key(question, Qt::Key_O, Qt::AltModifier);
            else if (answer == u"Non")
                QTest::mouseClick(question->noButton, Qt::LeftButton);
            else if (answer == u"Esc")
                key(question, Qt::Key_Escape);
            else if (answer == u"Alt+N")
                key(question, Qt::Key_N, Qt::AltModifier);
            else if (answer == u"close box")
                X11Probe::sendDeleteRequest(quint32(question->winId()));
            else if (answer == u"Aide") {
                askHelp(question, [&] { QTest::mouseClick(question->helpButton, Qt::LeftButton); });
                question->noButton->click();
            } else if (answer == u"F1") {
                askHelp(question, [&] { key(question, Qt::Key_F1); });
                question->noButton->click();
            } else if (answer == u"F1 on Non") {
                question->noButton->setFocus();
                askHelp(question, [&] { key(question, Qt::Key_F1); });
                question->noButton->click();
            } else if (answer == u"Aide twice") {
                askHelp(question, [&] { question->helpButton->click(); });
                askHelp(question, [&] { question->helpButton->click(); });
                key(question, Qt::Key_Enter);
            }
        });

    QCOMPARE(m_questions, 1);
    QVERIFY(openAfterHelp);
    QCOMPARE(helpLog(), help);
    QCOMPARE(code, ends ? 0 : int(StillRunning));
    // The window is not hidden on its way out.
    QVERIFY(m_window->isVisible());
    if (!ends) {
        QCOMPARE(settingsFile(), VersionOnly);
        return;
    }
    const QByteArray saved = savedFile(m_window->pos(), true);
    QCOMPARE(settingsFile(), saved);
    // Help quits before the save and again after it.
    const qsizetype quits = m_help.size() - 2;
    QCOMPARE(m_help[quits].file, VersionOnly);
    QCOMPARE(m_help[quits + 1].file, saved);
}

void TestClosing::everyWayOfClosingAsks_data()
{
    QTest::addColumn<QString>("way");
    QTest::newRow("popup menu item Quitter") << "menu";
    QTest::newRow("Quitter handler") << "handler";
    QTest::newRow("close box") << "close box";
    QTest::newRow("close()") << "close";
}

void TestClosing::everyWayOfClosingAsks()
{
    QFETCH(QString, way);
    openWindow();
    const int code = closeAndAnswer(
        [&] {
            if (way == u"menu")
                m_window->Quitter2->trigger();
            else if (way == u"handler")
                m_window->Quitter1Click();
            else if (way == u"close box") {
                // The request arrives through the X server; wait until it is dealt with.
                X11Probe::sendDeleteRequest(quint32(m_window->winId()));
                QTRY_VERIFY(m_questions == 1 && !openQuestion());
            } else
                m_window->close();
        },
        [](QuitQuestion *question) { question->yesButton->click(); });
    QCOMPARE(m_questions, 1);
    QCOMPARE(code, 0);
    QCOMPARE(helpLog(), (QStringList{"quit 0", "quit 0"}));
    QCOMPARE(settingsFile(), savedFile(m_window->pos(), true));
}

void TestClosing::eachRequestAsksAFreshQuestion()
{
    openWindow();
    QPointer<QuitQuestion> first;
    const auto answerNo = [&](QuitQuestion *question) {
        first = question;
        QTest::keyClick(question->focusWidget(), Qt::Key_Escape);
    };
    QCOMPARE(closeAndAnswer([this] { m_window->Quitter1Click(); }, answerNo), int(StillRunning));
    QVERIFY(!first); // released after its answer
    bool focusedOnOui = false;
    const int code = closeAndAnswer([this] { m_window->Quitter1Click(); },
                                    [&](QuitQuestion *question) {
                                        focusedOnOui =
                                            question->focusWidget() == question->yesButton;
                                        QTest::keyClick(question->focusWidget(), Qt::Key_Return);
                                    });
    QCOMPARE(m_questions, 2);
    QVERIFY(focusedOnOui);
    QCOMPARE(code, 0);
}

void TestClosing::savesTheSwitchAndWhereTheWindowWasMoved()
{
    openWindow();
    m_window->Informations->trigger();
    QVERIFY(!Application::instance()->showHint());
    m_window->move(m_window->pos() + QPoint(-300, 123));
    QTRY_COMPARE(m_window->frameGeometry().topLeft(), m_window->pos());
    const QPoint moved = m_window->pos();
    const int code = closeAndAnswer([this] { m_window->Quitter1Click(); },
                                    [](QuitQuestion *question) { question->yesButton->click(); });
    QCOMPARE(code, 0);
    QCOMPARE(settingsFile(), savedFile(moved, false));
}

void TestClosing::saveKeepsOtherEntriesAndRewritesPosition()
{
    QVERIFY(FileBytes::write(Settings::path(), "[Morphocalcule]\nversion=1.0\nauteur=moi\n"
                                               "\n[Position]\nw=427\ny=9\nx=8\n"
                                               "\n[Informations]\nstatus=1\n"
                                               "\n[Autre]\ncl\xE9=\xE9t\xE9\n"));
    openWindow();
    const int code = closeAndAnswer([this] { m_window->Quitter1Click(); },
                                    [](QuitQuestion *question) { question->yesButton->click(); });
    QCOMPARE(code, 0);
    QCOMPARE(settingsFile(), "[Morphocalcule]\nversion=1.1\nauteur=moi\n"
                             "\n[Informations]\nstatus=1\n"
                             "\n[Autre]\ncl\xE9=\xE9t\xE9\n"
                             "\n[Position]\nx=" +
                                 QByteArray::number(m_window->x()) +
                                 "\ny=" + QByteArray::number(m_window->y()) + "\n");
}

void TestClosing::unwritableFileIsReportedAndKeepsTheProgramRunning()
{
    // A folder in the settings file's place: nothing can be written there.
    QVERIFY(QDir().mkpath(Settings::path()));
    const QString report = QStringLiteral("Ne peut écrire dans %1.").arg(Settings::path());
    Application *app = Application::instance();
    MessageBoxWatcher boxes;

    m_window = std::make_unique<Principale>();
    QCOMPARE(boxes.texts, QStringList{report});
    QCOMPARE(boxes.titles, QStringList{"Morphocalcule"});
    QCOMPARE(boxes.icons, QList<QMessageBox::Icon>{QMessageBox::Critical});
    QCOMPARE(boxes.mainWindowShown, QList<bool>{false});
    QVERIFY(m_window->Informations->isChecked());
    QVERIFY(app->showHint());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    for (int attempt = 1; attempt <= 2; ++attempt) {
        const int code =
            closeAndAnswer([this] { m_window->Quitter1Click(); },
                           [](QuitQuestion *question) { question->yesButton->click(); });
        QCOMPARE(code, int(StillRunning));
        QCOMPARE(m_questions, attempt);
        QCOMPARE(boxes.texts.size(), 1 + attempt);
        QCOMPARE(boxes.texts.last(), report);
        QCOMPARE(boxes.mainWindowShown.last(), true);
        // Only the help quit before the save was sent.
        QCOMPARE(helpLog().size(), attempt);
        QCOMPARE(helpLog().last(), QStringLiteral("quit 0"));
        QVERIFY(m_window->isVisible());
        QVERIFY(QFileInfo(Settings::path()).isDir());
    }
    // And the window is still in use.
    m_window->Calculer2->trigger();
    QCOMPARE(m_window->Label4->text(), QStringLiteral("57.50 Kg"));
}

void TestClosing::sessionEndAsksTheQuestionOnly_data()
{
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("agrees");
    QTest::newRow("Oui lets the session end") << "Oui" << true;
    QTest::newRow("close box lets the session end") << "close box" << true;
    QTest::newRow("Non keeps the program") << "Non" << false;
}

void TestClosing::sessionEndAsksTheQuestionOnly()
{
    QFETCH(QString, answer);
    QFETCH(bool, agrees);
    openWindow();
    bool agreed = !agrees;
    const int code = closeAndAnswer([&] { agreed = m_window->agreesToEndSession(); },
                                    [&](QuitQuestion *question) {
                                        if (answer == u"Oui")
                                            question->yesButton->click();
                                        else if (answer == u"Non")
                                            question->noButton->click();
                                        else
                                            X11Probe::sendDeleteRequest(quint32(question->winId()));
                                    });
    QCOMPARE(m_questions, 1);
    QCOMPARE(agreed, agrees);
    // No closing steps: the program neither saves nor ends by itself.
    QCOMPARE(code, int(StillRunning));
    QVERIFY(m_help.isEmpty());
    QCOMPARE(settingsFile(), VersionOnly);
    QVERIFY(m_window->isVisible());
}

void TestClosing::agreedSessionEndStopsAtOnceUnsaved()
{
    // This process carries the running-instance mark too; the child must not stop on it.
    Application *app = Application::instance();
    app->setTitle(QStringLiteral("tst_closing"));
    const auto restoreTitle = qScopeGuard([app] { app->setTitle(QStringLiteral("Morphocalcule")); });
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ChildVariable), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), QStringList());
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::NormalExit);
    QCOMPARE(child.exitCode(), 0);
    QCOMPARE(child.readAllStandardOutput(), QByteArray("shown\n"));
    QCOMPARE(settingsFile(), VersionOnly);
}

// The child: the program as it starts, ended by the session manager's quit once its
// window shows. A question that shows anyway is answered "&Oui", which would save.
int runUntilTheSessionEnds(char *programName)
{
    QTimer *watch = nullptr;
    return Startup::run(programName, [&watch]() -> std::unique_ptr<QWidget> {
        auto window = std::make_unique<Principale>();
        watch = new QTimer(window.get());
        QObject::connect(watch, &QTimer::timeout, window.get(), [window = window.get(), watch] {
            if (QuitQuestion *question = openQuestion()) {
                std::printf("asked\n");
                question->yesButton->click();
            } else if (window->isVisible() && watch->property("sent").isNull()) {
                watch->setProperty("sent", true);
                std::printf("shown\n");
                std::fflush(stdout);
                QEvent quit(QEvent::Quit);
                QCoreApplication::sendEvent(QCoreApplication::instance(), &quit);
            }
        });
        watch->start(10);
        return window;
    });
}

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet(ChildVariable))
        return runUntilTheSessionEnds(argv[0]);
    int applicationArgc = 1;
    char *applicationArgv[] = {argv[0], nullptr};
    Application app(applicationArgc, applicationArgv);
    app.setTitle(QStringLiteral("Morphocalcule"));
    app.setHelpFile(QStringLiteral("Corpidex.hlp"));
    TestClosing test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_closing.moc"
