#pragma once

#include <QFlags>
#include <QUrl>
#include <functional>

class QWidget;

namespace qev {

// Navigation flags with the values of the platform browser's navigation constants; the launch
// sequence passes all three (14).
enum class NavigateFlag : unsigned {
    NoHistory = 0x2,       // the page is not kept in the back/forward list
    NoReadFromCache = 0x4, // the page is fetched from the server, not from a cache
    NoWriteToCache = 0x8,  // the answer is not kept in a cache
};
Q_DECLARE_FLAGS(NavigateFlags, NavigateFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(NavigateFlags)

inline constexpr NavigateFlags kNavigateFresh =
    NavigateFlags(NavigateFlag::NoHistory) | NavigateFlag::NoReadFromCache | NavigateFlag::NoWriteToCache;

// An embedded web page as the main window uses it: placed as a widget without border or context
// menu, navigated with flags, and reporting when a navigation has completed.
//
// "Complete" means the engine is done with the page, loaded or failed (refused connection, unknown
// host, HTTP error, aborted): every navigation ends in exactly one OnNavigateComplete, unless a
// later Navigate replaces it first (then only the last one reports). A server that accepts and
// never answers keeps a navigation under way until the engine gives up, so a wait needs its own
// limit (the launch waits 2 s). Navigations the page starts itself (links, scripts) report nothing.
class WebPane {
public:
    virtual ~WebPane();
    WebPane(const WebPane&) = delete;
    WebPane& operator=(const WebPane&) = delete;

    // The widget to place. The pane creates it as a child of the parent it was given; destroying
    // the pane destroys the widget too (unless its parent did so first).
    virtual QWidget* Widget() const = 0;

    // Starts loading url, replacing any navigation still under way. It never reports inside the
    // call: the report comes from the event loop. Flags the engine cannot honour are documented by
    // the implementation.
    virtual void Navigate(const QUrl& url, NavigateFlags flags = {}) = 0;

    // True once the last Navigate has completed (either way); false before the first Navigate
    // and while one is under way.
    virtual bool NavigationComplete() const = 0;
    // True when the last completed navigation loaded its page; false when it failed.
    virtual bool NavigationSucceeded() const = 0;

    // Scroll bars are shown by default; the login notice hides them. Applies from the next Navigate.
    virtual void SetScrollBarsVisible(bool visible) = 0;
    virtual bool ScrollBarsVisible() const = 0;

    // Fired once per completed navigation with the URL it ended at. Unassigned: skipped. The
    // handler may call Navigate again but must not destroy the pane.
    std::function<void(WebPane& sender, const QUrl& url)> OnNavigateComplete;

protected:
    WebPane() = default;
    // Fires OnNavigateComplete through a copy, so a handler that reassigns it is safe.
    void NotifyNavigateComplete(const QUrl& url);
};

} // namespace qev
