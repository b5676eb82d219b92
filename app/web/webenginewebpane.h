#pragma once

#include "app/web/webpane.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QWebEngineLoadingInfo;
class QWebEngineProfile;
class QWebEngineView;

namespace qev {

// The pane over Qt WebEngine. Each pane has its own off-the-record profile without an HTTP cache,
// so nothing of the operator's pages (cache, cookies, history) stays on the dealer's machine;
// that also makes both cache flags hold for every navigation. NoReadFromCache additionally asks
// the server and proxies for a fresh answer; NoHistory clears the back/forward list once the page
// has completed. A failed page leaves the pane empty (the engine's own error page is off).
// The process needs PrepareWebEngineEnvironment() before the QApplication exists.
class WebEngineWebPane final : public WebPane {
public:
    explicit WebEngineWebPane(QWidget* parent = nullptr);
    ~WebEngineWebPane() override;

    QWidget* Widget() const override;
    void Navigate(const QUrl& url, NavigateFlags flags = {}) override;
    bool NavigationComplete() const override { return m_complete; }
    bool NavigationSucceeded() const override { return m_succeeded; }
    void SetScrollBarsVisible(bool visible) override;
    bool ScrollBarsVisible() const override;

private:
    void LoadingChanged(const QWebEngineLoadingInfo& info);
    void Complete(const QUrl& url, bool succeeded);

    // Declared first, destroyed last: the page must go before its profile.
    std::unique_ptr<QWebEngineProfile> m_profile;
    QPointer<QWebEngineView> m_view;
    QObject m_queue; // context of queued completions: they die with the pane
    QUrl m_requested;
    QUrl m_replaced; // the navigation the last Navigate cut short, if any
    NavigateFlags m_flags;
    quint64 m_generation = 0;
    bool m_pending = false;
    bool m_complete = false;
    bool m_succeeded = false;
};

} // namespace qev
