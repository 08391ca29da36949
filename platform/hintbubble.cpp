#include "hintbubble.h"

#include "designfont.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {

constexpr int TextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

QRect keptOnScreen(QRect bubble, const QRect &screen)
{
    bubble.moveLeft(qMax(screen.left(), qMin(bubble.left(), screen.right() - bubble.width() + 1)));
    bubble.moveTop(qMax(screen.top(), qMin(bubble.top(), screen.bottom() - bubble.height() + 1)));
    return bubble;
}

} // namespace

HintBubble::HintBubble()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                           Qt::WindowDoesNotAcceptFocus)
{
    setObjectName(QStringLiteral("HintBubble"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFont(DesignFont::sansSerif(11));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    setForegroundRole(QPalette::ToolTipText);
}

QSize HintBubble::sizeFor(const QString &text, int maximumWidth) const
{
    const QRect laidOut = fontMetrics().boundingRect(QRect(0, 0, maximumWidth, 0), TextFlags, text);
    return laidOut.size() + QSize(ExtraWidth, ExtraHeight);
}

void HintBubble::showText(const QString &text, const QPoint &topLeft)
{
    m_text = text;
    setAccessibleName(text);
    const QScreen *screen = QGuiApplication::screenAt(topLeft);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    const QRect area = screen->geometry();
    setGeometry(keptOnScreen(QRect(topLeft, sizeFor(text, area.width())), area));
    update();
    show();
    raise();
}

void HintBubble::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::ToolTipText));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    const QRect textArea =
        rect().adjusted(ExtraWidth / 2, ExtraHeight / 2, -ExtraWidth / 2, -ExtraHeight / 2);
    painter.drawText(textArea, TextFlags, m_text);
}
