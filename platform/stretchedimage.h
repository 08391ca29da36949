#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A picture stretched to the control pixel for pixel, without smoothing, so pixel art
// keeps its hard edges. It reports clicks as a button does but takes no focus.
class StretchedImage : public QAbstractButton
{
    Q_OBJECT

public:
    explicit StretchedImage(QWidget *parent = nullptr);

    QPixmap picture() const { return m_picture; }
    void setPicture(const QPixmap &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_picture;
};
