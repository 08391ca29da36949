#include "spinedit.h"

#include "heighttext.h"
#include "spinbutton.h"
#include "systemlocale.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>

#include <limits>

static_assert(std::numeric_limits<long double>::digits == 64,
              "steps are computed with a 64-bit significand");

SpinEdit::SpinEdit(QWidget *parent)
    : QLineEdit(parent), m_spinButton(new SpinButton(this)),
      m_separator(SystemLocale::decimalSeparator())
{
    // The length is not limited (QLineEdit would cut a paste at 32767 characters).
    setMaxLength(std::numeric_limits<int>::max());
    // The owning window puts its own popup menu in place of the edit menu.
    setContextMenuPolicy(Qt::NoContextMenu);
    // Qt gives a click on a child that takes no focus to the nearest ancestor that
    // takes it on a click: the field itself, for a click on its spin button. So the
    // field takes click focus itself, and only on its text area (mousePressEvent).
    setFocusPolicy(Qt::TabFocus);
    setText(QStringLiteral("0"));

    connect(m_spinButton, &SpinButton::stepUpRequested, this, &SpinEdit::stepUp);
    connect(m_spinButton, &SpinButton::stepDownRequested, this, &SpinEdit::stepDown);
    connect(qApp, &QApplication::focusChanged, this, &SpinEdit::onFocusChanged);
    layoutSpinButton();
}

// ~QWidget clears the focus and so emits focusChanged after this part is gone.
SpinEdit::~SpinEdit()
{
    disconnect(qApp, &QApplication::focusChanged, this, &SpinEdit::onFocusChanged);
}

double SpinEdit::value() const
{
    return HeightText::parse(text(), m_separator).value_or(m_minValue);
}

void SpinEdit::setValue(double value)
{
    // Written so that NaN also lands on the lower bound.
    if (!(value >= m_minValue))
        value = m_minValue;
    else if (value > m_maxValue)
        value = m_maxValue;
    const QString newText = HeightText::format(value, m_separator);
    if (newText != text())
        setText(newText);
}

void SpinEdit::stepUp()
{
    step(m_increment);
}

void SpinEdit::stepDown()
{
    step(-static_cast<long double>(m_increment));
}

void SpinEdit::step(long double increment)
{
    if (isReadOnly())
        return;
    setValue(static_cast<double>(static_cast<long double>(value()) + increment));
}

bool SpinEdit::isAcceptedCharacter(QChar c) const
{
    // Control characters carry Backspace and the clipboard shortcuts; X also gives
    // the Delete key the text DEL.
    if (c.unicode() < 32 || c.unicode() == 127)
        return true;
    return (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == m_separator;
}

QString SpinEdit::acceptedCharacters(const QString &text) const
{
    QString accepted;
    accepted.reserve(text.size());
    for (const QChar c : text) {
        if (isAcceptedCharacter(c))
            accepted += c;
    }
    return accepted;
}

void SpinEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        stepUp();
        event->accept();
        return;
    case Qt::Key_Down:
        stepDown();
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter is taken here, silently, so that it sets nothing off.
        event->accept();
        return;
    default:
        break;
    }

    // A key with Ctrl is a shortcut, never typing: some platforms give Ctrl+V the text
    // "v" rather than a control character, and QLineEdit inserts nothing for it.
    const auto modifiers = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    const QString typed = event->text();
    const QString accepted = acceptedCharacters(typed);
    if (modifiers == Qt::ControlModifier || accepted.size() == typed.size()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QApplication::beep();
    if (accepted.isEmpty()) {
        event->accept();
        return;
    }
    QKeyEvent filtered(event->type(), event->key(), event->modifiers(), accepted,
                       event->isAutoRepeat(), ushort(event->count()));
    QLineEdit::keyPressEvent(&filtered);
    event->setAccepted(filtered.isAccepted());
}

void SpinEdit::inputMethodEvent(QInputMethodEvent *event)
{
    const QString committed = event->commitString();
    const QString accepted = acceptedCharacters(committed);
    if (accepted.size() == committed.size()) {
        QLineEdit::inputMethodEvent(event);
        return;
    }
    QApplication::beep();
    QInputMethodEvent filtered(event->preeditString(), event->attributes());
    filtered.setCommitString(accepted, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
    event->setAccepted(filtered.isAccepted());
}

void SpinEdit::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // Entering from the keyboard selects the whole text, even over a selection kept
    // from before; a click places the caret itself.
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        selectAll();
        break;
    default:
        break;
    }
}

void SpinEdit::mousePressEvent(QMouseEvent *event)
{
    if (event->spontaneous() && isEnabled() &&
        !m_spinButton->geometry().contains(event->position().toPoint()))
        setFocus(Qt::MouseFocusReason);
    QLineEdit::mousePressEvent(event);
}

// Bounds are enforced when the user moves on to another control of the same window,
// not when the window, a popup or a dialog takes the focus away.
void SpinEdit::onFocusChanged(QWidget *old, QWidget *now)
{
    if (old != this || now == nullptr || now == this || now->window() != window())
        return;
    const double current = value();
    if (current < m_minValue || current > m_maxValue)
        setValue(current);
}

void SpinEdit::resizeEvent(QResizeEvent *event)
{
    QLineEdit::resizeEvent(event);
    layoutSpinButton();
}

void SpinEdit::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::LocaleChange:
        // The text keeps its old separator until it is next written.
        m_separator = SystemLocale::decimalSeparator();
        break;
    case QEvent::StyleChange:
    case QEvent::FontChange:
        layoutSpinButton();
        break;
    default:
        break;
    }
    QLineEdit::changeEvent(event);
}

// The button fills the height inside the frame at the right end; the text area stops
// two pixels before it (QLineEdit keeps that margin inside its contents rectangle).
void SpinEdit::layoutSpinButton()
{
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect inner = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const int side = qMax(0, inner.height());
    m_spinButton->setGeometry(inner.right() + 1 - side, inner.top(), side, side);
    setTextMargins(0, 0, side, 0);
}
