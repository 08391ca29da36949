#include "applicationtest.h"
#include "helpcontext.h"
#include "principale.h"
#include "spinedit.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <memory>

namespace {

struct Request
{
    Application::HelpCommand command;
    int data;
    QString file;
    bool operator==(const Request &other) const = default;
};

// Sees whether a widget is ever handed an F1.
class F1Spy : public QObject
{
public:
    int seen = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if ((event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) &&
            static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1)
            ++seen;
        return false;
    }
};

} // namespace

Q_DECLARE_METATYPE(Request)

// The help requests the program makes: "Aide" and F1, seen through a recording engine.
class TestHelpCommands : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void aideInThePopupAsksForTheContents();
    void f1OverTheMainWindowAsksForNothing_data();
    void f1OverTheMainWindowAsksForNothing();
    void f1OnAHighlightedPopupItemAsksForContextZero_data();
    void f1OnAHighlightedPopupItemAsksForContextZero();
    void f1OnThePopupWithNothingHighlightedAsksForNothing();
    void f1WalksOutwardsToTheFirstContext_data();
    void f1WalksOutwardsToTheFirstContext();

private:
    void openPopup();

    std::unique_ptr<Principale> m_window;
    QList<Request> m_requests;
};

void TestHelpCommands::init()
{
    m_requests.clear();
    Application::instance()->setHelpEngine(
        [this](QWidget *, const QString &file, Application::HelpCommand command, int data) {
            m_requests.append({command, data, file});
            return true;
        });
    m_window = std::make_unique<Principale>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestHelpCommands::cleanup()
{
    m_window.reset();
    Application::instance()->setHelpEngine({});
}

void TestHelpCommands::openPopup()
{
    QTest::mouseRelease(m_window->Label5, Qt::RightButton, {}, QPoint(5, 5));
    QTRY_VERIFY(m_window->PopupMenu1->isVisible());
}

void TestHelpCommands::aideInThePopupAsksForTheContents()
{
    openPopup();
    QMenu *menu = m_window->PopupMenu1;
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(m_window->Aide1).center());
    QTRY_VERIFY(!menu->isVisible());
    QCOMPARE(m_requests,
             (QList<Request>{{Application::HelpContents, 0, QStringLiteral("Corpidex.hlp")}}));
}

void TestHelpCommands::f1OverTheMainWindowAsksForNothing_data()
{
    QTest::addColumn<QString>("focus");
    QTest::newRow("height field") << "Edit1";
    QTest::newRow("first radio button") << "RadioButton1";
    QTest::newRow("second radio button") << "RadioButton2";
    QTest::newRow("nothing focused") << "";
}

void TestHelpCommands::f1OverTheMainWindowAsksForNothing()
{
    QFETCH(QString, focus);
    QWidget *target = m_window.get();
    if (!focus.isEmpty()) {
        target = m_window->findChild<QWidget *>(focus);
        target->setFocus(Qt::OtherFocusReason);
        QTRY_COMPARE(QApplication::focusWidget(), target);
    } else if (QWidget *focused = QApplication::focusWidget()) {
        focused->clearFocus();
    }
    const QString heightText = m_window->Edit1->text();
    F1Spy spy;
    target->installEventFilter(&spy);

    QTest::keyClick(target, Qt::Key_F1);
    QTest::keyClick(target, Qt::Key_F1, Qt::ShiftModifier); // Qt's "What's this?"

    QVERIFY(m_requests.isEmpty());
    QCOMPARE(spy.seen, 0);
    QCOMPARE(m_window->Edit1->text(), heightText);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestHelpCommands::f1OnAHighlightedPopupItemAsksForContextZero_data()
{
    QTest::addColumn<QString>("item");
    QTest::newRow("Calculer") << "&Calculer";
    QTest::newRow("A propos") << "&A propos";
    QTest::newRow("Aide") << "A&ide";
    QTest::newRow("Informations") << "I&nformations";
    QTest::newRow("Quitter") << "&Quitter";
}

void TestHelpCommands::f1OnAHighlightedPopupItemAsksForContextZero()
{
    QFETCH(QString, item);
    openPopup();
    QMenu *menu = m_window->PopupMenu1;
    QAction *action = nullptr;
    for (QAction *candidate : menu->actions())
        action = candidate->text() == item ? candidate : action;
    QVERIFY(action);
    QTest::mouseMove(menu, menu->actionGeometry(action).center());
    QTRY_COMPARE(menu->activeAction(), action);
    const bool checked = m_window->Informations->isChecked();

    QTest::keyClick(menu, Qt::Key_F1);

    QCOMPARE(m_requests,
             (QList<Request>{{Application::HelpContext, 0, QStringLiteral("Corpidex.hlp")}}));
    // Asking for help chooses nothing.
    QVERIFY(m_window->Label4->text().isEmpty());
    QCOMPARE(m_window->Informations->isChecked(), checked);
    QVERIFY(m_window->isVisible());
    menu->hide();
}

void TestHelpCommands::f1OnThePopupWithNothingHighlightedAsksForNothing()
{
    openPopup();
    QMenu *menu = m_window->PopupMenu1;
    QVERIFY(!menu->activeAction());
    QTest::keyClick(menu, Qt::Key_F1);
    QVERIFY(m_requests.isEmpty());
    menu->hide();
}

// The way any window of the program, the quit question among them, gets its topic:
// the first non-zero context from the focus outwards.
void TestHelpCommands::f1WalksOutwardsToTheFirstContext_data()
{
    QTest::addColumn<int>("dialogContext");
    QTest::addColumn<int>("groupContext");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("button with 0 in a window with 4") << 4 << 0 << "button" << QList<int>{4};
    QTest::newRow("field in a group with 9, window 4") << 4 << 9 << "field" << QList<int>{9};
    QTest::newRow("button beside that group") << 4 << 9 << "button" << QList<int>{4};
    QTest::newRow("all 0") << 0 << 0 << "field" << QList<int>{};
}

void TestHelpCommands::f1WalksOutwardsToTheFirstContext()
{
    QFETCH(int, dialogContext);
    QFETCH(int, groupContext);
    QFETCH(QString, focus);
    QFETCH(QList<int>, expected);

    QDialog dialog(m_window.get());
    auto *layout = new QVBoxLayout(&dialog);
    auto *group = new QGroupBox(QStringLiteral("Groupe"), &dialog);
    auto *field = new QLineEdit(group);
    (new QVBoxLayout(group))->addWidget(field);
    auto *button = new QPushButton(QStringLiteral("&Oui"), &dialog);
    layout->addWidget(group);
    layout->addWidget(button);
    HelpContext::set(&dialog, dialogContext);
    HelpContext::set(group, groupContext);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QWidget *target = focus == u"field" ? static_cast<QWidget *>(field) : button;
    target->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(QApplication::focusWidget(), target);

    QTest::keyClick(target, Qt::Key_F1);

    QList<Request> requests;
    for (int context : expected)
        requests.append({Application::HelpContext, context, QStringLiteral("Corpidex.hlp")});
    QCOMPARE(m_requests, requests);
    QVERIFY(dialog.isVisible());
}

MORPHO_APPLICATION_TEST_MAIN(TestHelpCommands)
#include "tst_helpcommands.moc"
