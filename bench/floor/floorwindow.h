#pragma once

#include <QWidget>

class QLabel;

// The toolkit's floor: a window of Morphocalcule's size with the same kinds of
// controls and a label that a one-second timer rewrites, and nothing else.
class FloorWindow : public QWidget
{
    Q_OBJECT

public:
    enum { ClientWidth = 427, ClientHeight = 232, TickMilliseconds = 1000 };

    explicit FloorWindow(QWidget *parent = nullptr);

private:
    void showTime();

    QLabel *const m_clock;
};
