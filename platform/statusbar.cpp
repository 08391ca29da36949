#include "statusbar.h"

namespace {
constexpr int TopMargin = 2;
constexpr int PanelGap = 2;
} // namespace

PanelStatusBar::PanelStatusBar(QWidget *parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Button);
}

QLabel *PanelStatusBar::addPanel(int width, Qt::Alignment alignment)
{
    auto *label = new QLabel(this);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    label->setAlignment(alignment | Qt::AlignVCenter);
    label->setIndent(2);
    label->setTextFormat(Qt::PlainText);
    m_panels.append(label);
    m_widths.append(width);
    layoutPanels();
    return label;
}

void PanelStatusBar::setPanelText(int index, const QString &text)
{
    QLabel *label = m_panels.at(index);
    if (label->text() != text)
        label->setText(text);
}

void PanelStatusBar::resizeEvent(QResizeEvent *)
{
    layoutPanels();
}

void PanelStatusBar::layoutPanels()
{
    int left = 0;
    for (qsizetype i = 0; i < m_panels.size(); ++i) {
        const bool last = i == m_panels.size() - 1;
        const int width = last ? qMax(0, this->width() - left) : m_widths.at(i);
        // A panel of fixed size asks its parent for no new layout when its text changes.
        m_panels.at(i)->setFixedSize(width, height() - TopMargin);
        m_panels.at(i)->move(left, TopMargin);
        left += width + PanelGap;
    }
}
