#pragma once

#include <QList>

struct xcb_connection_t;

// Records the windows mapped as children of the root, so a test can tell that another
// process showed nothing. It watches on an X connection of its own, which leaves the
// event selection of Qt's connection alone.
class MapRecorder
{
public:
    MapRecorder();
    ~MapRecorder();
    MapRecorder(const MapRecorder &) = delete;
    MapRecorder &operator=(const MapRecorder &) = delete;

    // Every window mapped since the recording started.
    QList<quint32> mapped();

private:
    xcb_connection_t *const m_connection;
    QList<quint32> m_mapped;
};
