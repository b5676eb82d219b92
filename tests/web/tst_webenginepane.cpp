#include "app/web/webengineenvironment.h"
#include "app/web/webenginewebpane.h"
#include "tools/auction-house/web/auctionwebserver.h"

#include <QApplication>
#include <QTcpServer>
#include <QWebEngineHistory>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <QtTest>
#include <memory>

using namespace qev;

namespace {

constexpr int kLoadWait = 20000;
// Time given to a stray second report to show up after a navigation completed.
constexpr int kSettleMs = 500;

QWebEngineView* ViewOf(const WebPane& pane) {
    return qobject_cast<QWebEngineView*>(pane.Widget());
}

QVariant RunScript(const WebPane& pane, const QString& script) {
    QVariant result;
    bool done = false;
    ViewOf(pane)->page()->runJavaScript(script, [&](const QVariant& value) {
        result = value;
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, kLoadWait))
        return {};
    return result;
}

int CountNear(const QImage& image, QColor colour, int tolerance) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance &&
                std::abs(c.green() - colour.green()) <= tolerance &&
                std::abs(c.blue() - colour.blue()) <= tolerance)
                ++count;
        }
    }
    return count;
}

} // namespace

class TestWebEnginePane : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void completesOncePerNavigation_data();
    void completesOncePerNavigation();
    void replacedNavigationReportsNothing_data();
    void replacedNavigationReportsNothing();
    void freshFetchAndNoHistory();
    void scrollBars_data();
    void scrollBars();
    void widgetShowsPageWithoutMenu();

private:
    QUrl NoticeUrl() const {
        return m_web->BaseUrl().resolved(QUrl(QStringLiteral("qevreal/loginMSG.html")));
    }
    bool NavigateAndWait(const QUrl& url, NavigateFlags flags = kNavigateFresh);

    std::unique_ptr<AuctionWebServer> m_web;
    std::unique_ptr<QWidget> m_host;
    std::unique_ptr<WebEngineWebPane> m_pane;
    QList<QUrl> m_completed;
};

void TestWebEnginePane::initTestCase() {
    m_web = std::make_unique<AuctionWebServer>(AuctionWebConfig{});
    QVERIFY(m_web->IsListening());
}

void TestWebEnginePane::init() {
    m_completed.clear();
    m_host = std::make_unique<QWidget>();
    m_host->resize(1024, 730);
    m_pane = std::make_unique<WebEngineWebPane>(m_host.get());
    m_pane->Widget()->setGeometry(85, 257, 852, 330);
    m_pane->OnNavigateComplete = [this](WebPane& sender, const QUrl& url) {
        QCOMPARE(&sender, m_pane.get());
        m_completed.append(url);
    };
    m_host->show();
}

void TestWebEnginePane::cleanup() {
    m_pane.reset();
    m_host.reset();
}

bool TestWebEnginePane::NavigateAndWait(const QUrl& url, NavigateFlags flags) {
    const qsizetype before = m_completed.size();
    m_pane->Navigate(url, flags);
    if (m_pane->NavigationComplete())
        return false; // never at once: the window's wait starts after Navigate returns
    return QTest::qWaitFor([&] { return m_completed.size() > before; }, kLoadWait);
}

void TestWebEnginePane::completesOncePerNavigation_data() {
    QTest::addColumn<QString>("target"); // a path on the house's server, or "refused"
    QTest::addColumn<bool>("succeeded");
    QTest::addColumn<QString>("endsAt"); // the path the report names

    QTest::newRow("notice page") << QStringLiteral("/qevreal/loginMSG.html") << true
                                 << QStringLiteral("/qevreal/loginMSG.html");
    QTest::newRow("after redirections") << QStringLiteral("/hop/3?to=/qevreal/loginMSG.html") << true
                                        << QStringLiteral("/qevreal/loginMSG.html");
    QTest::newRow("missing page (404)")
        << QStringLiteral("/qevreal/nosuch.html") << false << QStringLiteral("/qevreal/nosuch.html");
    QTest::newRow("nobody listens") << QStringLiteral("refused") << false << QString();
}

void TestWebEnginePane::completesOncePerNavigation() {
    QFETCH(QString, target);
    QFETCH(bool, succeeded);
    QFETCH(QString, endsAt);

    QUrl url;
    if (target == QLatin1String("refused")) {
        QTcpServer probe; // a port that was free a moment ago and has nobody listening now
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        url = QUrl(QStringLiteral("http://127.0.0.1:%1/qevreal/loginMSG.html").arg(probe.serverPort()));
        probe.close();
        endsAt = url.path();
    } else {
        url = m_web->BaseUrl().resolved(QUrl(target));
    }

    QVERIFY(!m_pane->NavigationComplete());
    for (int round = 1; round <= 2; ++round) {
        QVERIFY2(NavigateAndWait(url), qPrintable(url.toString()));
        QTest::qWait(kSettleMs);
        QCOMPARE(m_completed.size(), round);
        QCOMPARE(m_completed.last().path(), endsAt);
        QVERIFY(m_pane->NavigationComplete());
        QCOMPARE(m_pane->NavigationSucceeded(), succeeded);
    }
}

void TestWebEnginePane::replacedNavigationReportsNothing_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("direct") << QStringLiteral("/qevreal/loginMSG.html");
    QTest::newRow("after redirections") << QStringLiteral("/hop/2?to=/qevreal/loginMSG.html");
}

void TestWebEnginePane::replacedNavigationReportsNothing() {
    QFETCH(QString, target);
    QTcpServer silent; // accepts and never answers
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    const QUrl stalled(QStringLiteral("http://127.0.0.1:%1/stalled.html").arg(silent.serverPort()));

    m_pane->Navigate(stalled, kNavigateFresh);
    QVERIFY(QTest::qWaitFor([&] { return silent.hasPendingConnections(); }, kLoadWait));
    QVERIFY(NavigateAndWait(m_web->BaseUrl().resolved(QUrl(target))));
    QTest::qWait(kSettleMs);
    QCOMPARE(m_completed.size(), 1);
    QCOMPARE(m_completed.first().path(), QStringLiteral("/qevreal/loginMSG.html"));
    QVERIFY(m_pane->NavigationSucceeded());
}

void TestWebEnginePane::freshFetchAndNoHistory() {
    const int before = m_web->RequestCount(QStringLiteral("loginMSG"));
    QVERIFY(NavigateAndWait(NoticeUrl()));
    QVERIFY(NavigateAndWait(m_web->BaseUrl().resolved(QUrl(QStringLiteral("setup/")))));
    QVERIFY(NavigateAndWait(NoticeUrl()));
    QCOMPARE(m_web->RequestCount(QStringLiteral("loginMSG")) - before, 2);
    QVERIFY(!ViewOf(*m_pane)->history()->canGoBack());

    QWebEngineProfile* profile = ViewOf(*m_pane)->page()->profile();
    QVERIFY(profile->isOffTheRecord());
    QCOMPARE(profile->httpCacheType(), QWebEngineProfile::NoCache);

    // Without the flag the page stays in the back list.
    QVERIFY(NavigateAndWait(m_web->BaseUrl().resolved(QUrl(QStringLiteral("setup/"))), {}));
    QVERIFY(ViewOf(*m_pane)->history()->canGoBack());
}

void TestWebEnginePane::scrollBars_data() {
    QTest::addColumn<bool>("visible");
    QTest::newRow("shown (alarm page)") << true;
    QTest::newRow("hidden (login notice)") << false;
}

void TestWebEnginePane::scrollBars() {
    QFETCH(bool, visible);
    m_pane->SetScrollBarsVisible(visible);
    QCOMPARE(m_pane->ScrollBarsVisible(), visible);
    m_pane->Widget()->resize(240, 90); // the notice overflows both ways
    QVERIFY(NavigateAndWait(NoticeUrl()));

    const QString gutter = QStringLiteral("window.innerWidth - document.documentElement.clientWidth");
    QVERIFY(QTest::qWaitFor(
        [&] { return RunScript(*m_pane, QStringLiteral("window.innerWidth")).toInt() == 240; }, kLoadWait));
    const int width = RunScript(*m_pane, gutter).toInt();
    if (visible)
        QVERIFY2(width > 0, qPrintable(QString::number(width)));
    else
        QCOMPARE(width, 0);
}

void TestWebEnginePane::widgetShowsPageWithoutMenu() {
    QWidget* widget = m_pane->Widget();
    QCOMPARE(widget->parentWidget(), m_host.get());
    QCOMPARE(widget->contextMenuPolicy(), Qt::NoContextMenu);
    m_pane->SetScrollBarsVisible(false);
    QVERIFY(NavigateAndWait(NoticeUrl()));

    // The heading of the notice is drawn in #1e3c78 on #f6f8fc.
    const QColor heading(0x1e, 0x3c, 0x78);
    const QColor background(0xf6, 0xf8, 0xfc);
    QImage shot;
    const bool drawn = QTest::qWaitFor(
        [&] {
            shot = widget->grab().toImage();
            return CountNear(shot, heading, 24) > 20 && CountNear(shot, background, 2) > shot.width() * 200;
        },
        kLoadWait);
    const QString file = QCoreApplication::applicationDirPath() + QStringLiteral("/webpane-notice.png");
    QVERIFY(shot.save(file));
    QVERIFY2(drawn, qPrintable(file));
    QCOMPARE(shot.size(), QSize(852, 330));
    // No frame around the page: its background reaches the corner.
    QCOMPARE(shot.pixelColor(851, 320), background);
}

int main(int argc, char** argv) {
    PrepareWebEngineEnvironment();
    QApplication app(argc, argv);
    TestWebEnginePane test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_webenginepane.moc"
