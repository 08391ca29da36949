#include "applicationtest.h"
#include "dragframe.h"
#include "hinttext.h"
#include "principale.h"
#include "speedbar.h"
#include "speedbarbutton.h"
#include "speedbarsection.h"
#include "speeditem.h"
#include "statusbar.h"

#include <QBitmap>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <clocale>
#include <memory>

namespace {

// Real pointer input on the test's X server.
bool xdotool(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("xdotool"), arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool moveTo(QPoint global)
{
    // Waiting for a move to where the pointer already is would never end.
    if (QCursor::pos() == global)
        return true;
    return xdotool({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                    QString::number(global.x()), QString::number(global.y())});
}

bool moveTo(const QWidget *widget, QPoint local)
{
    return moveTo(widget->mapToGlobal(local));
}

bool press(int button = 1)
{
    return xdotool({QStringLiteral("mousedown"), QString::number(button)});
}

bool release(int button = 1)
{
    return xdotool({QStringLiteral("mouseup"), QString::number(button)});
}

// What the X server shows of a widget's rectangle.
QImage onScreen(const QWidget *widget, const QRect &rect)
{
    const QPoint origin = widget->mapToGlobal(rect.topLeft());
    return widget->screen()
        ->grabWindow(0, origin.x(), origin.y(), rect.width(), rect.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage onScreen(const QWidget *widget)
{
    return onScreen(widget, widget->rect());
}

int count(const QImage &image, QRgb colour)
{
    int found = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            found += image.pixel(x, y) == (colour | 0xff000000);
    }
    return found;
}

// Where the pixels of one colour lie.
QRect boundsOf(const QImage &image, QRgb colour)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == (colour | 0xff000000))
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// The last position at which a widget saw the mouse move.
class MoveRecorder : public QObject
{
public:
    explicit MoveRecorder(QWidget *widget) { widget->installEventFilter(this); }
    QPoint last;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove)
            last = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
        return false;
    }
};

constexpr QRgb Cyan = qRgb(0, 255, 255);

} // namespace

Q_DECLARE_METATYPE(Docking::Edge)

class TestToolBar : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void items_data();
    void items();
    void cursors_data();
    void cursors();
    void hoverOnlyWhileActive();
    void pressedLook();
    void releaseOutsideDoesNotClick();
    void movingBackInBeforeReleaseClicks();
    void rightReleaseOpensThePopup_data();
    void rightReleaseOpensThePopup();
    void dragThreshold_data();
    void dragThreshold();
    void previewFrameIsInvertedAndLeavesNothingBehind();
    void dockLeftHidesQuitterAndTopBringsItBack();
    void dock_data();
    void dock();
    void dropOnTheCurrentEdgeChangesNothing();
    void oneLongMoveStartsTheDragAndChoosesTheEdge();
    void noPopupDuringADrag();

private:
    SpeedbarButton *button(SpeedItem *item) const { return item->button(); }
    SpeedBar *bar() const { return m_window->SpeedBar1; }
    QPoint backgroundPoint() const;
    void dragTo(QPoint clientPoint, const QRect &preview);
    void activate();

    std::unique_ptr<Principale> m_window;
};

void TestToolBar::init()
{
    std::setlocale(LC_ALL, "C.UTF-8");
    QVERIFY(moveTo(QPoint(5, 5)));
    m_window = std::make_unique<Principale>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestToolBar::cleanup()
{
    if (QTest::currentTestFailed()) {
        release(1);
        release(3);
    }
    if (m_window)
        m_window->PopupMenu1->hide();
    m_window.reset();
}

void TestToolBar::activate()
{
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

// A point of the bar that no button covers, horizontal or vertical.
QPoint TestToolBar::backgroundPoint() const
{
    return Docking::isHorizontal(bar()->edge()) ? QPoint(250, 30) : QPoint(30, 190);
}

// Drags the bar from its background to a point of the client area, checking the
// preview frame on the way, and drops it there.
void TestToolBar::dragTo(QPoint clientPoint, const QRect &preview)
{
    const QPoint start = backgroundPoint();
    QVERIFY(moveTo(bar(), start));
    QVERIFY(press());
    QVERIFY(moveTo(bar(), start + QPoint(5, 0)));
    QTRY_VERIFY(bar()->isDragging());
    QVERIFY(moveTo(m_window.get(), clientPoint));
    auto *frame = m_window->findChild<DragFrame *>();
    QVERIFY(frame);
    QTRY_COMPARE(frame->geometry(), preview);
    QVERIFY(frame->isVisible());
    QVERIFY(release());
    QTRY_VERIFY(!bar()->isDragging());
    QVERIFY(!frame->isVisible());
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestToolBar::items_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("hint");
    QTest::addColumn<QSize>("cell");
    QTest::addColumn<int>("cells");
    QTest::addColumn<QColor>("transparent");
    QTest::addColumn<QPoint>("position");

    const QColor olive(128, 128, 0);
    QTest::newRow("Calculer1") << "Calculer1"
                               << "Calculer"
                               << "Calculer|Lance le calcul du poids idéal." << QSize(16, 16) << 2
                               << olive << QPoint(3, 3);
    QTest::newRow("Apropos1") << "Apropos1"
                              << "A propos"
                              << "A propos|A propos de Morphocalcule 1.1" << QSize(16, 16) << 2
                              << QColor(128, 0, 128) << QPoint(57, 3);
    QTest::newRow("Aide") << "Aide"
                          << "Aide"
                          << "Aide|Affiche une aide d'utilisation." << QSize(16, 16) << 2 << olive
                          << QPoint(111, 3);
    QTest::newRow("Quitter1") << "Quitter1"
                              << "Quitter"
                              << "Quitter|Quitte l'application." << QSize(20, 20) << 1
                              << QColor(255, 0, 255) << QPoint(370, 3);
}

void TestToolBar::items()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(QString, hint);
    QFETCH(QSize, cell);
    QFETCH(int, cells);
    QFETCH(QColor, transparent);
    QFETCH(QPoint, position);

    QCOMPARE(bar()->geometry(), QRect(0, 0, 427, 60));
    QCOMPARE(bar()->wallpaper().size(), QSize(640, 125));
    const QList<SpeedbarSection *> sections = bar()->sections();
    QCOMPARE(sections.size(), 1);
    QCOMPARE(sections.first()->caption(), QStringLiteral("BarrePrincipale"));
    QStringList order;
    for (const SpeedItem *item : sections.first()->items())
        order << item->objectName();
    QCOMPARE(order, (QStringList{"Calculer1", "Apropos1", "Aide", "Quitter1"}));

    auto *item = m_window->findChild<SpeedItem *>(name);
    QVERIFY(item);
    SpeedbarButton *button = item->button();
    QCOMPARE(button->text(), caption);
    QCOMPARE(HintText::of(button), hint);
    QCOMPARE(button->accessibleDescription(), HintText::longPart(hint));
    QVERIFY(HintText::showsHint(button));
    QCOMPARE(button->glyph().cellSize(), cell);
    QCOMPARE(button->glyph().numGlyphs(), cells);
    QCOMPARE(button->glyph().transparentColor(), transparent);
    QCOMPARE(button->geometry(), QRect(position, QSize(54, 54)));
    QVERIFY(button->isVisible());
    QCOMPARE(button->focusPolicy(), Qt::NoFocus);
    QVERIFY(button->sizeHint().width() <= 54);
    QCOMPARE(button->cursor().hotSpot(), QPoint(0, 0));
    QCOMPARE(button->cursor().bitmap().size(), QSize(32, 32));

    // Tooltips stay on for the bar whatever the window's own setting.
    HintText::setShowHint(m_window.get(), false);
    QVERIFY(HintText::showsHint(button));
}

void TestToolBar::cursors_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QPoint>("hotSpot");
    QTest::newRow("pointing hand, cursor 1") << int(Application::HandCursor) << QPoint(0, 0);
    QTest::newRow("grabbing hand, cursor 14001") << int(Application::DragCursor) << QPoint(15, 16);
}

void TestToolBar::cursors()
{
    QFETCH(int, number);
    QFETCH(QPoint, hotSpot);
    const QCursor cursor = Application::instance()->cursor(number);
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), hotSpot);
    QCOMPARE(cursor.bitmap().size(), QSize(32, 32));
    // The hand is there where it points.
    QCOMPARE(cursor.mask().toImage().pixelIndex(hotSpot), 1);
}

void TestToolBar::hoverOnlyWhileActive()
{
    SpeedbarButton *calculer = button(m_window->Calculer1);
    const QImage idle = onScreen(calculer);
    const QImage otherButton = onScreen(button(m_window->Apropos1));
    QCOMPARE(count(idle, Cyan), 0); // grey at rest
    // No frame: the wallpaper shows, drawn from the bar's inside corner at (1, 1).
    const QImage wallpaper = bar()->wallpaper().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(idle.pixel(0, 0), wallpaper.pixel(calculer->pos() - QPoint(1, 1)));

    QVERIFY(!m_window->isActiveWindow());
    QVERIFY(moveTo(calculer, QPoint(27, 27)));
    QTRY_VERIFY(calculer->underMouse());
    QVERIFY(!calculer->isHovered());
    QCOMPARE(onScreen(calculer), idle);
    QVERIFY(moveTo(QPoint(5, 5)));
    QTRY_VERIFY(!calculer->underMouse());

    activate();
    QVERIFY(moveTo(calculer, QPoint(27, 27)));
    QTRY_VERIFY(calculer->isHovered());
    const QPalette palette = calculer->palette();
    QTRY_COMPARE(onScreen(calculer).pixel(0, 0), palette.color(QPalette::Light).rgb());
    const QImage hovered = onScreen(calculer);
    QCOMPARE(hovered.pixel(53, 53), palette.color(QPalette::Dark).rgb());
    QCOMPARE(hovered.pixel(53, 0), palette.color(QPalette::Dark).rgb());
    QVERIFY(count(hovered, Cyan) > 0);
    // Only the hovered button changed.
    QCOMPARE(onScreen(button(m_window->Apropos1)), otherButton);

    QVERIFY(moveTo(bar(), backgroundPoint()));
    QTRY_VERIFY(!calculer->isHovered());
    QTRY_COMPARE(onScreen(calculer), idle);
}

void TestToolBar::pressedLook()
{
    activate();
    SpeedbarButton *calculer = button(m_window->Calculer1);
    QVERIFY(moveTo(calculer, QPoint(27, 27)));
    QTRY_VERIFY(calculer->isHovered());
    QTRY_VERIFY(count(onScreen(calculer), Cyan) > 0);
    const QRect hoveredPicture = boundsOf(onScreen(calculer), Cyan);

    QVERIFY(press());
    QTRY_VERIFY(calculer->isDown());
    const QPalette palette = calculer->palette();
    QTRY_COMPARE(onScreen(calculer).pixel(0, 0), palette.color(QPalette::Shadow).rgb());
    const QImage pressed = onScreen(calculer);
    QCOMPARE(pressed.pixel(53, 53), palette.color(QPalette::Light).rgb());
    QCOMPARE(pressed.pixel(0, 52), palette.color(QPalette::Shadow).rgb());
    QCOMPARE(boundsOf(pressed, Cyan), hoveredPicture.translated(1, 1));

    QVERIFY(release());
    QTRY_VERIFY(!calculer->isDown());
    QTRY_COMPARE(boundsOf(onScreen(calculer), Cyan), hoveredPicture);
    QVERIFY(calculer->isHovered());
}

void TestToolBar::releaseOutsideDoesNotClick()
{
    SpeedbarButton *calculer = button(m_window->Calculer1);
    QVERIFY(moveTo(calculer, QPoint(27, 27)));
    QVERIFY(press());
    QTRY_VERIFY(calculer->isDown());
    QVERIFY(calculer->isHovered());

    // Off the button, even off the window, it shows hovered, not pressed, while the
    // button is held.
    QVERIFY(moveTo(QPoint(5, 5)));
    QTRY_VERIFY(!calculer->isDown());
    QVERIFY(calculer->isHovered());
    QVERIFY(moveTo(m_window->Label5, QPoint(5, 5)));
    QVERIFY(!calculer->isDown());
    QVERIFY(calculer->isHovered());
    QVERIFY(!bar()->isDragging());

    QVERIFY(release());
    QTRY_VERIFY(!calculer->isHovered());
    QVERIFY(m_window->Label4->text().isEmpty());
}

void TestToolBar::movingBackInBeforeReleaseClicks()
{
    SpeedbarButton *calculer = button(m_window->Calculer1);
    QVERIFY(moveTo(calculer, QPoint(27, 27)));
    QVERIFY(press());
    QTRY_VERIFY(calculer->isDown());
    QVERIFY(moveTo(m_window->Label5, QPoint(5, 5)));
    QTRY_VERIFY(!calculer->isDown());
    QVERIFY(moveTo(calculer, QPoint(40, 40)));
    QTRY_VERIFY(calculer->isDown());
    QVERIFY(release());
    // The tool bar runs the same handler as "&Calculer" in the popup menu.
    QTRY_COMPARE(m_window->Label4->text(), QStringLiteral("57.50 Kg"));
    QVERIFY(!calculer->isDown());
}

void TestToolBar::rightReleaseOpensThePopup_data()
{
    QTest::addColumn<bool>("onButton");
    QTest::newRow("bar background") << false;
    QTest::newRow("tool bar button") << true;
}

void TestToolBar::rightReleaseOpensThePopup()
{
    QFETCH(bool, onButton);
    SpeedbarButton *calculer = button(m_window->Calculer1);
    const QPoint at = onButton ? calculer->mapTo(bar(), QPoint(27, 27)) : backgroundPoint();
    QVERIFY(moveTo(bar(), at));
    QVERIFY(press(3));
    QVERIFY(release(3));
    QTRY_VERIFY(m_window->PopupMenu1->isVisible());
    QCOMPARE(m_window->PopupMenu1->pos(), bar()->mapToGlobal(at));
    QVERIFY(!calculer->isDown());
    QVERIFY(!bar()->isDragging());
    QVERIFY(m_window->Label4->text().isEmpty());
}

void TestToolBar::dragThreshold_data()
{
    QTest::addColumn<QPoint>("move");
    QTest::addColumn<bool>("drags");
    QTest::newRow("4 right") << QPoint(4, 0) << false;
    QTest::newRow("4 up") << QPoint(0, -4) << false;
    QTest::newRow("4 left and 4 down") << QPoint(-4, 4) << false;
    QTest::newRow("5 right") << QPoint(5, 0) << true;
    QTest::newRow("5 left") << QPoint(-5, 0) << true;
    QTest::newRow("5 down") << QPoint(0, 5) << true;
    QTest::newRow("5 up") << QPoint(0, -5) << true;
}

void TestToolBar::dragThreshold()
{
    QFETCH(QPoint, move);
    QFETCH(bool, drags);
    MoveRecorder moves(bar());
    const QPoint start = backgroundPoint();
    QVERIFY(moveTo(bar(), start));
    QVERIFY(press());
    QVERIFY(moveTo(bar(), start + move));
    QTRY_COMPARE(moves.last, bar()->mapToGlobal(start + move));
    QCOMPARE(bar()->isDragging(), drags);
    auto *frame = m_window->findChild<DragFrame *>();
    if (drags) {
        QVERIFY(frame && frame->isVisible());
        QCOMPARE(frame->geometry(), bar()->geometry());
        QVERIFY(QGuiApplication::overrideCursor());
        QCOMPARE(QGuiApplication::overrideCursor()->hotSpot(), QPoint(15, 16));
    } else {
        QVERIFY(!frame || !frame->isVisible());
        QVERIFY(!QGuiApplication::overrideCursor());
    }
    QVERIFY(release());
    QTRY_VERIFY(!bar()->isDragging());
    QCOMPARE(bar()->geometry(), QRect(0, 0, 427, 60));
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestToolBar::previewFrameIsInvertedAndLeavesNothingBehind()
{
    // Where the top and the bottom previews lie; nothing else there blinks or ticks.
    const QRect top(0, 0, 427, 60);
    const QRect bottom(0, 153, 427, 60);
    const QImage topBefore = onScreen(m_window.get(), top);
    const QImage bottomBefore = onScreen(m_window.get(), bottom);
    const QPoint start = backgroundPoint();
    QVERIFY(moveTo(bar(), start));
    QVERIFY(press());
    QVERIFY(moveTo(bar(), start + QPoint(0, 5)));
    QTRY_VERIFY(bar()->isDragging());

    // Over the bar: every other pixel of its three outer rows and columns is inverted.
    const auto inverted = [](QRgb pixel) { return ~pixel | 0xff000000; };
    QTRY_COMPARE(onScreen(m_window.get(), top).pixel(0, 0), inverted(topBefore.pixel(0, 0)));
    const QImage dragging = onScreen(m_window.get(), top);
    for (const QPoint &p : {QPoint(1, 1), QPoint(2, 0), QPoint(2, 2), QPoint(100, 0),
                            QPoint(426, 58), QPoint(424, 58)})
        QCOMPARE(dragging.pixel(p), inverted(topBefore.pixel(p)));
    for (const QPoint &p : {QPoint(1, 0), QPoint(3, 3), QPoint(100, 30), QPoint(423, 56)})
        QCOMPARE(dragging.pixel(p), topBefore.pixel(p));

    // Over the bottom preview, just above the status bar; the first frame is gone.
    QVERIFY(moveTo(m_window.get(), QPoint(213, 225)));
    QTRY_COMPARE(onScreen(m_window.get(), bottom).pixel(1, 0), inverted(bottomBefore.pixel(1, 0)));
    QCOMPARE(onScreen(m_window.get(), top), topBefore);

    // Dropped back at the top: the screen is as it was.
    QVERIFY(moveTo(m_window.get(), QPoint(213, 5)));
    QVERIFY(release());
    QTRY_VERIFY(!bar()->isDragging());
    QTRY_COMPARE(onScreen(m_window.get(), bottom), bottomBefore);
    QCOMPARE(onScreen(m_window.get(), top), topBefore);
}

void TestToolBar::dockLeftHidesQuitterAndTopBringsItBack()
{
    dragTo(QPoint(10, 116), QRect(0, 0, 60, 213));
    QCOMPARE(bar()->edge(), Docking::Edge::Left);
    QCOMPARE(bar()->geometry(), QRect(0, 0, 60, 213));
    QCOMPARE(button(m_window->Calculer1)->geometry(), QRect(3, 3, 54, 54));
    QCOMPARE(button(m_window->Apropos1)->geometry(), QRect(3, 57, 54, 54));
    QCOMPARE(button(m_window->Aide)->geometry(), QRect(3, 111, 54, 54));
    QVERIFY(button(m_window->Aide)->isVisible());
    QVERIFY(!button(m_window->Quitter1)->isVisible());
    // In front of the height panel that it now covers.
    QCOMPARE(m_window->childAt(58, 100), static_cast<QWidget *>(bar()));

    dragTo(QPoint(213, 5), QRect(0, 0, 427, 60));
    QCOMPARE(bar()->geometry(), QRect(0, 0, 427, 60));
    QVERIFY(button(m_window->Quitter1)->isVisible());
    QCOMPARE(button(m_window->Quitter1)->geometry(), QRect(370, 3, 54, 54));
    QCOMPARE(button(m_window->Aide)->geometry(), QRect(111, 3, 54, 54));

    // A button that moved away from under the pointer works at its new place.
    QVERIFY(moveTo(button(m_window->Calculer1), QPoint(27, 27)));
    QVERIFY(press());
    QVERIFY(release());
    QTRY_COMPARE(m_window->Label4->text(), QStringLiteral("57.50 Kg"));
}

void TestToolBar::dock_data()
{
    QTest::addColumn<QPoint>("dropAt");
    QTest::addColumn<Docking::Edge>("edge");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QPoint>("overlap"); // where the bar now covers another control
    QTest::newRow("bottom, just above the status bar")
        << QPoint(213, 225) << Docking::Edge::Bottom << QRect(0, 153, 427, 60) << QPoint(200, 183);
    QTest::newRow("right, down to the status bar")
        << QPoint(420, 116) << Docking::Edge::Right << QRect(367, 0, 60, 213) << QPoint(368, 100);
}

void TestToolBar::dock()
{
    QFETCH(QPoint, dropAt);
    QFETCH(Docking::Edge, edge);
    QFETCH(QRect, geometry);
    QFETCH(QPoint, overlap);
    dragTo(dropAt, geometry);
    QCOMPARE(bar()->edge(), edge);
    QCOMPARE(bar()->geometry(), geometry);
    QVERIFY(bar()->geometry().bottom() < m_window->StatusBar->geometry().top());
    QCOMPARE(m_window->StatusBar->geometry(), QRect(0, 213, 427, 19));
    QCOMPARE(m_window->childAt(overlap), static_cast<QWidget *>(bar()));
}

void TestToolBar::dropOnTheCurrentEdgeChangesNothing()
{
    dragTo(QPoint(213, 5), QRect(0, 0, 427, 60));
    QCOMPARE(bar()->geometry(), QRect(0, 0, 427, 60));
    QCOMPARE(button(m_window->Quitter1)->geometry(), QRect(370, 3, 54, 54));

    dragTo(QPoint(10, 116), QRect(0, 0, 60, 213));
    QList<QRect> places;
    for (const SpeedItem *item : bar()->items())
        places << item->button()->geometry();
    dragTo(QPoint(20, 150), QRect(0, 0, 60, 213));
    QCOMPARE(bar()->geometry(), QRect(0, 0, 60, 213));
    QList<QRect> after;
    for (const SpeedItem *item : bar()->items())
        after << item->button()->geometry();
    QCOMPARE(after, places);
}

void TestToolBar::oneLongMoveStartsTheDragAndChoosesTheEdge()
{
    QVERIFY(moveTo(bar(), backgroundPoint()));
    QVERIFY(press());
    QVERIFY(moveTo(m_window.get(), QPoint(213, 225)));
    QTRY_VERIFY(bar()->isDragging());
    QTRY_COMPARE(m_window->findChild<DragFrame *>()->geometry(), QRect(0, 153, 427, 60));
    QVERIFY(release());
    QTRY_COMPARE(bar()->geometry(), QRect(0, 153, 427, 60));
}

// While the bar is dragged, the other mouse buttons do nothing.
void TestToolBar::noPopupDuringADrag()
{
    const QPoint start = backgroundPoint();
    QVERIFY(moveTo(bar(), start));
    QVERIFY(press());
    QVERIFY(moveTo(bar(), start + QPoint(5, 0)));
    QTRY_VERIFY(bar()->isDragging());
    QVERIFY(press(3));
    QVERIFY(release(3));
    auto *frame = m_window->findChild<DragFrame *>();
    QVERIFY(moveTo(m_window.get(), QPoint(10, 116)));
    QTRY_COMPARE(frame->geometry(), QRect(0, 0, 60, 213));
    QVERIFY(!m_window->PopupMenu1->isVisible());
    QVERIFY(bar()->isDragging());
    QVERIFY(release());
    QTRY_COMPARE(bar()->geometry(), QRect(0, 0, 60, 213));
}

MORPHO_APPLICATION_TEST_MAIN(TestToolBar)
#include "tst_toolbar.moc"
