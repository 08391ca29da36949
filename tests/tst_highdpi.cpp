#include "aboutbox.h"
#include "applicationtest.h"
#include "imagecolours.h"
#include "principale.h"
#include "secretpanel.h"
#include "speedbar.h"
#include "speedbarbutton.h"
#include "speeditem.h"
#include "spinbutton.h"
#include "spinedit.h"
#include "stretchedimage.h"
#include "x11probe.h"
#include "x11window.h"
#include "xdotool.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <clocale>
#include <memory>

// The suite runs with QT_SCALE_FACTOR=2 on a screen of 2560 x 2048.
namespace {

constexpr int Scale = 2;
const QPoint Outside(5, 5);

QImage grabbed(QWidget *widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
}

// Every opaque pixel of the art shows as a block of Scale x Scale device pixels of its
// own colour, from `at` (device pixels) on.
bool showsScaled(const QImage &shown, const QImage &art, QPoint at)
{
    if (at.x() < 0 || at.y() < 0 || at.x() + art.width() * Scale > shown.width() ||
        at.y() + art.height() * Scale > shown.height())
        return false;
    for (int y = 0; y < art.height() * Scale; ++y) {
        for (int x = 0; x < art.width() * Scale; ++x) {
            const QRgb pixel = art.pixel(x / Scale, y / Scale);
            if (qAlpha(pixel) == 255 && shown.pixel(at.x() + x, at.y() + y) != pixel)
                return false;
        }
    }
    return true;
}

bool showsScaledAnywhere(const QImage &shown, const QImage &art)
{
    for (int y = 0; y + art.height() * Scale <= shown.height(); ++y) {
        for (int x = 0; x + art.width() * Scale <= shown.width(); ++x) {
            if (showsScaled(shown, art, QPoint(x, y)))
                return true;
        }
    }
    return false;
}

// A picture drawn in logical pixels only: every Scale x Scale block is of one colour.
bool inWholeBlocks(const QImage &shown)
{
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (shown.pixel(x, y) != shown.pixel(x - x % Scale, y - y % Scale))
                return false;
        }
    }
    return true;
}

// The pointer of a cursor picture: black and white where it is opaque.
QImage cursorArt(const QString &path)
{
    QImage art = QImage(path).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < art.height(); ++y) {
        for (int x = 0; x < art.width(); ++x) {
            const QRgb pixel = art.pixel(x, y);
            art.setPixel(x, y,
                         qAlpha(pixel) == 0   ? 0
                         : (pixel & RGB_MASK) ? qRgb(255, 255, 255)
                                              : qRgb(0, 0, 0));
        }
    }
    return art;
}

QPoint native(const QWidget *widget, QPoint local)
{
    return widget->mapToGlobal(local) * Scale;
}

bool movePointer(const QWidget *widget, QPoint local)
{
    const QPoint at = native(widget, local);
    return XDoTool::run({QStringLiteral("mousemove"), QStringLiteral("--sync"),
                         QString::number(at.x()), QString::number(at.y())});
}

} // namespace

class TestHighDpi : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowsDoubleOnTheScreen_data();
    void windowsDoubleOnTheScreen();
    void textsFitTheirControls();
    void pixelArtKeepsItsEdges_data();
    void pixelArtKeepsItsEdges();
    void stretchedPictureBlendsNoColours();
    void cursorsDoubleWithTheirHotSpots_data();
    void cursorsDoubleWithTheirHotSpots();

private:
    QWidget *widget(const QString &name) const;

    std::unique_ptr<Principale> m_window;
    std::unique_ptr<AboutBox> m_about;
};

void TestHighDpi::initTestCase()
{
    QCOMPARE(qApp->devicePixelRatio(), qreal(Scale));
    QCOMPARE(X11Probe::screenSize(), QSize(2560, 2048));
}

void TestHighDpi::init()
{
    std::setlocale(LC_ALL, "C.UTF-8");
    QCursor::setPos(Outside);
    m_window = std::make_unique<Principale>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_about = std::make_unique<AboutBox>();
    m_about->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_about.get()));
}

void TestHighDpi::cleanup()
{
    m_about.reset();
    m_window.reset();
}

QWidget *TestHighDpi::widget(const QString &name) const
{
    if (name == u"SpinButton")
        return m_window->Edit1->findChild<SpinButton *>();
    if (auto *item = m_window->findChild<SpeedItem *>(name))
        return item->button();
    if (QWidget *inMain = m_window->findChild<QWidget *>(name))
        return inMain;
    return m_about->findChild<QWidget *>(name);
}

// Laid out as designed, in logical pixels; twice as many pixels on the screen.
void TestHighDpi::windowsDoubleOnTheScreen_data()
{
    QTest::addColumn<QByteArray>("windowClass");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::newRow("main window") << QByteArray("TPrincipale") << "Morphocalcule" << QSize(427, 232);
    QTest::newRow("about box") << QByteArray("TAboutBox") << "A propos" << QSize(298, 186);
}

void TestHighDpi::windowsDoubleOnTheScreen()
{
    QFETCH(QByteArray, windowClass);
    QFETCH(QString, caption);
    QFETCH(QSize, size);

    const QWidget *window =
        windowClass == "TAboutBox" ? static_cast<QWidget *>(m_about.get()) : m_window.get();
    QCOMPARE(window->size(), size);
    const QList<X11Probe::Window> shown = X11Probe::find(windowClass, caption);
    QCOMPARE(shown.size(), 1);
    // Centred on the screen in logical pixels.
    const QSize screen = X11Probe::screenSize() / Scale;
    const QPoint centred((screen.width() - size.width()) / 2,
                         (screen.height() - size.height()) / 2);
    QTRY_COMPARE(X11Probe::find(windowClass, caption).first().geometry,
                 QRect(centred * Scale, size * Scale));
}

// Fonts are drawn at twice their pixel size: no text may come out wider than its box.
void TestHighDpi::textsFitTheirControls()
{
    QList<QLabel *> labels = m_window->findChildren<QLabel *>();
    labels += m_about->findChildren<QLabel *>();
    QVERIFY(labels.size() >= 12);
    for (const QLabel *label : labels) {
        const int width = label->fontMetrics().horizontalAdvance(label->text());
        QVERIFY2(width <= label->width(), qPrintable(label->text()));
    }
    for (const QRadioButton *button : {m_window->RadioButton1, m_window->RadioButton2})
        QVERIFY2(button->sizeHint().width() <= button->width(), qPrintable(button->text()));
    for (const SpeedItem *item : m_window->SpeedBar1->items()) {
        const SpeedbarButton *button = item->button();
        const int width = button->fontMetrics().horizontalAdvance(button->text());
        QVERIFY2(width <= button->width() - 2 * SpeedbarButton::FrameWidth,
                 qPrintable(button->text()));
    }
    const QPushButton *ok = m_about->BitBtn1;
    QVERIFY(ok->iconSize().width() + ok->fontMetrics().horizontalAdvance(ok->text()) < ok->width());
}

// Each row: the widget, the art it shows (none when the whole widget is drawn in logical
// pixels) and where the art lies in it, in logical pixels (anywhere when negative).
void TestHighDpi::pixelArtKeepsItsEdges_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("art");
    QTest::addColumn<QRect>("part");
    QTest::addColumn<QPoint>("at");

    const QPoint anywhere(-1, -1);
    QTest::newRow("tool bar glyph, grey at rest")
        << "Calculer1" << QStringLiteral("grey glyph") << QRect() << anywhere;
    // Between "Aide" and "Quitter" the wallpaper shows, from its corner inside the bevel.
    QTest::newRow("tool bar wallpaper") << "SpeedBar1" << QStringLiteral(":/BACKGROUND")
                                        << QRect(170, 0, 190, 58) << QPoint(171, 1);
    QTest::newRow("Ok glyph") << "BitBtn1" << QStringLiteral(":/OKGLYPH") << QRect() << anywhere;
    QTest::newRow("spin button") << "SpinButton" << QString() << QRect() << QPoint();
}

void TestHighDpi::pixelArtKeepsItsEdges()
{
    QFETCH(QString, target);
    QFETCH(QString, art);
    QFETCH(QRect, part);
    QFETCH(QPoint, at);
    QWidget *shown = widget(target);
    QVERIFY(shown);
    const QImage image = grabbed(shown);
    QCOMPARE(image.size(), shown->size() * Scale);
    if (art.isEmpty()) {
        QVERIFY(inWholeBlocks(image));
        return;
    }
    QImage picture;
    if (auto *button = qobject_cast<SpeedbarButton *>(shown)) {
        const QPalette palette = button->palette();
        picture = button->glyph().greyCell(palette.color(QPalette::Dark).rgb(),
                                           palette.color(QPalette::Button).rgb());
    } else {
        picture = QImage(art);
    }
    if (part.isValid())
        picture = picture.copy(part);
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    QVERIFY(!picture.isNull());
    if (at.x() < 0)
        QVERIFY(showsScaledAnywhere(image, picture));
    else
        QVERIFY(showsScaled(image, picture, at * Scale));
}

// The about box's picture is stretched from 32 to 50 pixels, here to 100 device pixels:
// by whole pixels, so it shows the art's colours and no others.
void TestHighDpi::stretchedPictureBlendsNoColours()
{
    const QImage art =
        m_about->ProgramIcon->picture().toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage shown = grabbed(m_about->ProgramIcon);
    QCOMPARE(shown.size(), QSize(100, 100));
    QCOMPARE(ImageColours::of(shown), ImageColours::of(art));
}

void TestHighDpi::cursorsDoubleWithTheirHotSpots_data()
{
    QTest::addColumn<QString>("art");
    QTest::addColumn<QPoint>("hotSpot");
    QTest::addColumn<bool>("dragging");
    QTest::newRow("pointing hand over a tool bar button") << ":/HANDPNT" << QPoint(0, 0) << false;
    QTest::newRow("grabbing hand while the bar is dragged")
        << ":/SB_DRAG" << QPoint(15, 16) << true;
}

void TestHighDpi::cursorsDoubleWithTheirHotSpots()
{
    QFETCH(QString, art);
    QFETCH(QPoint, hotSpot);
    QFETCH(bool, dragging);
    m_about.reset();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));

    const SpeedBar *bar = m_window->SpeedBar1;
    if (dragging) {
        const QPoint background(250, 30);
        QVERIFY(movePointer(bar, background));
        QVERIFY(XDoTool::run({QStringLiteral("mousedown"), QStringLiteral("1")}));
        QVERIFY(movePointer(bar, background + QPoint(0, 10)));
        QTRY_VERIFY(bar->isDragging());
    } else {
        QVERIFY(movePointer(m_window->Calculer1->button(), QPoint(27, 27)));
    }
    const QImage expected = cursorArt(art);
    X11Probe::Cursor shown;
    QTRY_COMPARE((shown = X11Probe::cursor(), shown.image.size()), expected.size() * Scale);
    if (dragging) {
        QVERIFY(XDoTool::run({QStringLiteral("mouseup"), QStringLiteral("1")}));
        QTRY_VERIFY(!bar->isDragging());
    }
    QCOMPARE(shown.hotSpot, hotSpot * Scale);
    for (int y = 0; y < shown.image.height(); ++y) {
        for (int x = 0; x < shown.image.width(); ++x)
            QCOMPARE(shown.image.pixel(x, y), expected.pixel(x / Scale, y / Scale));
    }
}

MORPHO_APPLICATION_TEST_MAIN(TestHighDpi)
#include "tst_highdpi.moc"
