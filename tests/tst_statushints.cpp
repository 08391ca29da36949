#include "aboutbox.h"
#include "applicationtest.h"
#include "bevelpanel.h"
#include "hintbubble.h"
#include "pointerwatch.h"
#include "principale.h"
#include "secretpanel.h"
#include "speeditem.h"
#include "spinbutton.h"
#include "spinedit.h"
#include "statusbar.h"
#include "stretchedimage.h"
#include "tooltiptracker.h"

#include <QAccessible>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QLabel>
#include <QMenu>
#include <QPaintEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <clocale>
#include <memory>

namespace {

const QString ResultHint = QStringLiteral("Résultat du calcul.");
const QString HeightHint = QStringLiteral("Entrer votre taille en cm (mini 100 cm).");
const QString SexHint = QStringLiteral("Sélectionner votre sexe.");

// Far from the centred window: outside every window of the program.
const QPoint Outside(5, 5);

// Runs the loop until the queue has emptied, as the program's own loop does, so that
// the idle work runs (QTest's waits process events without ever blocking).
void runUntilIdle()
{
    QEventLoop loop;
    QObject::connect(Application::instance(), &Application::idle, &loop, &QEventLoop::quit);
    loop.exec();
}

// Moves the real pointer of the X server.
void movePointer(QWidget *widget, const QPoint &at)
{
    QCursor::setPos(widget->mapToGlobal(at));
}

TooltipTracker *tooltips()
{
    return Application::instance()->findChild<TooltipTracker *>();
}

bool bubbleShownAfterIdle()
{
    runUntilIdle();
    return tooltips()->bubble()->isVisible();
}

QWidget *tooltipControlAfterIdle()
{
    runUntilIdle();
    return tooltips()->control();
}

bool bubbleHiddenAfterIdle()
{
    runUntilIdle();
    return !tooltips()->bubble()->isVisible();
}

// As the about command shows it, without waiting for it to close.
void showModal(AboutBox &box)
{
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
}

// Gathers, in a window's coordinates, what the repaints of its widgets cover.
class PaintRecorder : public QObject
{
public:
    explicit PaintRecorder(QWidget *window) : m_window(window) { qApp->installEventFilter(this); }
    ~PaintRecorder() override { qApp->removeEventFilter(this); }

    QRegion painted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) {
            const auto *widget = static_cast<QWidget *>(watched);
            if (widget->window() == m_window)
                painted += static_cast<QPaintEvent *>(event)->region().translated(
                    widget->mapTo(m_window, QPoint()));
        }
        return false;
    }

private:
    QWidget *const m_window;
};

// Waits, idling now and then, until the watch has noticed a change.
bool changeNoticed(PointerWatch &watch)
{
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        runUntilIdle();
        if (watch.takeChange())
            return true;
        QTest::qWait(10);
    }
    return false;
}

QRegularExpression wholePattern(const char *pattern)
{
    return QRegularExpression(QStringLiteral("^%1$").arg(QLatin1String(pattern)));
}

} // namespace

class TestStatusHints : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void clockShowsAtOnceAndRuns();
    void clockFollowsALocaleChange();
    void clockTickRepaintsOnlyItsPanel();
    void hintLineFollowsThePointer_data();
    void hintLineFollowsThePointer();
    void hintLineEmptiesWhenThePointerLeaves();
    void popupItemHintShowsWhole();
    void tooltipShowsTheShortHintBelowItsControl_data();
    void tooltipShowsTheShortHintBelowItsControl();
    void tooltipStaysWhileTheMouseMovesInside();
    void tooltipHides_data();
    void tooltipHides();
    void tooltipComesQuicklyAfterAnother();
    void switchedOffTooltipsLeaveTheHintLine();
    void aboutBoxShowsShortHintsOnly_data();
    void aboutBoxShowsShortHintsOnly();
    void hintFollowsWhatChangesUnderARestingPointer();
    void hintFollowsAWindowClosingUnderARestingPointer();
    void hintLineFollowsThePointerBehindAModalBox();
    void aRestingProgramLeavesThePointerAlone();

private:
    void controls();
    QWidget *widget(const QString &name) const;
    QString hintLineAfterIdle() const;
    void hover(QWidget *target, const QPoint &at, const QString &hint);
    void showTooltipOn(QWidget *target, const QPoint &at);

    std::unique_ptr<Principale> m_window;
};

void TestStatusHints::init()
{
    std::setlocale(LC_ALL, "C.UTF-8");
    QCursor::setPos(Outside);
    Application::instance()->setShowHint(true);
    m_window = std::make_unique<Principale>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestStatusHints::cleanup()
{
    m_window.reset();
    QCursor::setPos(Outside);
    runUntilIdle();
    std::setlocale(LC_ALL, "C.UTF-8");
}

QWidget *TestStatusHints::widget(const QString &name) const
{
    if (name == u"Principale")
        return m_window.get();
    if (name == u"SpinButton")
        return m_window->Edit1->findChild<SpinButton *>();
    if (name.startsWith(u"StatusBar panel "))
        return m_window->StatusBar->panel(name.back().digitValue());
    if (auto *item = m_window->findChild<SpeedItem *>(name))
        return item->button();
    return m_window->findChild<QWidget *>(name);
}

QString TestStatusHints::hintLineAfterIdle() const
{
    runUntilIdle();
    return m_window->StatusBar->panelText(1);
}

// Rests the pointer on a widget and waits for the hint line to show the hint.
void TestStatusHints::hover(QWidget *target, const QPoint &at, const QString &hint)
{
    movePointer(target, at);
    QTRY_COMPARE(hintLineAfterIdle(), hint);
}

void TestStatusHints::showTooltipOn(QWidget *target, const QPoint &at)
{
    movePointer(target, at);
    QTRY_VERIFY(bubbleShownAfterIdle());
}

void TestStatusHints::clockShowsAtOnceAndRuns()
{
    const QLabel *clock = m_window->StatusBar->panel(0);
    const QString first = clock->text();
    QVERIFY2(wholePattern("\\d\\d:\\d\\d:\\d\\d").match(first).hasMatch(), qPrintable(first));
    QCOMPARE(clock->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    QCOMPARE(clock->width(), 60);
    QTRY_VERIFY_WITH_TIMEOUT(clock->text() != first, 5000);
    QVERIFY(wholePattern("\\d\\d:\\d\\d:\\d\\d").match(clock->text()).hasMatch());

    // Screen readers read both panels.
    hover(m_window->Label5, {10, 6}, ResultHint);
    for (int panel : {0, 1}) {
        QAccessibleInterface *readable =
            QAccessible::queryAccessibleInterface(m_window->StatusBar->panel(panel));
        QVERIFY(readable);
        QCOMPARE(readable->text(QAccessible::Name), m_window->StatusBar->panelText(panel));
    }
}

// The text cursor, which blinks, is kept out of the height field.
void TestStatusHints::clockTickRepaintsOnlyItsPanel()
{
    m_window->RadioButton1->setFocus();
    const QLabel *clock = m_window->StatusBar->panel(0);
    QString shown = clock->text();
    QTRY_VERIFY_WITH_TIMEOUT(clock->text() != shown, 5000);
    runUntilIdle();

    PaintRecorder recorder(m_window.get());
    for (int tick = 0; tick < 2; ++tick) {
        shown = clock->text();
        QTRY_VERIFY_WITH_TIMEOUT(clock->text() != shown, 5000);
    }
    QTRY_VERIFY(!recorder.painted.isEmpty());
    const QRect panel(clock->mapTo(m_window.get(), QPoint()), clock->size());
    QCOMPARE(recorder.painted.boundingRect().united(panel), panel);
}

void TestStatusHints::clockFollowsALocaleChange()
{
    const QLabel *clock = m_window->StatusBar->panel(0);
    QVERIFY(std::setlocale(LC_ALL, "en_US.UTF-8"));
    QEvent toApplication(QEvent::LocaleChange);
    QCoreApplication::sendEvent(qApp, &toApplication);
    QTRY_VERIFY_WITH_TIMEOUT(
        wholePattern("(0\\d|1[0-2]):\\d\\d:\\d\\d (AM|PM)").match(clock->text()).hasMatch(), 5000);

    QVERIFY(std::setlocale(LC_ALL, "fr_FR.UTF-8"));
    QEvent toWindow(QEvent::LocaleChange);
    QCoreApplication::sendEvent(m_window.get(), &toWindow);
    QTRY_VERIFY_WITH_TIMEOUT(wholePattern("\\d\\d:\\d\\d:\\d\\d").match(clock->text()).hasMatch(),
                             5000);
}

// Every control of the main window and the places between them, with what the hint
// line and the tooltip show there.
void TestStatusHints::controls()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QString>("tooltip");

    const QString result = QStringLiteral("Résultat");
    const QString height = QStringLiteral("Taille");
    const QString sex = QStringLiteral("Choix du sexe");
    QTest::newRow("empty result label") << "Label4" << QPoint(1, 6) << ResultHint << result;
    QTest::newRow("result caption") << "Label5" << QPoint(10, 6) << ResultHint << result;
    QTest::newRow("height panel") << "Panel1" << QPoint(3, 80) << HeightHint << height;
    QTest::newRow("height caption") << "Label1" << QPoint(5, 6) << HeightHint << height;
    QTest::newRow("unit label") << "Label3" << QPoint(5, 6) << HeightHint << height;
    QTest::newRow("height field") << "Edit1" << QPoint(10, 10) << HeightHint << height;
    QTest::newRow("height field's spin button")
        << "SpinButton" << QPoint(4, 4) << HeightHint << height;
    QTest::newRow("sex panel") << "Panel2" << QPoint(3, 80) << SexHint << sex;
    QTest::newRow("sex caption") << "Label2" << QPoint(5, 6) << SexHint << sex;
    QTest::newRow("man") << "RadioButton1" << QPoint(5, 8) << SexHint << sex;
    QTest::newRow("woman") << "RadioButton2" << QPoint(60, 8) << SexHint << sex;
    QTest::newRow("window below the panels") << "Principale" << QPoint(5, 165) << ""
                                             << "";
    QTest::newRow("window between the panels") << "Principale" << QPoint(209, 100) << ""
                                               << "";
    QTest::newRow("tool bar Calculer")
        << "Calculer1" << QPoint(27, 27) << "Lance le calcul du poids idéal."
        << "Calculer";
    QTest::newRow("tool bar A propos")
        << "Apropos1" << QPoint(27, 27) << "A propos de Morphocalcule 1.1"
        << "A propos";
    QTest::newRow("tool bar Aide") << "Aide" << QPoint(27, 27) << "Affiche une aide d'utilisation."
                                   << "Aide";
    QTest::newRow("tool bar Quitter") << "Quitter1" << QPoint(27, 27) << "Quitte l'application."
                                      << "Quitter";
    QTest::newRow("tool bar background") << "SpeedBar1" << QPoint(250, 30) << ""
                                         << "";
    QTest::newRow("status bar, clock") << "StatusBar panel 0" << QPoint(30, 8) << ""
                                       << "";
    QTest::newRow("status bar, hint line") << "StatusBar panel 1" << QPoint(200, 8) << ""
                                           << "";
}

void TestStatusHints::hintLineFollowsThePointer_data()
{
    controls();
}

void TestStatusHints::hintLineFollowsThePointer()
{
    QFETCH(QString, target);
    QFETCH(QPoint, at);
    QFETCH(QString, hint);
    QWidget *over = widget(target);
    QVERIFY(over);

    // Start from another hint, so that each row shows a change.
    if (hint == SexHint)
        hover(m_window->Label5, {10, 6}, ResultHint);
    else
        hover(m_window->Panel2, {3, 80}, SexHint);
    hover(over, at, hint);
    QCOMPARE(Application::instance()->hint(), hint);
}

void TestStatusHints::hintLineEmptiesWhenThePointerLeaves()
{
    hover(m_window->Edit1, {10, 10}, HeightHint);
    QCursor::setPos(Outside);
    QTRY_COMPARE(hintLineAfterIdle(), QString());
}

void TestStatusHints::popupItemHintShowsWhole()
{
    hover(m_window->Label5, {10, 6}, ResultHint);
    QMenu *menu = m_window->PopupMenu1;
    QTest::mousePress(m_window->Label5, Qt::RightButton, {}, {10, 6});
    QTest::mouseRelease(m_window->Label5, Qt::RightButton, {}, {10, 6});
    QTRY_VERIFY(menu->isVisible());

    const auto onItem = [menu](QAction *item) {
        QCursor::setPos(menu->mapToGlobal(menu->actionGeometry(item).center()));
    };
    onItem(m_window->Informations);
    QTRY_COMPARE(hintLineAfterIdle(),
                 QStringLiteral("Option d'affichage des panneaux d'information"));
    onItem(m_window->N2);
    QTRY_COMPARE(hintLineAfterIdle(), QString());
    onItem(m_window->Calculer2);
    QTRY_COMPARE(hintLineAfterIdle(), QStringLiteral("Lance le calcul du poids idéal."));
    onItem(m_window->Quitter2);
    QTRY_COMPARE(hintLineAfterIdle(), QStringLiteral("Quitte l'application."));
    // No tooltip over a menu.
    QVERIFY(!tooltips()->bubble()->isVisible());
    QCOMPARE(tooltips()->pendingDelay(), 0);

    QTest::keyClick(menu, Qt::Key_Escape);
    QTRY_VERIFY(!menu->isVisible());
    hover(m_window->Panel2, {3, 80}, SexHint);
    hover(m_window->Label5, {10, 6}, ResultHint);
}

void TestStatusHints::tooltipShowsTheShortHintBelowItsControl_data()
{
    controls();
}

void TestStatusHints::tooltipShowsTheShortHintBelowItsControl()
{
    QFETCH(QString, target);
    QFETCH(QPoint, at);
    QFETCH(QString, tooltip);
    QWidget *control = widget(target);
    QVERIFY(control);

    movePointer(control, at);
    QTRY_COMPARE(tooltipControlAfterIdle(), control);
    if (tooltip.isEmpty()) {
        // The rest is over once nothing is pending; nothing has shown.
        QTRY_COMPARE(tooltips()->pendingDelay(), 0);
        QVERIFY(bubbleHiddenAfterIdle());
        return;
    }
    QTRY_VERIFY(bubbleShownAfterIdle());
    const HintBubble *bubble = tooltips()->bubble();
    QCOMPARE(bubble->text(), tooltip);
    QCOMPARE(bubble->pos(), control->mapToGlobal(QPoint(0, control->height() + 6)));
    const QSize laidOut = bubble->fontMetrics()
                              .boundingRect(QRect(0, 0, bubble->screen()->geometry().width(), 0),
                                            Qt::TextWordWrap, tooltip)
                              .size();
    QCOMPARE(bubble->size(), laidOut + QSize(6, 2));
    QCOMPARE(bubble->backgroundRole(), QPalette::ToolTipBase);
    QCOMPARE(bubble->foregroundRole(), QPalette::ToolTipText);
    // It takes nothing from the window the user works in.
    QVERIFY(m_window->isActiveWindow());
}

void TestStatusHints::tooltipStaysWhileTheMouseMovesInside()
{
    showTooltipOn(m_window->Panel2, {3, 80});
    const QPoint shownAt = tooltips()->bubble()->pos();
    for (const QPoint at : {QPoint(190, 80), QPoint(100, 4), QPoint(3, 30)}) {
        movePointer(m_window->Panel2, at);
        QVERIFY(bubbleShownAfterIdle());
        QCOMPARE(tooltips()->pendingDelay(), 0);
        QCOMPARE(tooltips()->bubble()->pos(), shownAt);
    }
}

void TestStatusHints::tooltipHides_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("mouse onto the window background") << "leave";
    QTest::newRow("mouse out of the program") << "outside";
    QTest::newRow("click") << "click";
    QTest::newRow("key press") << "key";
    QTest::newRow("time out") << "time";
}

void TestStatusHints::tooltipHides()
{
    QFETCH(QString, how);
    showTooltipOn(m_window->Label5, {10, 6});
    if (how == u"leave")
        movePointer(m_window.get(), {5, 165});
    else if (how == u"outside")
        QCursor::setPos(Outside);
    else if (how == u"click")
        QTest::mouseClick(m_window->Label5, Qt::LeftButton, {}, {10, 6});
    else if (how == u"key")
        QTest::keyClick(m_window.get(), Qt::Key_Shift);
    QTRY_VERIFY_WITH_TIMEOUT(bubbleHiddenAfterIdle(), 5000);
    if (how == u"click" || how == u"key" || how == u"time") {
        // Resting on, the mouse brings no bubble back.
        QCOMPARE(tooltips()->control(), m_window->Label5);
        QVERIFY(bubbleHiddenAfterIdle());
        QCOMPARE(tooltips()->pendingDelay(), 0);
    }
}

void TestStatusHints::tooltipComesQuicklyAfterAnother()
{
    movePointer(m_window.get(), {5, 165});
    QTRY_COMPARE(tooltipControlAfterIdle(), m_window.get());
    movePointer(m_window->Label5, {10, 6});
    QTRY_COMPARE(tooltipControlAfterIdle(), m_window->Label5);
    QCOMPARE(tooltips()->pendingDelay(), int(TooltipTracker::RestDelay));
    QTRY_VERIFY(bubbleShownAfterIdle());

    movePointer(m_window->Panel1, {3, 80});
    QTRY_COMPARE(tooltipControlAfterIdle(), static_cast<QWidget *>(m_window->Panel1));
    QVERIFY(!tooltips()->bubble()->isVisible());
    QCOMPARE(tooltips()->pendingDelay(), int(TooltipTracker::QuickRestDelay));
    QTRY_VERIFY(bubbleShownAfterIdle());
    QCOMPARE(tooltips()->bubble()->text(), QStringLiteral("Taille"));
}

void TestStatusHints::switchedOffTooltipsLeaveTheHintLine()
{
    showTooltipOn(m_window->Label5, {10, 6});
    m_window->Informations->trigger();
    QVERIFY(!m_window->Informations->isChecked());
    QVERIFY(!tooltips()->bubble()->isVisible());

    hover(m_window->Panel1, {3, 80}, HeightHint);
    hover(m_window->RadioButton2, {60, 8}, SexHint);
    QVERIFY(bubbleHiddenAfterIdle());
    QCOMPARE(tooltips()->pendingDelay(), 0);

    m_window->Informations->trigger();
    QVERIFY(m_window->Informations->isChecked());
    movePointer(m_window->Label1, {5, 6});
    QTRY_VERIFY(bubbleShownAfterIdle());
    QCOMPARE(tooltips()->bubble()->text(), QStringLiteral("Taille"));
}

// The about box's hints have short parts only: the hint line stays empty over it, and its
// bubbles are those of the picture, of "Ok" and, while the credits roll, of the panel.
void TestStatusHints::aboutBoxShowsShortHintsOnly_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<bool>("rolling");
    QTest::addColumn<bool>("tooltipsOn");
    QTest::addColumn<QString>("tooltip"); // empty: no control of its own, no bubble

    QTest::newRow("picture") << "ProgramIcon" << QPoint(25, 25) << false << true << "Click !";
    QTest::newRow("Ok") << "BitBtn1" << QPoint(37, 12) << false << true << "Refermer cet écran";
    QTest::newRow("panel at rest") << "SecretPanel1" << QPoint(150, 140) << false << true << "";
    QTest::newRow("product name at rest") << "ProductName" << QPoint(50, 18) << false << true << "";
    QTest::newRow("panel while rolling")
        << "SecretPanel1" << QPoint(150, 90) << true << true << "Click pour fermer cet écran";
    QTest::newRow("picture, tooltips off")
        << "ProgramIcon" << QPoint(25, 25) << false << false << "";
    QTest::newRow("panel while rolling, tooltips off")
        << "SecretPanel1" << QPoint(150, 90) << true << false << "";
}

void TestStatusHints::aboutBoxShowsShortHintsOnly()
{
    QFETCH(QString, target);
    QFETCH(QPoint, at);
    QFETCH(bool, rolling);
    QFETCH(bool, tooltipsOn);
    QFETCH(QString, tooltip);

    hover(m_window->Label5, {10, 6}, ResultHint);
    if (!tooltipsOn)
        m_window->Informations->trigger();
    AboutBox box;
    box.setWindowModality(Qt::ApplicationModal);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&box));
    if (rolling)
        QTest::mouseClick(box.ProgramIcon, Qt::LeftButton);
    QCOMPARE(box.SecretPanel1->isActive(), rolling);
    QWidget *over = box.findChild<QWidget *>(target);
    QVERIFY(over && over->isVisible());

    hover(over, at, QString());
    QWidget *control = tooltip.isEmpty() ? nullptr : over;
    QTRY_COMPARE(tooltipControlAfterIdle(), control);
    if (tooltip.isEmpty()) {
        QCOMPARE(tooltips()->pendingDelay(), 0);
        QVERIFY(bubbleHiddenAfterIdle());
    } else {
        QTRY_VERIFY(bubbleShownAfterIdle());
        QCOMPARE(tooltips()->bubble()->text(), tooltip);
        QCOMPARE(tooltips()->bubble()->pos(),
                 control->mapToGlobal(QPoint(0, control->height() + 6)));
    }
    QCOMPARE(hintLineAfterIdle(), QString());
    if (!tooltipsOn)
        m_window->Informations->trigger();
}

// The pointer stays put; the result label grows under it and shrinks again.
void TestStatusHints::hintFollowsWhatChangesUnderARestingPointer()
{
    const QPoint whereTheResultWillBe = m_window->Label4->pos() + QPoint(20, 6);
    hover(m_window.get(), whereTheResultWillBe, QString());
    m_window->Calculer1Click();
    QCOMPARE(m_window->Label4->text(), QStringLiteral("57.50 Kg"));
    QTRY_COMPARE(hintLineAfterIdle(), ResultHint);
    m_window->RadioButton2->click();
    QTRY_COMPARE(hintLineAfterIdle(), QString());
}

// Where the about box covers the height panel: over the box the hint line is empty, and
// once the box is gone the panel's hint shows, the pointer never having moved.
void TestStatusHints::hintFollowsAWindowClosingUnderARestingPointer()
{
    AboutBox box;
    showModal(box);
    const QPoint onThePanel(60, 40);
    const QPoint global = m_window->Panel1->mapToGlobal(onThePanel);
    QVERIFY(box.frameGeometry().contains(global));
    hover(m_window->Panel1, onThePanel, QString());
    box.accept();
    QTRY_COMPARE(hintLineAfterIdle(), HeightHint);
}

// A modal box blocks the main window's input, not its hints.
void TestStatusHints::hintLineFollowsThePointerBehindAModalBox()
{
    AboutBox box;
    showModal(box);
    const QPoint besideTheBox(5, 165);
    QVERIFY(!box.frameGeometry().contains(m_window->mapToGlobal(besideTheBox)));
    hover(m_window.get(), besideTheBox, QString());
    hover(m_window->Label5, {10, 6}, ResultHint);
    hover(m_window.get(), besideTheBox, QString());
}

// Clock ticks and the credits roll's steps repaint without moving anything under the
// pointer: the idle work then has nothing to look up on the X server.
void TestStatusHints::aRestingProgramLeavesThePointerAlone()
{
    PointerWatch watch;
    hover(m_window->Label5, {10, 6}, ResultHint);
    QCursor::setPos(Outside);
    QTRY_COMPARE(hintLineAfterIdle(), QString());
    runUntilIdle();
    watch.takeChange();

    const QLabel *clock = m_window->StatusBar->panel(0);
    QString shown = clock->text();
    QTRY_VERIFY_WITH_TIMEOUT(clock->text() != shown, 5000);
    shown = clock->text();
    QTRY_VERIFY_WITH_TIMEOUT(clock->text() != shown, 5000);
    runUntilIdle();
    QVERIFY(!watch.takeChange());

    AboutBox box;
    showModal(box);
    QVERIFY(watch.takeChange());
    box.ProgramIconClick();
    QVERIFY(watch.takeChange());
    QTRY_VERIFY(box.SecretPanel1->offset() >= 2);
    runUntilIdle();
    watch.takeChange();
    const int offset = box.SecretPanel1->offset();
    QTRY_VERIFY(box.SecretPanel1->offset() >= offset + 5);
    runUntilIdle();
    QVERIFY(!watch.takeChange());

    // What does move something under the pointer is noticed.
    movePointer(m_window.get(), {5, 165});
    QVERIFY(changeNoticed(watch));
}

MORPHO_APPLICATION_TEST_MAIN(TestStatusHints)
#include "tst_statushints.moc"
