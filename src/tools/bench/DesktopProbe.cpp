#include "tools/bench/DesktopProbe.h"

#include <cstdlib>
#include <vector>
#include <xcb/xcb.h>

namespace {

struct Node {
    xcb_window_t window;
    bool inside; // within the wanted ancestor (or none is wanted)
};

// A property's bytes, empty when the window has none.
QByteArray propertyOf(xcb_connection_t* c, xcb_get_property_cookie_t cookie) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(c, cookie, nullptr);
    if (!reply) {
        return {};
    }
    const QByteArray value(static_cast<const char*>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
    std::free(reply);
    return value;
}

xcb_get_property_cookie_t ask(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property) {
    return xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
}

} // namespace

DesktopProbe::DesktopProbe(const QByteArray& display) {
    xcb_connection_t* c = xcb_connect(display.constData(), nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return;
    }
    m_connection = c;
    m_root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

DesktopProbe::~DesktopProbe() {
    if (m_connection) {
        xcb_disconnect(m_connection);
    }
}

bool DesktopProbe::shown(const QByteArray& instance, const QByteArray& ancestorName) {
    return anyWindow(ancestorName, [&](const Window& w) {
        return w.inside && w.instance == instance &&
               (ancestorName.isEmpty() ? w.viewable : w.mapped);
    });
}

bool DesktopProbe::exists(const QByteArray& name) {
    return anyWindow({}, [&](const Window& w) { return w.name == name; });
}

bool DesktopProbe::anyWindow(const QByteArray& ancestorName,
                             const std::function<bool(const Window&)>& wanted) {
    xcb_connection_t* c = m_connection;
    if (!c) {
        return false;
    }
    // Level by level, every request of a level sent before the first answer is read: a poll
    // costs a few round trips, not one per window.
    std::vector<Node> level{{m_root, ancestorName.isEmpty()}};
    while (!level.empty()) {
        std::vector<xcb_query_tree_cookie_t> trees;
        std::vector<xcb_get_property_cookie_t> names, classes;
        std::vector<xcb_get_window_attributes_cookie_t> states;
        for (const Node& n : level) {
            trees.push_back(xcb_query_tree(c, n.window));
            names.push_back(ask(c, n.window, XCB_ATOM_WM_NAME));
            classes.push_back(ask(c, n.window, XCB_ATOM_WM_CLASS));
            states.push_back(xcb_get_window_attributes(c, n.window));
        }
        std::vector<Node> next;
        bool found = false;
        for (size_t i = 0; i < level.size(); ++i) {
            Window w;
            w.name = propertyOf(c, names[i]);
            // WM_CLASS is the instance, a NUL, the class, a NUL.
            const QByteArray wmClass = propertyOf(c, classes[i]);
            w.instance = wmClass.left(wmClass.indexOf('\0'));
            xcb_get_window_attributes_reply_t* state =
                xcb_get_window_attributes_reply(c, states[i], nullptr);
            w.mapped = state && state->map_state != XCB_MAP_STATE_UNMAPPED;
            w.viewable = state && state->map_state == XCB_MAP_STATE_VIEWABLE;
            std::free(state);
            w.inside = level[i].inside || (!ancestorName.isEmpty() && w.name == ancestorName);
            found = found || wanted(w);
            xcb_query_tree_reply_t* tree = xcb_query_tree_reply(c, trees[i], nullptr);
            if (!tree) {
                continue;
            }
            const xcb_window_t* children = xcb_query_tree_children(tree);
            for (int k = 0; k < xcb_query_tree_children_length(tree); ++k) {
                next.push_back({children[k], w.inside});
            }
            std::free(tree);
        }
        if (found) {
            return true;
        }
        level = std::move(next);
    }
    return false;
}
