#pragma once

#include <QList>
#include <QObject>
#include <QString>

class SpeedBar;
class SpeedItem;

// A named group of a tool bar's items.
class SpeedbarSection : public QObject
{
    Q_OBJECT

public:
    SpeedbarSection(const QString &caption, SpeedBar *bar);

    SpeedBar *bar() const { return m_bar; }
    QString caption() const { return m_caption; }
    QList<SpeedItem *> items() const;

private:
    SpeedBar *const m_bar;
    const QString m_caption;
};
