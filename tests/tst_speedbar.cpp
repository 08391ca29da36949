#include "buttonglyph.h"
#include "cursorresource.h"
#include "docking.h"
#include "glyphlayout.h"
#include "speedbar.h"
#include "speedbarbutton.h"
#include "speedbarsection.h"
#include "speeditem.h"

#include <QBitmap>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(Docking::Edge)

namespace {

constexpr QRgb Shadow = 0xff808080;
constexpr QRgb Face = 0xffc0c0c0;
constexpr QRgb Olive = 0xff808000;

// Two 4 × 4 cells: cell 0 holds one pixel of each colour under test on an olive
// background (olive in the bottom-left corner), cell 1 is all red.
QImage twoCellGlyph()
{
    QImage image(8, 4, QImage::Format_RGB32);
    image.fill(Olive);
    image.setPixel(0, 0, qRgb(0, 0, 0));
    image.setPixel(1, 0, qRgb(255, 255, 255));
    image.setPixel(2, 0, qRgb(0, 0, 128));
    image.setPixel(3, 0, qRgb(255, 0, 0));
    image.setPixel(0, 1, qRgb(0, 255, 255));
    for (int y = 0; y < 4; ++y) {
        for (int x = 4; x < 8; ++x)
            image.setPixel(x, y, qRgb(255, 0, 0));
    }
    return image;
}

} // namespace

class TestSpeedBar : public QObject
{
    Q_OBJECT

private slots:
    void greyColor_data();
    void greyColor();
    void cellCount_data();
    void cellCount();
    void cellsAndTransparentColour();
    void layout_data();
    void layout();
    void edgeAt_data();
    void edgeAt();
    void dockedRect_data();
    void dockedRect();
    void hiddenDockedControlsLeaveTheirRoom();
    void wallpaperTiles_data();
    void wallpaperTiles();
    void itemsOutsideTheBarAreHidden();
    void monochromeCursor();
};

void TestSpeedBar::greyColor_data()
{
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<QRgb>("grey");
    QTest::newRow("black stays") << qRgb(0, 0, 0) << qRgb(0, 0, 0);
    QTest::newRow("white stays") << qRgb(255, 255, 255) << qRgb(255, 255, 255);
    QTest::newRow("navy becomes black") << qRgb(0, 0, 128) << qRgb(0, 0, 0);
    QTest::newRow("blue, 255") << qRgb(0, 0, 255) << Shadow;
    QTest::newRow("red, 255") << qRgb(255, 0, 0) << Shadow;
    QTest::newRow("olive, 256") << qRgb(128, 128, 0) << Shadow;
    QTest::newRow("grey, 384 exactly") << qRgb(128, 128, 128) << Shadow;
    QTest::newRow("385") << qRgb(129, 128, 128) << Face;
    QTest::newRow("yellow, 510") << qRgb(255, 255, 0) << Face;
    QTest::newRow("cyan, 510") << qRgb(0, 255, 255) << Face;
    QTest::newRow("silver, 576") << qRgb(192, 192, 192) << Face;
    QTest::newRow("near black") << qRgb(0, 0, 1) << Shadow;
    QTest::newRow("near navy") << qRgb(0, 0, 129) << Shadow;
}

void TestSpeedBar::greyColor()
{
    QFETCH(QRgb, colour);
    QFETCH(QRgb, grey);
    QCOMPARE(ButtonGlyph::greyColor(colour, Shadow, Face) | 0xff000000, grey | 0xff000000);
}

void TestSpeedBar::cellCount_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("designed");
    QTest::addColumn<int>("cells");
    QTest::newRow("32 × 16: two cells") << QSize(32, 16) << 1 << 2;
    QTest::newRow("16 × 16: one cell") << QSize(16, 16) << 2 << 1;
    QTest::newRow("20 × 20: one cell") << QSize(20, 20) << 3 << 1;
    QTest::newRow("80 × 16: five cells") << QSize(80, 16) << 1 << 5;
    QTest::newRow("96 × 16: six is too many, one") << QSize(96, 16) << 2 << 1;
    QTest::newRow("not a whole multiple: keeps its count") << QSize(33, 16) << 2 << 2;
    QTest::newRow("narrower than high: keeps its count") << QSize(16, 32) << 3 << 3;
}

void TestSpeedBar::cellCount()
{
    QFETCH(QSize, size);
    QFETCH(int, designed);
    QFETCH(int, cells);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    ButtonGlyph glyph;
    glyph.setNumGlyphs(designed);
    glyph.setImage(image);
    QCOMPARE(glyph.numGlyphs(), cells);
    QCOMPARE(glyph.cellSize(), QSize(size.width() / cells, size.height()));

    // A count set by hand is kept between 1 and 5.
    glyph.setNumGlyphs(9);
    QCOMPARE(glyph.numGlyphs(), 5);
    glyph.setNumGlyphs(0);
    QCOMPARE(glyph.numGlyphs(), 1);
}

void TestSpeedBar::cellsAndTransparentColour()
{
    ButtonGlyph glyph;
    glyph.setImage(twoCellGlyph());
    QCOMPARE(glyph.numGlyphs(), 2);
    QCOMPARE(glyph.transparentColor(), QColor(Olive));

    const QImage normal = glyph.cell(0);
    QCOMPARE(normal.size(), QSize(4, 4));
    QCOMPARE(normal.pixel(3, 0), qRgb(255, 0, 0));
    QCOMPARE(qAlpha(normal.pixel(3, 3)), 0); // olive is not drawn
    QCOMPARE(qAlpha(normal.pixel(1, 2)), 0);

    const QImage disabled = glyph.cell(1);
    QCOMPARE(disabled.pixel(0, 3), qRgb(255, 0, 0)); // from the right half
    QCOMPARE(glyph.cell(2), normal);                 // no third cell: the normal one

    const QImage grey = glyph.greyCell(Shadow, Face);
    QCOMPARE(grey.pixel(0, 0), qRgb(0, 0, 0));
    QCOMPARE(grey.pixel(1, 0), qRgb(255, 255, 255));
    QCOMPARE(grey.pixel(2, 0), qRgb(0, 0, 0));
    QCOMPARE(grey.pixel(3, 0), Shadow);
    QCOMPARE(grey.pixel(0, 1), Face);
    QCOMPARE(qAlpha(grey.pixel(3, 3)), 0);

    // A glyph whose corner is black has black as its transparent colour.
    QImage dark = twoCellGlyph();
    dark.setPixel(0, 3, qRgb(0, 0, 0));
    glyph.setImage(dark);
    QCOMPARE(glyph.transparentColor(), QColor(Qt::black));
    QCOMPARE(qAlpha(glyph.cell(0).pixel(0, 0)), 0);
    QCOMPARE(qAlpha(glyph.greyCell(Shadow, Face).pixel(0, 0)), 0);
}

void TestSpeedBar::layout_data()
{
    QTest::addColumn<QSize>("content");
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("caption");
    QTest::addColumn<QPoint>("picturePlace");
    QTest::addColumn<QPoint>("captionPlace");

    // Block 16 + 1 + 13 = 30 high: top 26 - 15.
    QTest::newRow("tool bar button")
        << QSize(52, 52) << QSize(16, 16) << QSize(37, 13) << QPoint(18, 11) << QPoint(8, 28);
    QTest::newRow("odd sizes round toward zero")
        << QSize(53, 51) << QSize(17, 15) << QSize(30, 14) << QPoint(18, 10) << QPoint(11, 26);
    QTest::newRow("picture wider than the content")
        << QSize(10, 52) << QSize(21, 16) << QSize(5, 13) << QPoint(-5, 11) << QPoint(3, 28);
    QTest::newRow("no caption: no spacing")
        << QSize(52, 52) << QSize(20, 20) << QSize(0, 0) << QPoint(16, 16) << QPoint(26, 36);
    QTest::newRow("no picture: no spacing")
        << QSize(52, 52) << QSize(0, 0) << QSize(30, 13) << QPoint(26, 20) << QPoint(11, 20);
}

void TestSpeedBar::layout()
{
    QFETCH(QSize, content);
    QFETCH(QSize, picture);
    QFETCH(QSize, caption);
    QFETCH(QPoint, picturePlace);
    QFETCH(QPoint, captionPlace);
    const GlyphLayout layout = GlyphLayout::compute(content, picture, caption, 1);
    QCOMPARE(layout.picture, picturePlace);
    QCOMPARE(layout.caption, captionPlace);
}

void TestSpeedBar::edgeAt_data()
{
    QTest::addColumn<QPointF>("point");
    QTest::addColumn<Docking::Edge>("edge");
    // The main window's client area, 427 × 232.
    QTest::newRow("near the left side") << QPointF(10, 116) << Docking::Edge::Left;
    QTest::newRow("near the bottom") << QPointF(213, 225) << Docking::Edge::Bottom;
    QTest::newRow("near the right side") << QPointF(420, 116) << Docking::Edge::Right;
    QTest::newRow("near the top") << QPointF(213, 5) << Docking::Edge::Top;
    QTest::newRow("top-left corner") << QPointF(0, 0) << Docking::Edge::Top;
    // At x = 100 the main diagonal passes y = 54.33 and the other one y = 177.67.
    QTest::newRow("just above the main diagonal") << QPointF(100, 53.8) << Docking::Edge::Top;
    QTest::newRow("just below the main diagonal") << QPointF(100, 54.8) << Docking::Edge::Left;
    QTest::newRow("just above the other diagonal") << QPointF(100, 177.2) << Docking::Edge::Left;
    QTest::newRow("just below the other diagonal") << QPointF(100, 178.2) << Docking::Edge::Bottom;
    QTest::newRow("right of the centre") << QPointF(214, 116) << Docking::Edge::Right;
    QTest::newRow("left of the window") << QPointF(-50, 116) << Docking::Edge::Left;
    QTest::newRow("below the window") << QPointF(213, 400) << Docking::Edge::Bottom;
    QTest::newRow("above the window, far right") << QPointF(500, -20) << Docking::Edge::Right;
}

void TestSpeedBar::edgeAt()
{
    QFETCH(QPointF, point);
    QFETCH(Docking::Edge, edge);
    QCOMPARE(Docking::edgeAt(point, QSize(427, 232)), edge);
}

void TestSpeedBar::dockedRect_data()
{
    QTest::addColumn<Docking::Edge>("target");
    QTest::addColumn<QRect>("current");
    QTest::addColumn<QList<QRect>>("bottomControls");
    QTest::addColumn<QRect>("expected");

    const QList<QRect> statusBar{QRect(0, 213, 427, 19)};
    const QRect top(0, 0, 427, 60);
    const QRect left(0, 0, 60, 213);
    const QRect bottom(0, 153, 427, 60);
    QTest::newRow("top") << Docking::Edge::Top << left << statusBar << top;
    QTest::newRow("bottom, just above the status bar")
        << Docking::Edge::Bottom << top << statusBar << bottom;
    QTest::newRow("left, down to the status bar")
        << Docking::Edge::Left << top << statusBar << left;
    QTest::newRow("right, down to the status bar")
        << Docking::Edge::Right << top << statusBar << QRect(367, 0, 60, 213);
    QTest::newRow("bottom from the bottom")
        << Docking::Edge::Bottom << bottom << statusBar << bottom;
    QTest::newRow("a bottom control farther from the edge than the bar does not count")
        << Docking::Edge::Bottom << QRect(0, 172, 427, 60) << QList<QRect>{QRect(0, 150, 427, 22)}
        << QRect(0, 172, 427, 60);
    QTest::newRow("bottom without a status bar")
        << Docking::Edge::Bottom << top << QList<QRect>() << QRect(0, 172, 427, 60);
    QTest::newRow("left without a status bar")
        << Docking::Edge::Left << top << QList<QRect>() << QRect(0, 0, 60, 232);
}

void TestSpeedBar::dockedRect()
{
    QFETCH(Docking::Edge, target);
    QFETCH(QRect, current);
    QFETCH(QList<QRect>, bottomControls);
    QFETCH(QRect, expected);
    QList<Docking::Docked> others;
    for (const QRect &control : bottomControls)
        others.append({Docking::Edge::Bottom, control});
    QCOMPARE(Docking::dockedRect(target, QRect(0, 0, 427, 232), others, current, 60), expected);
}

// Hidden docked controls take no room, and the bar does not count itself.
void TestSpeedBar::hiddenDockedControlsLeaveTheirRoom()
{
    QWidget window;
    window.resize(427, 232);
    auto *bar = new SpeedBar(&window);
    bar->setGeometry(0, 0, 427, 60);
    auto *statusBar = new QWidget(&window);
    statusBar->setGeometry(0, 213, 427, 19);
    Docking::setEdge(statusBar, Docking::Edge::Bottom);

    QCOMPARE(bar->dockedRect(Docking::Edge::Left), QRect(0, 0, 60, 213));
    QCOMPARE(bar->dockedRect(Docking::Edge::Top), QRect(0, 0, 427, 60));
    statusBar->hide();
    QCOMPARE(bar->dockedRect(Docking::Edge::Left), QRect(0, 0, 60, 232));
    QCOMPARE(bar->dockedRect(Docking::Edge::Bottom), QRect(0, 172, 427, 60));
}

void TestSpeedBar::wallpaperTiles_data()
{
    QTest::addColumn<QSize>("barSize");
    QTest::addColumn<QSize>("tileSize");
    QTest::newRow("horizontal bar, small tiles") << QSize(100, 60) << QSize(30, 25);
    QTest::newRow("vertical bar, tiles of exactly its inside width")
        << QSize(60, 213) << QSize(58, 50);
    QTest::newRow("one tile larger than the bar") << QSize(427, 60) << QSize(640, 125);
}

// The tiles start at the inside's top-left corner, each at its natural size, and the
// one-pixel lowered bevel stays on top.
void TestSpeedBar::wallpaperTiles()
{
    QFETCH(QSize, barSize);
    QFETCH(QSize, tileSize);
    QPixmap tile(tileSize);
    tile.fill(Qt::green);
    {
        QPainter painter(&tile);
        painter.fillRect(0, 0, 1, 1, Qt::red);
    }
    SpeedBar bar;
    bar.resize(barSize);
    const QImage plain = bar.grab().toImage();
    bar.setWallpaper(tile);
    const QImage image = bar.grab().toImage();

    const QRect inside(1, 1, barSize.width() - 2, barSize.height() - 2);
    for (int y = 0; y < barSize.height(); ++y) {
        for (int x = 0; x < barSize.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (!inside.contains(x, y)) {
                QCOMPARE(pixel, plain.pixel(x, y));
                continue;
            }
            const bool tileCorner =
                (x - 1) % tileSize.width() == 0 && (y - 1) % tileSize.height() == 0;
            QCOMPARE(pixel, tileCorner ? qRgb(255, 0, 0) : qRgb(0, 255, 0));
        }
    }
    const QPalette palette = bar.palette();
    QCOMPARE(image.pixel(0, 0), palette.color(QPalette::Dark).rgb());
    QCOMPARE(image.pixel(barSize.width() - 1, 1), palette.color(QPalette::Light).rgb());
    QCOMPARE(image.pixel(1, barSize.height() - 1), palette.color(QPalette::Light).rgb());
    QCOMPARE(plain.pixel(5, 5), palette.color(QPalette::Button).rgb());
}

void TestSpeedBar::itemsOutsideTheBarAreHidden()
{
    QWidget window;
    window.resize(427, 232);
    auto *bar = new SpeedBar(&window);
    bar->setGeometry(0, 0, 427, 60);
    auto *section = new SpeedbarSection(QStringLiteral("Section"), bar);
    auto *first = new SpeedItem(section, {3, 3});
    auto *last = new SpeedItem(section, {370, 3});
    QCOMPARE(bar->sections(), QList<SpeedbarSection *>{section});
    QCOMPARE(bar->items(), (QList<SpeedItem *>{first, last}));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(last->button()->isVisible());
    QCOMPARE(last->button()->geometry(), QRect(370, 3, 54, 54));

    bar->dockTo(Docking::Edge::Left);
    QCOMPARE(bar->geometry(), QRect(0, 0, 60, 232));
    QCOMPARE(last->position(), QPoint(3, 370));
    QVERIFY(!last->button()->isVisible());
    QVERIFY(first->button()->isVisible());

    // An item made invisible stays hidden wherever the bar goes.
    first->setVisible(false);
    bar->dockTo(Docking::Edge::Top);
    QVERIFY(last->button()->isVisible());
    QVERIFY(!first->button()->isVisible());
}

void TestSpeedBar::monochromeCursor()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("cursor.xpm"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("/* XPM */\n"
               "static const char *const cursor[] = {\n"
               "\"3 1 3 1\",\n"
               "\"k c #000000\",\n"
               "\"w c #FFFFFF\",\n"
               "\". c None\",\n"
               "\"kw.\"};\n");
    file.close();

    const QCursor cursor = CursorResource::load(path, QPoint(2, 0));
    QCOMPARE(cursor.shape(), Qt::BitmapCursor);
    QCOMPARE(cursor.hotSpot(), QPoint(2, 0));
    // Black: bitmap and mask set; white: mask only; transparent: neither.
    const QImage bitmap = cursor.bitmap().toImage();
    const QImage mask = cursor.mask().toImage();
    QCOMPARE(bitmap.pixelIndex(0, 0), 1);
    QCOMPARE(mask.pixelIndex(0, 0), 1);
    QCOMPARE(bitmap.pixelIndex(1, 0), 0);
    QCOMPARE(mask.pixelIndex(1, 0), 1);
    QCOMPARE(bitmap.pixelIndex(2, 0), 0);
    QCOMPARE(mask.pixelIndex(2, 0), 0);

    QCOMPARE(CursorResource::load(dir.filePath(QStringLiteral("missing.xpm")), QPoint()).shape(),
             Qt::ArrowCursor);
}

QTEST_MAIN(TestSpeedBar)
#include "tst_speedbar.moc"
