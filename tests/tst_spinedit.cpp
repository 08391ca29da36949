#include "spinbutton.h"
#include "spinedit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>

#include <clocale>
#include <cmath>
#include <limits>
#include <memory>

using namespace Qt::StringLiterals;

// A point of the spin button, given its side.
using PointOnButton = QPoint (*)(int side);
Q_DECLARE_METATYPE(PointOnButton)

namespace {

// Records the events that reach a widget, whether sent to it or passed on by a child.
class EventLog : public QObject
{
public:
    explicit EventLog(QObject *watched) { watched->installEventFilter(this); }
    bool saw(QEvent::Type type) const { return m_types.contains(type); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        m_types.append(event->type());
        return false;
    }

private:
    QList<QEvent::Type> m_types;
};

} // namespace

class TestSpinEdit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase_data();
    void init();
    void cleanup();

    void startsAtZeroUntilTheWindowSetsIt();
    void writeClampsAndWritesTwoDecimals_data();
    void writeClampsAndWritesTwoDecimals();
    void readParsesWithoutClamping_data();
    void readParsesWithoutClamping();
    void arrowKeysStep_data();
    void arrowKeysStep();
    void readOnlyFieldDoesNotStep();
    void typingFilter_data();
    void typingFilter();
    void inputMethodCommitIsFiltered_data();
    void inputMethodCommitIsFiltered();
    void clipboardUndoAndDeletionWork();
    void keysWithoutEffect_data();
    void keysWithoutEffect();
    void keyboardEntrySelectsAll_data();
    void keyboardEntrySelectsAll();
    void clickPlacesTheCaret();
    void exitCorrection_data();
    void exitCorrection();
    void noExitCorrectionWithoutAMoveToAnotherControl_data();
    void noExitCorrectionWithoutAMoveToAnotherControl();
    void contextMenuRequestGoesToTheWindow_data();
    void contextMenuRequestGoesToTheWindow();
    void spinButtonFillsTheInnerHeight_data();
    void spinButtonFillsTheInnerHeight();
    void spinButtonSplitsAlongTheDiagonal_data();
    void spinButtonSplitsAlongTheDiagonal();
    void spinButtonIgnoresOtherButtons_data();
    void spinButtonIgnoresOtherButtons();
    void spinButtonLeavesTheFocus_data();
    void spinButtonLeavesTheFocus();
    void spinButtonRepeatsWhileHeld();
    void spinButtonRepeatStopsAtTheBound();
    void spinButtonRepeatsOnlyOverThePressedHalf_data();
    void spinButtonRepeatsOnlyOverThePressedHalf();
    void spinButtonPressEndsWithTheWindowActivation();
    void spinButtonDrawsThePressedHalf();
    void separatorFollowsALocaleChange();
    void hugeTextIsHandled_data();
    void hugeTextIsHandled();

private:
    // Test data is written with a comma; under a point locale the two are swapped.
    QString local(const QString &text) const;
    void type(const QString &text);
    void useLocale(const QByteArray &name);
    SpinButton *spinButton() const { return m_edit->findChild<SpinButton *>(); }
    QPoint onButton(PointOnButton at) const;

    QChar m_separator;
    std::unique_ptr<QWidget> m_window;
    SpinEdit *m_edit = nullptr;
    QLineEdit *m_other = nullptr;
    QToolButton *m_noFocus = nullptr;
};

void TestSpinEdit::initTestCase_data()
{
    QTest::addColumn<QByteArray>("locale");
    QTest::addColumn<QChar>("separator");
    QTest::newRow("comma") << QByteArray("fr_FR.UTF-8") << QChar(u',');
    QTest::newRow("point") << QByteArray("C") << QChar(u'.');
}

void TestSpinEdit::useLocale(const QByteArray &name)
{
    if (!std::setlocale(LC_ALL, name.constData()))
        QFAIL(qPrintable(QStringLiteral("locale %1 is not installed; generate it (locale-gen)")
                             .arg(QString::fromLatin1(name))));
}

// A window like the program's: the field, another control that takes the focus, and a
// tool button that never does. The field is set up in the program's order, before
// anyone listens to its changes.
void TestSpinEdit::init()
{
    QFETCH_GLOBAL(QByteArray, locale);
    QFETCH_GLOBAL(QChar, separator);
    useLocale(locale);
    m_separator = separator;

    m_window = std::make_unique<QWidget>();
    m_window->setGeometry(200, 200, 300, 130);
    m_edit = new SpinEdit(m_window.get());
    m_edit->setGeometry(24, 40, 73, 21);
    m_edit->setIncrement(0.5);
    m_edit->setMinValue(100);
    m_edit->setMaxValue(250);
    m_edit->setValue(0);
    m_edit->setValue(160);
    m_other = new QLineEdit(m_window.get());
    m_other->setGeometry(24, 80, 120, 21);
    m_noFocus = new QToolButton(m_window.get());
    m_noFocus->setGeometry(160, 40, 80, 24);
    m_noFocus->setText(QStringLiteral("Calculer"));
    m_noFocus->setFocusPolicy(Qt::NoFocus);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_edit->setFocus();
    QTRY_VERIFY(m_edit->hasFocus());
    QCOMPARE(m_edit->decimalSeparator(), m_separator);
}

void TestSpinEdit::cleanup()
{
    m_window.reset();
}

QString TestSpinEdit::local(const QString &text) const
{
    if (m_separator == u',')
        return text;
    QString swapped = text;
    for (QChar &c : swapped) {
        if (c == u',')
            c = u'.';
        else if (c == u'.')
            c = u',';
    }
    return swapped;
}

// Each character as the keyboard would send it, text included.
void TestSpinEdit::type(const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, m_edit, Qt::Key(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
}

QPoint TestSpinEdit::onButton(PointOnButton at) const
{
    return at(spinButton()->width());
}

void TestSpinEdit::startsAtZeroUntilTheWindowSetsIt()
{
    SpinEdit fresh;
    QCOMPARE(fresh.text(), QStringLiteral("0"));

    QCOMPARE(m_edit->text(), local("160,00"));
    QCOMPARE(m_edit->value(), 160.0);
}

void TestSpinEdit::writeClampsAndWritesTwoDecimals_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");

    const double infinity = std::numeric_limits<double>::infinity();
    QTest::newRow("same text") << "160,00" << 160.0 << "160,00";
    QTest::newRow("typed 160 gets its decimals") << "160" << 160.0 << "160,00";
    QTest::newRow("half up") << "160,00" << 160.125 << "160,13";
    QTest::newRow("just below the bounds") << "160,00" << 99.999 << "100,00";
    QTest::newRow("negative") << "160,00" << -5.0 << "100,00";
    QTest::newRow("above the bounds") << "160,00" << 300.0 << "250,00";
    QTest::newRow("rounds up onto the upper bound") << "160,00" << 249.999 << "250,00";
    QTest::newRow("clamped onto the text already there") << "250,00" << 1e300 << "250,00";
    QTest::newRow("infinity") << "160,00" << infinity << "250,00";
    QTest::newRow("NaN") << "160,00" << std::nan("") << "100,00";
}

void TestSpinEdit::writeClampsAndWritesTwoDecimals()
{
    QFETCH(QString, start);
    QFETCH(double, value);
    QFETCH(QString, expected);

    m_edit->setText(local(start));
    QSignalSpy changes(m_edit, &QLineEdit::textChanged);
    m_edit->setValue(value);

    QCOMPARE(m_edit->text(), local(expected));
    QCOMPARE(changes.count(), start == expected ? 0 : 1);
}

void TestSpinEdit::readParsesWithoutClamping_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value");

    QTest::newRow("two decimals") << "160,50" << 160.5;
    QTest::newRow("above the bounds") << "300" << 300.0;
    QTest::newRow("below the bounds") << "-5" << -5.0;
    QTest::newRow("lone separator") << "," << 0.0;
    QTest::newRow("empty") << "" << 100.0;
    QTest::newRow("lone sign") << "-" << 100.0;
    QTest::newRow("several separators") << "1,2,3" << 100.0;
    QTest::newRow("the other separator") << "160.5" << 100.0;
    QTest::newRow("letters") << "abc" << 100.0;
}

void TestSpinEdit::readParsesWithoutClamping()
{
    QFETCH(QString, text);
    QFETCH(double, value);

    m_edit->setText(local(text));
    QSignalSpy changes(m_edit, &QLineEdit::textChanged);

    QCOMPARE(m_edit->value(), value);
    QCOMPARE(m_edit->text(), local(text));
    QCOMPARE(changes.count(), 0);
}

void TestSpinEdit::arrowKeysStep_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expected");

    QTest::newRow("up") << "160,00" << int(Qt::Key_Up) << "160,50";
    QTest::newRow("down") << "160,00" << int(Qt::Key_Down) << "159,50";
    QTest::newRow("up from empty") << "" << int(Qt::Key_Up) << "100,50";
    QTest::newRow("down from empty") << "" << int(Qt::Key_Down) << "100,00";
    QTest::newRow("up from unreadable") << "1,2,3" << int(Qt::Key_Up) << "100,50";
    QTest::newRow("down from unreadable") << "abc" << int(Qt::Key_Down) << "100,00";
    QTest::newRow("up at 250,00") << "250,00" << int(Qt::Key_Up) << "250,00";
    QTest::newRow("down at 100,00") << "100,00" << int(Qt::Key_Down) << "100,00";
    QTest::newRow("up at typed 250") << "250" << int(Qt::Key_Up) << "250,00";
    QTest::newRow("up from typed 160,333") << "160,333" << int(Qt::Key_Up) << "160,83";
    QTest::newRow("down from typed 160,333") << "160,333" << int(Qt::Key_Down) << "159,83";
    QTest::newRow("down from typed 300") << "300" << int(Qt::Key_Down) << "250,00";
    QTest::newRow("up from typed 99") << "99" << int(Qt::Key_Up) << "100,00";
    QTest::newRow("up from typed -5") << "-5" << int(Qt::Key_Up) << "100,00";
}

void TestSpinEdit::arrowKeysStep()
{
    QFETCH(QString, start);
    QFETCH(int, key);
    QFETCH(QString, expected);

    m_edit->setText(local(start));
    QSignalSpy changes(m_edit, &QLineEdit::textChanged);
    QTest::keyClick(m_edit, Qt::Key(key));

    QCOMPARE(m_edit->text(), local(expected));
    QCOMPARE(changes.count(), start == expected ? 0 : 1);
}

void TestSpinEdit::readOnlyFieldDoesNotStep()
{
    m_edit->setReadOnly(true);
    QTest::keyClick(m_edit, Qt::Key_Up);
    QTest::mouseClick(spinButton(), Qt::LeftButton, {}, QPoint(0, 0));
    QTest::keyClick(m_edit, Qt::Key_Down);
    QCOMPARE(m_edit->text(), local("160,00"));
}

void TestSpinEdit::typingFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("digits, signs, separators") << u"+-0123456789,,--"_s << u"+-0123456789,,--"_s;
    QTest::newRow("a letter leaves the selection") << u"a"_s << u"160,00"_s;
    QTest::newRow("letters among digits") << u"1a2Z"_s << u"12"_s;
    QTest::newRow("the other separator") << u"1.5"_s << u"15"_s;
    QTest::newRow("blank") << u"1 5"_s << u"15"_s;
    QTest::newRow("exponent letter") << u"1e2"_s << u"12"_s;
    QTest::newRow("non-ASCII letter and digit") << u"1é٣"_s << u"1"_s;
    QTest::newRow("other signs") << u"*/=1"_s << u"1"_s;
}

// The field starts with its whole text selected, so that an accepted first character
// replaces it and a refused one leaves it alone.
void TestSpinEdit::typingFilter()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);

    m_edit->selectAll();
    QSignalSpy changes(m_edit, &QLineEdit::textChanged);
    type(local(typed));

    QCOMPARE(m_edit->text(), local(expected));
    QCOMPARE(changes.isEmpty(), expected == QStringLiteral("160,00"));
}

void TestSpinEdit::inputMethodCommitIsFiltered_data()
{
    QTest::addColumn<QString>("commit");
    QTest::addColumn<QString>("expected");

    QTest::newRow("digits") << u"12,5"_s << u"160,0012,5"_s;
    QTest::newRow("letters among digits") << u"1a2"_s << u"160,0012"_s;
    QTest::newRow("only refused characters") << u"é٣"_s << u"160,00"_s;
}

void TestSpinEdit::inputMethodCommitIsFiltered()
{
    QFETCH(QString, commit);
    QFETCH(QString, expected);

    m_edit->end(false);
    QInputMethodEvent event;
    event.setCommitString(local(commit));
    QApplication::sendEvent(m_edit, &event);

    QCOMPARE(m_edit->text(), local(expected));
}

void TestSpinEdit::clipboardUndoAndDeletionWork()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    QSignalSpy changes(m_edit, &QLineEdit::textChanged);

    QTest::keyClick(m_edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_edit, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(m_edit->text(), QString());
    QCOMPARE(clipboard->text(), local("160,00"));

    clipboard->setText(QStringLiteral("abc 1.5"));
    QTest::keyClick(m_edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_edit->text(), QStringLiteral("abc 1.5"));

    QTest::keyClick(m_edit, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(m_edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(m_edit->text(), local("160,00"));

    QTest::keyClick(m_edit, Qt::Key_End);
    QTest::keyClick(m_edit, Qt::Key_Backspace);
    QTest::keyClick(m_edit, Qt::Key_Home);
    QTest::keyClick(m_edit, Qt::Key_Delete);
    QCOMPARE(m_edit->text(), local("60,0"));
    QCOMPARE(changes.count(), 6);
}

void TestSpinEdit::keysWithoutEffect_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("keptFromTheWindow");

    QTest::newRow("Return") << int(Qt::Key_Return) << true;
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << true;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << false;
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << false;
}

void TestSpinEdit::keysWithoutEffect()
{
    QFETCH(int, key);
    QFETCH(bool, keptFromTheWindow);

    m_edit->setText(local("160,5"));
    QSignalSpy changes(m_edit, &QLineEdit::textChanged);
    EventLog window(m_window.get());
    QTest::keyClick(m_edit, Qt::Key(key));

    QCOMPARE(m_edit->text(), local("160,5"));
    QCOMPARE(changes.count(), 0);
    if (keptFromTheWindow)
        QVERIFY(!window.saw(QEvent::KeyPress));
}

void TestSpinEdit::keyboardEntrySelectsAll_data()
{
    QTest::addColumn<int>("key");

    QTest::newRow("Tab") << int(Qt::Key_Tab);
    QTest::newRow("Backtab") << int(Qt::Key_Backtab);
}

void TestSpinEdit::keyboardEntrySelectsAll()
{
    QFETCH(int, key);

    m_other->setFocus();
    QTRY_VERIFY(m_other->hasFocus());
    // A partial selection made while the field had no focus gives way to the whole text.
    m_edit->setText(QStringLiteral("160"));
    m_edit->setSelection(1, 1);
    QTest::keyClick(m_other, Qt::Key(key));

    QTRY_VERIFY(m_edit->hasFocus());
    QCOMPARE(m_edit->selectedText(), QStringLiteral("160"));
}

void TestSpinEdit::clickPlacesTheCaret()
{
    m_other->setFocus();
    QTRY_VERIFY(m_other->hasFocus());
    QTest::mouseClick(m_edit, Qt::LeftButton, {}, QPoint(1, m_edit->height() / 2));

    QTRY_VERIFY(m_edit->hasFocus());
    QVERIFY(!m_edit->hasSelectedText());
    QCOMPARE(m_edit->cursorPosition(), 0);
}

void TestSpinEdit::exitCorrection_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("byClick");
    QTest::addColumn<QString>("expected");

    QTest::newRow("300") << "300" << false << "250,00";
    QTest::newRow("300, then a click elsewhere") << "300" << true << "250,00";
    QTest::newRow("-5") << "-5" << false << "100,00";
    QTest::newRow("99,999") << "99,999" << false << "100,00";
    QTest::newRow("250,001") << "250,001" << false << "250,00";
    QTest::newRow("lone separator") << "," << false << "100,00";
    QTest::newRow("empty stays empty") << "" << false << "";
    QTest::newRow("160 stays as typed") << "160" << false << "160";
    QTest::newRow("unreadable stays") << "1,2,3" << false << "1,2,3";
    QTest::newRow("250 stays as typed") << "250" << true << "250";
}

void TestSpinEdit::exitCorrection()
{
    QFETCH(QString, typed);
    QFETCH(bool, byClick);
    QFETCH(QString, expected);

    m_edit->selectAll();
    QTest::keyClick(m_edit, Qt::Key_Backspace);
    type(local(typed));
    QCOMPARE(m_edit->text(), local(typed));
    QSignalSpy changes(m_edit, &QLineEdit::textChanged);

    if (byClick)
        QTest::mouseClick(m_other, Qt::LeftButton);
    else
        QTest::keyClick(m_edit, Qt::Key_Tab);

    QTRY_VERIFY(m_other->hasFocus());
    QCOMPARE(m_edit->text(), local(expected));
    QCOMPARE(changes.count(), typed == expected ? 0 : 1);
}

void TestSpinEdit::noExitCorrectionWithoutAMoveToAnotherControl_data()
{
    QTest::addColumn<QString>("disturbance");

    QTest::newRow("click on a tool button") << "tool button";
    QTest::newRow("popup menu") << "popup";
    QTest::newRow("another window takes the focus") << "window";
    QTest::newRow("another window without controls") << "empty window";
    QTest::newRow("modal dialog") << "dialog";
}

// Each disturbance takes the focus from the field, or would in a careless design, without
// moving it to another control of the field's window; once it is over, Tab still corrects.
void TestSpinEdit::noExitCorrectionWithoutAMoveToAnotherControl()
{
    QFETCH(QString, disturbance);

    m_edit->setText(QStringLiteral("300"));
    QSignalSpy changes(m_edit, &QLineEdit::textChanged);

    if (disturbance == u"tool button") {
        QTest::mouseClick(m_noFocus, Qt::LeftButton);
        QVERIFY(m_edit->hasFocus());
    } else if (disturbance == u"popup") {
        QMenu menu;
        menu.addAction(QStringLiteral("&Calculer"));
        menu.popup(m_edit->mapToGlobal(QPoint(5, 5)));
        QTRY_VERIFY(menu.isVisible());
        QCOMPARE(m_edit->text(), QStringLiteral("300"));
        menu.close();
    } else if (disturbance == u"window" || disturbance == u"empty window") {
        QWidget other;
        other.move(600, 200);
        if (disturbance == u"window")
            new QLineEdit(&other);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(!m_edit->hasFocus());
        QCOMPARE(m_edit->text(), QStringLiteral("300"));
    } else if (disturbance == u"dialog") {
        QDialog dialog(m_window.get());
        new QLineEdit(&dialog);
        dialog.open();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTRY_VERIFY(!m_edit->hasFocus());
        QCOMPARE(m_edit->text(), QStringLiteral("300"));
    }

    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTRY_VERIFY(m_edit->hasFocus());
    QCOMPARE(m_edit->text(), QStringLiteral("300"));
    QCOMPARE(changes.count(), 0);

    QTest::keyClick(m_edit, Qt::Key_Tab);
    QTRY_VERIFY(m_other->hasFocus());
    QCOMPARE(m_edit->text(), local("250,00"));
}

void TestSpinEdit::contextMenuRequestGoesToTheWindow_data()
{
    QTest::addColumn<bool>("onSpinButton");

    QTest::newRow("text area") << false;
    QTest::newRow("spin button") << true;
}

void TestSpinEdit::contextMenuRequestGoesToTheWindow()
{
    QFETCH(bool, onSpinButton);

    QWidget *target = onSpinButton ? static_cast<QWidget *>(spinButton()) : m_edit;
    EventLog window(m_window.get());
    const QPoint pos = onSpinButton ? QPoint(2, 2) : QPoint(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, target->mapToGlobal(pos));
    QApplication::sendEvent(target, &event);

    QVERIFY(window.saw(QEvent::ContextMenu));
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
}

void TestSpinEdit::spinButtonFillsTheInnerHeight_data()
{
    QTest::addColumn<QSize>("size");

    QTest::newRow("designed size") << QSize(73, 21);
    QTest::newRow("larger") << QSize(120, 34);
}

// The frame is as thick at the top, the bottom and the right: the button fills what is
// inside it at the right end, and the text never runs under the button.
void TestSpinEdit::spinButtonFillsTheInnerHeight()
{
    QFETCH(QSize, size);

    m_edit->resize(size);
    const QRect button = spinButton()->geometry();
    const int frame = button.top();

    QCOMPARE(button.width(), button.height());
    QVERIFY(frame >= 1);
    QCOMPARE(button.height(), size.height() - 2 * frame);
    QCOMPARE(button.right(), size.width() - 1 - frame);
    QVERIFY(spinButton()->isVisible());

    // Without the caret, the rightmost ink left of the button is the end of the text;
    // underscores run into one line, with no gap between characters.
    m_other->setFocus();
    QTRY_VERIFY(m_other->hasFocus());
    m_edit->setText(QString(60, u'_'));
    m_edit->end(false);
    const QImage image = m_edit->grab().toImage();
    int textEnd = -1;
    for (int x = 0; x < button.left(); ++x) {
        for (int y = frame; y < size.height() - frame; ++y) {
            if (qGray(image.pixel(x, y)) < 128)
                textEnd = x;
        }
    }
    QVERIFY2(textEnd < button.left() - 2 && textEnd >= button.left() - 10,
             qPrintable(QStringLiteral("text ends at %1, button starts at %2")
                            .arg(textEnd)
                            .arg(button.left())));
}

void TestSpinEdit::spinButtonSplitsAlongTheDiagonal_data()
{
    QTest::addColumn<PointOnButton>("at");
    QTest::addColumn<QString>("expected");

    const QString up = QStringLiteral("160,50");
    const QString down = QStringLiteral("159,50");
    QTest::newRow("top-left corner") << PointOnButton([](int) { return QPoint(0, 0); }) << up;
    QTest::newRow("top-right corner, on the diagonal")
        << PointOnButton([](int s) { return QPoint(s - 1, 0); }) << up;
    QTest::newRow("bottom-left corner, on the diagonal")
        << PointOnButton([](int s) { return QPoint(0, s - 1); }) << up;
    QTest::newRow("middle of the diagonal")
        << PointOnButton([](int s) { return QPoint(s / 2, s - 1 - s / 2); }) << up;
    QTest::newRow("just under the middle of the diagonal")
        << PointOnButton([](int s) { return QPoint(s / 2, s - s / 2); }) << down;
    QTest::newRow("just under the top-right corner")
        << PointOnButton([](int s) { return QPoint(s - 1, 1); }) << down;
    QTest::newRow("bottom-right corner")
        << PointOnButton([](int s) { return QPoint(s - 1, s - 1); }) << down;
}

void TestSpinEdit::spinButtonSplitsAlongTheDiagonal()
{
    QFETCH(PointOnButton, at);
    QFETCH(QString, expected);

    QSignalSpy changes(m_edit, &QLineEdit::textChanged);
    QTest::mousePress(spinButton(), Qt::LeftButton, {}, onButton(at));
    QCOMPARE(m_edit->text(), local(expected));
    QTest::mouseRelease(spinButton(), Qt::LeftButton, {}, onButton(at));
    QCOMPARE(m_edit->text(), local(expected));
    QCOMPARE(changes.count(), 1);
}

void TestSpinEdit::spinButtonIgnoresOtherButtons_data()
{
    QTest::addColumn<int>("button");

    QTest::newRow("middle") << int(Qt::MiddleButton);
    QTest::newRow("right") << int(Qt::RightButton);
}

void TestSpinEdit::spinButtonIgnoresOtherButtons()
{
    QFETCH(int, button);

    // Where there is a selection clipboard, a middle click must not paste it either.
    if (QGuiApplication::clipboard()->supportsSelection())
        QGuiApplication::clipboard()->setText(QStringLiteral("7"), QClipboard::Selection);
    QSignalSpy changes(m_edit, &QLineEdit::textChanged);
    QTest::mouseClick(spinButton(), Qt::MouseButton(button), {}, QPoint(1, 1));
    QTest::mouseClick(spinButton(), Qt::MouseButton(button), {},
                      onButton([](int s) { return QPoint(s - 2, s - 2); }));

    QCOMPARE(m_edit->text(), local("160,00"));
    QCOMPARE(changes.count(), 0);
}

void TestSpinEdit::spinButtonLeavesTheFocus_data()
{
    QTest::addColumn<bool>("fieldFocused");

    QTest::newRow("field focused") << true;
    QTest::newRow("other control focused") << false;
}

void TestSpinEdit::spinButtonLeavesTheFocus()
{
    QFETCH(bool, fieldFocused);

    QWidget *focused = fieldFocused ? static_cast<QWidget *>(m_edit) : m_other;
    focused->setFocus();
    QTRY_VERIFY(focused->hasFocus());
    QTest::mouseClick(spinButton(), Qt::LeftButton, {}, QPoint(0, 0));

    QCOMPARE(m_edit->text(), local("160,50"));
    QVERIFY(focused->hasFocus());
}

// Timings are checked from below only, and loosely from above: a busy machine may deliver
// timer ticks late, never early.
void TestSpinEdit::spinButtonRepeatsWhileHeld()
{
    QElapsedTimer clock;
    clock.start();
    QTest::mousePress(spinButton(), Qt::LeftButton, {}, QPoint(0, 0));
    QCOMPARE(m_edit->text(), local("160,50"));

    QTRY_COMPARE_WITH_TIMEOUT(m_edit->text(), local("161,00"), 5000);
    QVERIFY2(clock.elapsed() >= 350, qPrintable(QString::number(clock.elapsed())));

    clock.restart();
    QTRY_COMPARE_WITH_TIMEOUT(m_edit->text(), local("162,00"), 5000);
    const qint64 twoRepeats = clock.elapsed();
    QVERIFY2(twoRepeats >= 150 && twoRepeats < 800, qPrintable(QString::number(twoRepeats)));

    QTest::mouseRelease(spinButton(), Qt::LeftButton, {}, QPoint(0, 0));
    const QString released = m_edit->text();
    QTest::qWait(300);
    QCOMPARE(m_edit->text(), released);
}

void TestSpinEdit::spinButtonRepeatStopsAtTheBound()
{
    m_edit->setText(local("249,00"));
    QSignalSpy changes(m_edit, &QLineEdit::textChanged);
    QTest::mousePress(spinButton(), Qt::LeftButton, {}, QPoint(0, 0));
    QTRY_COMPARE_WITH_TIMEOUT(m_edit->text(), local("250,00"), 5000);
    QTest::qWait(500);
    QTest::mouseRelease(spinButton(), Qt::LeftButton, {}, QPoint(0, 0));

    QCOMPARE(m_edit->text(), local("250,00"));
    QCOMPARE(changes.count(), 2);
}

void TestSpinEdit::spinButtonRepeatsOnlyOverThePressedHalf_data()
{
    QTest::addColumn<PointOnButton>("off");

    QTest::newRow("onto the other half")
        << PointOnButton([](int s) { return QPoint(s - 1, s - 1); });
    QTest::newRow("out of the button") << PointOnButton([](int s) { return QPoint(-s, s / 2); });
}

void TestSpinEdit::spinButtonRepeatsOnlyOverThePressedHalf()
{
    QFETCH(PointOnButton, off);

    QTest::mousePress(spinButton(), Qt::LeftButton, {}, QPoint(0, 0));
    QTest::mouseMove(spinButton(), onButton(off));
    QTest::qWait(700);
    QCOMPARE(m_edit->text(), local("160,50"));

    QTest::mouseMove(spinButton(), QPoint(1, 1));
    QTRY_COMPARE_WITH_TIMEOUT(m_edit->text(), local("161,00"), 5000);

    QTest::mouseRelease(spinButton(), Qt::LeftButton, {}, QPoint(1, 1));
    const QString released = m_edit->text();
    QTest::qWait(300);
    QCOMPARE(m_edit->text(), released);
}

void TestSpinEdit::spinButtonPressEndsWithTheWindowActivation()
{
    QTest::mousePress(spinButton(), Qt::LeftButton, {}, QPoint(0, 0));
    QWidget other;
    other.move(600, 200);
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    other.close();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));

    QTest::qWait(600);
    QCOMPARE(m_edit->text(), local("160,50"));
    QTest::mouseRelease(spinButton(), Qt::LeftButton, {}, QPoint(0, 0));
}

void TestSpinEdit::spinButtonDrawsThePressedHalf()
{
    SpinButton *button = spinButton();
    const QPoint upper(1, 1);
    const QPoint lower = onButton([](int s) { return QPoint(s - 2, s - 2); });
    const QImage idle = button->grab().toImage();

    QTest::mousePress(button, Qt::LeftButton, {}, upper);
    const QImage upPressed = button->grab().toImage();
    QTest::mouseMove(button, lower);
    const QImage pressedButOff = button->grab().toImage();
    QTest::mouseRelease(button, Qt::LeftButton, {}, lower);

    QTest::mousePress(button, Qt::LeftButton, {}, lower);
    const QImage downPressed = button->grab().toImage();
    QTest::mouseRelease(button, Qt::LeftButton, {}, lower);

    QVERIFY(upPressed != idle);
    QVERIFY(downPressed != idle);
    QVERIFY(downPressed != upPressed);
    QCOMPARE(pressedButOff, idle);
    QCOMPARE(button->grab().toImage(), idle);
}

void TestSpinEdit::separatorFollowsALocaleChange()
{
    const QString before = m_edit->text();
    const QChar oldSeparator = m_separator;
    const bool toPoint = m_separator == u',';
    useLocale(toPoint ? QByteArrayLiteral("C") : QByteArrayLiteral("fr_FR.UTF-8"));
    QEvent change(QEvent::LocaleChange);
    QApplication::sendEvent(m_edit, &change);
    m_separator = toPoint ? u'.' : u',';

    QCOMPARE(m_edit->decimalSeparator(), m_separator);
    QCOMPARE(m_edit->text(), before);
    QCOMPARE(m_edit->value(), 100.0);

    QTest::keyClick(m_edit, Qt::Key_Up);
    QCOMPARE(m_edit->text(), local("100,50"));

    m_edit->selectAll();
    type(QStringLiteral("1") + oldSeparator + QStringLiteral("2") + m_separator +
         QStringLiteral("5"));
    QCOMPARE(m_edit->text(), local("12,5"));
    QCOMPARE(m_edit->value(), 12.5);
}

void TestSpinEdit::hugeTextIsHandled_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("afterTab");

    constexpr int Megabyte = 1 << 20;
    QTest::newRow("too large a number")
        << QString(Megabyte, u'9') << 100.0 << QString(Megabyte, u'9');
    QTest::newRow("blanks around a number")
        << QString(Megabyte, u' ') + QStringLiteral("5") + QString(Megabyte, u' ') << 5.0
        << "100,00";
    QTest::newRow("tiny number written long")
        << QStringLiteral("0,") + QString(Megabyte, u'0') + QStringLiteral("1") << 0.0 << "100,00";
}

void TestSpinEdit::hugeTextIsHandled()
{
    QFETCH(QString, pasted);
    QFETCH(double, value);
    QFETCH(QString, afterTab);

    QGuiApplication::clipboard()->setText(local(pasted));
    m_edit->selectAll();
    QTest::keyClick(m_edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(m_edit->text().size(), pasted.size());
    QCOMPARE(m_edit->value(), value);

    QTest::keyClick(m_edit, Qt::Key_Tab);
    QTRY_VERIFY(m_other->hasFocus());
    QCOMPARE(m_edit->text(), local(afterTab));
}

QTEST_MAIN(TestSpinEdit)
#include "tst_spinedit.moc"
