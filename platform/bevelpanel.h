#pragma once

#include <QWidget>

// A plain panel in the button-face colour with a one-pixel bevel on its outer edge.
class BevelPanel : public QWidget
{
    Q_OBJECT

public:
    enum class Bevel { None, Raised, Lowered };

    explicit BevelPanel(Bevel bevel, QWidget *parent = nullptr);

    Bevel bevel() const { return m_bevel; }
    int bevelWidth() const { return m_bevel == Bevel::None ? 0 : 1; }

protected:
    void paintEvent(QPaintEvent *event) override;
    // Draws the bevel over whatever the subclass painted inside it.
    void paintBevel(QPainter &painter) const;

private:
    const Bevel m_bevel;
};
