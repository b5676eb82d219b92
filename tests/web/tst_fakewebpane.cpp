#include "app/web/fakewebpane.h"

#include <QtTest>

using namespace qev;

class TestFakeWebPane : public QObject {
    Q_OBJECT
private slots:
    void manualCompletesWhenTold();
    void queuedCompletesOnNextTurnOnlyTheLast();
    void widgetBelongsToParent();
};

void TestFakeWebPane::manualCompletesWhenTold() {
    FakeWebPane pane;
    QList<QUrl> completed;
    pane.OnNavigateComplete = [&](WebPane& sender, const QUrl& url) {
        QCOMPARE(&sender, &pane);
        completed.append(url);
    };
    QVERIFY(!pane.CompleteNavigation()); // nothing under way
    const QUrl notice(QStringLiteral("http://127.0.0.1:1/qevreal/loginMSG.html"));
    pane.Navigate(notice, kNavigateFresh);
    QCOMPARE(pane.Navigations().size(), 1);
    QCOMPARE(pane.Navigations().first().flags.toInt(), 14);
    QCoreApplication::processEvents();
    QVERIFY(!pane.NavigationComplete());
    QVERIFY(completed.isEmpty());

    QVERIFY(pane.CompleteNavigation(false));
    QCOMPARE(completed, QList<QUrl>{notice});
    QVERIFY(pane.NavigationComplete());
    QVERIFY(!pane.NavigationSucceeded());
    QVERIFY(!pane.CompleteNavigation()); // once per navigation
    QCOMPARE(completed.size(), 1);
}

void TestFakeWebPane::queuedCompletesOnNextTurnOnlyTheLast() {
    FakeWebPane pane(nullptr, FakeWebPane::Completion::Queued);
    QList<QUrl> completed;
    pane.OnNavigateComplete = [&](WebPane&, const QUrl& url) { completed.append(url); };
    const QUrl first(QStringLiteral("http://127.0.0.1:1/a"));
    const QUrl second(QStringLiteral("http://127.0.0.1:1/b"));
    pane.Navigate(first);
    pane.Navigate(second);
    QVERIFY(!pane.NavigationComplete()); // never inside Navigate
    QVERIFY(QTest::qWaitFor([&] { return pane.NavigationComplete(); }, 1000));
    QCoreApplication::processEvents();
    QCOMPARE(completed, QList<QUrl>{second});
    QVERIFY(pane.NavigationSucceeded());
}

void TestFakeWebPane::widgetBelongsToParent() {
    QWidget host;
    FakeWebPane pane(&host);
    QCOMPARE(pane.Widget()->parentWidget(), &host);
    QCOMPARE(pane.Widget()->contextMenuPolicy(), Qt::NoContextMenu);
    {
        // Destroyed before its parent, the pane takes its widget along.
        FakeWebPane inner(&host);
        QCOMPARE(host.findChildren<QWidget*>().size(), 2);
    }
    QCOMPARE(host.findChildren<QWidget*>().size(), 1);
}

QTEST_MAIN(TestFakeWebPane)
#include "tst_fakewebpane.moc"
