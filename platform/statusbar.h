#pragma once

#include <QLabel>
#include <QList>
#include <QWidget>

// A status bar of lowered panels side by side; the last one reaches the right edge.
// Each panel is a label, so screen readers read its text.
class PanelStatusBar : public QWidget
{
    Q_OBJECT

public:
    explicit PanelStatusBar(QWidget *parent = nullptr);

    QLabel *addPanel(int width, Qt::Alignment alignment);
    int panelCount() const { return int(m_panels.size()); }
    QLabel *panel(int index) const { return m_panels.at(index); }
    QString panelText(int index) const { return m_panels.at(index)->text(); }
    // Hands the text over only when it differs, so an unchanged panel is not redrawn.
    void setPanelText(int index, const QString &text);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutPanels();

    QList<QLabel *> m_panels;
    QList<int> m_widths;
};
