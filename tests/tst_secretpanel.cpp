#include "secretpanel.h"

#include <QApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace {

// Records the rectangle of every repaint, to show what each step redraws.
class RecordingPanel : public SecretPanel
{
public:
    using SecretPanel::SecretPanel;
    QList<QRect> painted;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        painted.append(event->region().boundingRect());
        SecretPanel::paintEvent(event);
    }
};

const QColor Face(0xC0, 0xC0, 0xC0);
const QColor Highlight(0xFF, 0xFF, 0xFF);
const QColor Ink(0x00, 0x00, 0x00);

QRect boundsOf(const QImage &image, const QColor &color)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == color)
                bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

// The text rectangle as each step must show it: the lines from the offset on, each drawn
// on its own, centred, the highlight one pixel right and down, then the ink.
QImage expectedText(const SecretPanel &panel)
{
    const QSize size = panel.textRect().size();
    const QPalette &palette = panel.palette();
    const qreal ratio = panel.devicePixelRatioF();
    QImage image(size * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(palette.color(QPalette::Button));
    QPainter painter(&image);
    painter.setFont(panel.font());
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs;
    const int height = panel.lineHeight();
    int index = SecretPanel::firstLine(panel.offset(), height);
    for (int top = SecretPanel::firstLineTop(panel.offset(), height);
         top < size.height() && index < panel.lines().size(); top += height, ++index) {
        const QRect line(0, top, size.width(), height);
        painter.setPen(palette.color(QPalette::Light));
        painter.drawText(line.translated(1, 1), flags, panel.lines().at(index));
        painter.setPen(palette.color(QPalette::WindowText));
        painter.drawText(line, flags, panel.lines().at(index));
    }
    return image;
}

} // namespace

class TestSecretPanel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void lineHeight_data();
    void lineHeight();
    void rollArithmetic_data();
    void rollArithmetic();
    void rollsOnePixelPerStepAndWrapsAfterTheLastLine();

    void startStopRestart();
    void stopRestoresExactlyTheShownChildren();
    void focusReturnsAfterTheRoll();
    void clickIsPressAndReleaseOnThePanel_data();
    void clickIsPressAndReleaseOnThePanel();

    void eachTickRepaintsInsideTheTextRectangle();
    void lineIsCentredAndEngraved_data();
    void lineIsCentredAndEngraved();
    void everyStepShowsTheLinesFromItsOffset();

private:
    std::unique_ptr<RecordingPanel> makePanel(const QStringList &lines);

    std::unique_ptr<QWidget> m_window;
};

void TestSecretPanel::init()
{
    m_window = std::make_unique<QWidget>();
    m_window->resize(298, 186);
}

void TestSecretPanel::cleanup()
{
    m_window.reset();
}

std::unique_ptr<RecordingPanel> TestSecretPanel::makePanel(const QStringList &lines)
{
    auto panel = std::make_unique<RecordingPanel>(m_window.get());
    panel->setGeometry(0, 0, 298, 186);
    panel->setLines(lines);
    panel->setInterval(50);
    panel->setCycled(true);
    panel->setTextStyle(SecretPanel::TextStyle::Engraved);
    QFont font(QStringLiteral("Liberation Sans Narrow"));
    font.setPixelSize(11);
    panel->setFont(font);
    return panel;
}

void TestSecretPanel::lineHeight_data()
{
    QTest::addColumn<int>("textHeight");
    QTest::addColumn<int>("externalLeading");
    QTest::addColumn<SecretPanel::TextStyle>("style");
    QTest::addColumn<int>("expected");
    QTest::newRow("engraved, no leading") << 13 << 0 << SecretPanel::TextStyle::Engraved << 14;
    QTest::newRow("engraved, with leading") << 13 << 2 << SecretPanel::TextStyle::Engraved << 16;
    QTest::newRow("plain") << 13 << 0 << SecretPanel::TextStyle::Plain << 13;
}

void TestSecretPanel::lineHeight()
{
    QFETCH(int, textHeight);
    QFETCH(int, externalLeading);
    QFETCH(SecretPanel::TextStyle, style);
    QFETCH(int, expected);
    QCOMPARE(SecretPanel::lineHeightFor(textHeight, externalLeading, style), expected);
}

// Sixteen lines of 14 pixels: the offset runs from 0 to 15 * 14 = 210, where the last
// line stands at the top of the text rectangle.
void TestSecretPanel::rollArithmetic_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("cycled");
    QTest::addColumn<int>("next");
    QTest::addColumn<int>("firstLine");
    QTest::addColumn<int>("firstLineTop");
    QTest::newRow("at the start") << 0 << true << 1 << 0 << 0;
    QTest::newRow("one pixel up") << 1 << true << 2 << 0 << -1;
    QTest::newRow("first line almost gone") << 13 << true << 14 << 0 << -13;
    QTest::newRow("second line at the top") << 14 << true << 15 << 1 << 0;
    QTest::newRow("second line one pixel up") << 15 << true << 16 << 1 << -1;
    QTest::newRow("one pixel before the end") << 209 << true << 210 << 14 << -13;
    QTest::newRow("last line at the top wraps") << 210 << true << 0 << 15 << 0;
    QTest::newRow("not cycled stays at the end") << 210 << false << 210 << 15 << 0;
}

void TestSecretPanel::rollArithmetic()
{
    QFETCH(int, offset);
    QFETCH(bool, cycled);
    QFETCH(int, next);
    QFETCH(int, firstLine);
    QFETCH(int, firstLineTop);
    constexpr int LineCount = 16;
    constexpr int LineHeight = 14;
    QCOMPARE(SecretPanel::nextOffset(offset, LineCount, LineHeight, cycled), next);
    QCOMPARE(SecretPanel::firstLine(offset, LineHeight), firstLine);
    QCOMPARE(SecretPanel::firstLineTop(offset, LineHeight), firstLineTop);
}

void TestSecretPanel::rollsOnePixelPerStepAndWrapsAfterTheLastLine()
{
    auto panel = makePanel(QStringList(16, QStringLiteral("ligne")));
    m_window->show();
    panel->setActive(true);

    const QFontMetrics metrics(panel->font());
    const int height = metrics.height() + metrics.leading() + 1;
    QCOMPARE(panel->lineHeight(), height);
    QCOMPARE(panel->textRect(), QRect(4, 6, 290, 176));
    QCOMPARE(panel->offset(), 0);

    panel->scrollStep();
    QCOMPARE(panel->offset(), 1);
    while (panel->offset() < 15 * height)
        panel->scrollStep();
    panel->scrollStep();
    QCOMPARE(panel->offset(), 0);
    panel->scrollStep();
    QCOMPARE(panel->offset(), 1);
}

void TestSecretPanel::startStopRestart()
{
    auto panel = makePanel(QStringList(16, QStringLiteral("ligne")));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(panel->buffer().isNull());

    panel->setActive(true);
    QVERIFY(panel->isActive());
    QCOMPARE(panel->buffer().deviceIndependentSize().toSize(), QSize(290, 176));
    QTRY_VERIFY(panel->offset() >= 2);

    panel->setActive(true); // already rolling: nothing changes
    QVERIFY(panel->isActive());
    QVERIFY(panel->offset() >= 2);

    panel->setActive(false);
    QVERIFY(!panel->isActive());
    QCOMPARE(panel->offset(), 0);
    QVERIFY(panel->buffer().isNull());
    QVERIFY(!panel->findChild<QTimer *>()->isActive());

    panel->setActive(true);
    QCOMPARE(panel->offset(), 0); // again from the top
    QTRY_VERIFY(panel->offset() >= 1);
    panel->setActive(false);
    panel->setActive(false);
    QVERIFY(!panel->isActive());
}

void TestSecretPanel::stopRestoresExactlyTheShownChildren()
{
    auto panel = makePanel({QStringLiteral("ligne")});
    auto *shown = new QLabel(QStringLiteral("shown"), panel.get());
    auto *hidden = new QLabel(QStringLiteral("hidden"), panel.get());
    auto *removed = new QLabel(QStringLiteral("removed"), panel.get());
    hidden->hide();
    m_window->show();

    panel->setActive(true);
    QVERIFY(shown->isHidden());
    QVERIFY(hidden->isHidden());
    QVERIFY(removed->isHidden());
    delete removed; // a child gone during the roll is simply not brought back

    panel->setActive(false);
    QVERIFY(!shown->isHidden());
    QVERIFY(hidden->isHidden());

    hidden->show();
    shown->hide();
    panel->setActive(true);
    panel->setActive(false);
    QVERIFY(shown->isHidden());
    QVERIFY(!hidden->isHidden());
}

void TestSecretPanel::focusReturnsAfterTheRoll()
{
    auto panel = makePanel({QStringLiteral("ligne")});
    auto *button = new QPushButton(QStringLiteral("Ok"), panel.get());
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    button->setFocus();
    QVERIFY(button->hasFocus());

    panel->setActive(true);
    QVERIFY(!button->hasFocus());
    QVERIFY(!QApplication::focusWidget() || QApplication::focusWidget()->isVisible());
    panel->setActive(false);
    QVERIFY(button->hasFocus());
}

void TestSecretPanel::clickIsPressAndReleaseOnThePanel_data()
{
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<bool>("clicked");
    QTest::newRow("left, released on the panel") << QPoint(150, 90) << Qt::LeftButton << true;
    QTest::newRow("left, released outside") << QPoint(400, 90) << Qt::LeftButton << false;
    QTest::newRow("right button") << QPoint(150, 90) << Qt::RightButton << false;
}

void TestSecretPanel::clickIsPressAndReleaseOnThePanel()
{
    QFETCH(QPoint, releaseAt);
    QFETCH(Qt::MouseButton, button);
    QFETCH(bool, clicked);
    auto panel = makePanel({});
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    int clicks = 0;
    connect(panel.get(), &SecretPanel::clicked, this, [&clicks] { ++clicks; });

    QTest::mousePress(panel.get(), button, {}, QPoint(150, 90));
    QTest::mouseRelease(panel.get(), button, {}, releaseAt);
    QCOMPARE(clicks, clicked ? 1 : 0);
}

void TestSecretPanel::eachTickRepaintsInsideTheTextRectangle()
{
    auto panel = makePanel(QStringList(16, QStringLiteral("ligne")));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    panel->setActive(true);
    QTRY_VERIFY(panel->offset() >= 1);
    QTest::qWait(0);
    panel->painted.clear();

    QTRY_VERIFY(panel->painted.size() >= 3);
    for (const QRect &rect : std::as_const(panel->painted)) {
        QVERIFY(QRect(4, 6, 290, 176).contains(rect));
        QCOMPARE(rect.height(), 176);
    }
}

void TestSecretPanel::lineIsCentredAndEngraved_data()
{
    QTest::addColumn<SecretPanel::TextStyle>("style");
    QTest::newRow("engraved") << SecretPanel::TextStyle::Engraved;
    QTest::newRow("plain") << SecretPanel::TextStyle::Plain;
}

// Without antialiasing the two colours of the lettering can be told apart pixel by pixel.
void TestSecretPanel::lineIsCentredAndEngraved()
{
    QFETCH(SecretPanel::TextStyle, style);
    auto panel = makePanel({QStringLiteral("Morphocalcule")});
    panel->setTextStyle(style);
    QFont font = panel->font();
    font.setStyleStrategy(QFont::NoAntialias);
    panel->setFont(font);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Button, Face);
    palette.setColor(QPalette::Light, Highlight);
    palette.setColor(QPalette::WindowText, Ink);
    panel->setPalette(palette);
    m_window->show();

    panel->setActive(true);
    panel->scrollStep(); // one line only: it stays at the top
    QCOMPARE(panel->offset(), 0);
    const QImage image = panel->buffer().toImage();
    const QRect ink = boundsOf(image, Ink);
    const QRect highlight = boundsOf(image, Highlight);

    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.top() >= 0 && ink.bottom() < panel->lineHeight());
    QVERIFY2(qAbs(ink.center().x() - image.width() / 2) <= 2,
             qPrintable(QString::number(ink.center().x())));
    if (style == SecretPanel::TextStyle::Engraved) {
        QCOMPARE(highlight.right(), ink.right() + 1);
        QCOMPARE(highlight.bottom(), ink.bottom() + 1);
    } else {
        QVERIFY(highlight.isEmpty());
    }
}

// The lines are drawn once when the roll starts and each step copies and repaints only
// the columns they reach; the off-screen buffer and the screen must still show exactly
// what drawing the visible lines anew would, through a whole cycle and past its wrap.
void TestSecretPanel::everyStepShowsTheLinesFromItsOffset()
{
    QStringList lines(3, QString());
    lines << QStringLiteral("  Le logiciel Morphocalcule") << QStringLiteral("à été développé")
          << QString() << QStringLiteral("\tavec une tabulation")
          << QStringLiteral("   37000 Tours");
    auto panel = makePanel(lines);
    panel->setInterval(3600 * 1000); // the test takes the steps
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    panel->setActive(true);

    const QRect text = panel->textRect();
    const auto onScreen = [&] {
        QCoreApplication::processEvents();
        return m_window->screen()
            ->grabWindow(m_window->winId(), text.x(), text.y(), text.width(), text.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const auto bufferShown = [&] {
        return panel->buffer().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const int steps = (int(lines.size()) - 1) * panel->lineHeight() + 3;
    for (int step = 0; step < steps; ++step) {
        panel->scrollStep();
        const QImage expected = expectedText(*panel);
        const QString where = QStringLiteral("offset %1").arg(panel->offset());
        QVERIFY2(bufferShown() == expected, qPrintable(where));
        QVERIFY2(onScreen() == expected, qPrintable(where));
    }
    QCOMPARE(panel->offset(), 2);

    // Painted anew whole, the panel has its colour between the bevel and the text.
    const QImage whole = panel->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect inside = panel->rect().adjusted(1, 1, -1, -1);
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (!text.contains(x, y))
                QCOMPARE(whole.pixelColor(x, y), panel->palette().color(QPalette::Button));
        }
    }

    // Lines changed during the roll show from the next step on, the old ones gone.
    panel->setLines({QStringLiteral("i")});
    panel->scrollStep();
    QVERIFY(bufferShown() == expectedText(*panel));
    QVERIFY(onScreen() == expectedText(*panel));
}

QTEST_MAIN(TestSecretPanel)
#include "tst_secretpanel.moc"
