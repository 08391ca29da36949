#pragma once

#include <QLineEdit>

class SpinButton;

// A one-line text box for a real number with a spin button inside its right end.
// What it holds is its text: the value is parsed from the text each time it is read
// and written back as text (two decimals) each time it is set. textChanged() is the
// change event: it fires once for every change of the text, whatever its cause.
class SpinEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit SpinEdit(QWidget *parent = nullptr);
    ~SpinEdit() override;

    // The parsed text; the minimum when the text is empty or unreadable. Never clamped.
    double value() const;
    // Clamps to the bounds, writes two decimals; replaces the text only if it differs.
    void setValue(double value);

    double minValue() const { return m_minValue; }
    double maxValue() const { return m_maxValue; }
    double increment() const { return m_increment; }
    void setMinValue(double value) { m_minValue = value; }
    void setMaxValue(double value) { m_maxValue = value; }
    void setIncrement(double value) { m_increment = value; }

    QChar decimalSeparator() const { return m_separator; }

public slots:
    void stepUp();
    void stepDown();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void onFocusChanged(QWidget *old, QWidget *now);
    bool isAcceptedCharacter(QChar c) const;
    QString acceptedCharacters(const QString &text) const;
    void step(long double increment);
    void layoutSpinButton();

    SpinButton *const m_spinButton;
    double m_minValue = 0;
    double m_maxValue = 0;
    double m_increment = 1;
    QChar m_separator;
};
