#include "maprecorder.h"

#include <xcb/xcb.h>

#include <cstdlib>

MapRecorder::MapRecorder() : m_connection(xcb_connect(nullptr, nullptr))
{
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    // Checked, so that the selection is in force when the constructor returns.
    std::free(xcb_request_check(m_connection, xcb_change_window_attributes_checked(
                                                  m_connection, root, XCB_CW_EVENT_MASK, &mask)));
}

MapRecorder::~MapRecorder()
{
    xcb_disconnect(m_connection);
}

QList<quint32> MapRecorder::mapped()
{
    // A round trip: every event the server made before it is in the queue after it.
    std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    while (xcb_generic_event_t *event = xcb_poll_for_queued_event(m_connection)) {
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY)
            m_mapped.append(reinterpret_cast<xcb_map_notify_event_t *>(event)->window);
        std::free(event);
    }
    return m_mapped;
}
