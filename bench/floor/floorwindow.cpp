#include "floorwindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTime>
#include <QTimer>

FloorWindow::FloorWindow(QWidget *parent) : QWidget(parent), m_clock(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Plancher"));
    setFixedSize(ClientWidth, ClientHeight);

    auto *label = new QLabel(QStringLiteral("Entrer votre taille :"), this);
    label->setGeometry(20, 80, 120, 16);
    auto *edit = new QLineEdit(QStringLiteral("160"), this);
    edit->setGeometry(36, 110, 73, 21);
    auto *man = new QRadioButton(QStringLiteral("un homme"), this);
    man->setGeometry(254, 102, 113, 17);
    man->setChecked(true);
    auto *woman = new QRadioButton(QStringLiteral("une femme"), this);
    woman->setGeometry(254, 126, 113, 17);

    m_clock->setGeometry(4, 214, 60, 16);
    showTime();
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &FloorWindow::showTime);
    timer->start(TickMilliseconds);
}

void FloorWindow::showTime()
{
    m_clock->setText(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
}
