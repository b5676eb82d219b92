#include "app/web/webenginewebpane.h"

#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEngineHttpRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace qev {

namespace {

// The engine reports the URL in its own canonical form ("http://h:1" becomes "http://h:1/").
bool SameUrl(const QUrl& a, const QUrl& b) {
    constexpr auto kForm = QUrl::StripTrailingSlash | QUrl::NormalizePathSegments;
    return a.adjusted(kForm) == b.adjusted(kForm);
}

bool IsHttp(const QUrl& url) {
    return url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https");
}

} // namespace

WebEngineWebPane::WebEngineWebPane(QWidget* parent)
    : m_profile(std::make_unique<QWebEngineProfile>()) // no storage name: off the record
    , m_view(new QWebEngineView(parent)) {
    m_profile->setHttpCacheType(QWebEngineProfile::NoCache);
    m_profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    m_profile->setSpellCheckEnabled(false);

    auto* page = new QWebEnginePage(m_profile.get(), m_view);
    page->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    page->settings()->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, false);
    m_view->setPage(page);
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    // A QWebEngineView draws no frame of its own, so the pane has no border.
    QObject::connect(page, &QWebEnginePage::loadingChanged, &m_queue,
                     [this](const QWebEngineLoadingInfo& info) { LoadingChanged(info); });
}

WebEngineWebPane::~WebEngineWebPane() {
    m_pending = false; // a load stopped by the teardown reports nothing
    delete m_view;     // null when the parent has already destroyed it; its page goes with it
}

QWidget* WebEngineWebPane::Widget() const {
    return m_view;
}

void WebEngineWebPane::SetScrollBarsVisible(bool visible) {
    if (m_view)
        m_view->page()->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, visible);
}

bool WebEngineWebPane::ScrollBarsVisible() const {
    return !m_view || m_view->page()->settings()->testAttribute(QWebEngineSettings::ShowScrollBars);
}

void WebEngineWebPane::Navigate(const QUrl& url, NavigateFlags flags) {
    ++m_generation;
    m_replaced = m_pending ? m_requested : QUrl();
    m_requested = url;
    m_flags = flags;
    m_pending = true;
    m_complete = false;
    m_succeeded = false;
    if (!m_view || !url.isValid()) {
        // The engine would report nothing; the navigation still completes, as a failure.
        QTimer::singleShot(0, &m_queue, [this, generation = m_generation, url] {
            if (generation == m_generation && m_pending)
                Complete(url, false);
        });
        return;
    }
    if (!IsHttp(url)) {
        m_view->load(url);
        return;
    }
    QWebEngineHttpRequest request(url);
    if (flags.testFlag(NavigateFlag::NoReadFromCache)) {
        request.setHeader(QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-cache"));
        request.setHeader(QByteArrayLiteral("Pragma"), QByteArrayLiteral("no-cache"));
    }
    m_view->load(request);
}

void WebEngineWebPane::LoadingChanged(const QWebEngineLoadingInfo& info) {
    if (!m_pending || info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
        return;
    // A load that replaces one still under way gets no start report of its own, and its end may
    // name the URL it was redirected to; so every end counts, except a late one of the load it
    // replaced.
    if (!m_replaced.isEmpty() && SameUrl(info.url(), m_replaced) && !SameUrl(info.url(), m_requested))
        return;
    Complete(info.url(), info.status() == QWebEngineLoadingInfo::LoadSucceededStatus);
}

void WebEngineWebPane::Complete(const QUrl& url, bool succeeded) {
    m_pending = false;
    m_complete = true;
    m_succeeded = succeeded;
    if (m_view && m_flags.testFlag(NavigateFlag::NoHistory))
        m_view->history()->clear();
    NotifyNavigateComplete(url);
}

} // namespace qev
