#pragma once

#include "app/web/webpane.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace qev {

// A stand-in for the engine in the window's unit tests: records every navigation and completes it
// when the test says so (Manual, the default) or on the next turn of the event loop (Queued, as a
// real engine would, so a nested wait sees it). Its widget is a plain empty QWidget.
class FakeWebPane final : public WebPane {
public:
    enum class Completion { Manual, Queued };
    struct Navigation {
        QUrl url;
        NavigateFlags flags;
    };

    explicit FakeWebPane(QWidget* parent = nullptr, Completion completion = Completion::Manual);
    ~FakeWebPane() override;

    QWidget* Widget() const override { return m_widget; }
    void Navigate(const QUrl& url, NavigateFlags flags = {}) override;
    bool NavigationComplete() const override { return m_complete; }
    bool NavigationSucceeded() const override { return m_succeeded; }
    void SetScrollBarsVisible(bool visible) override { m_scrollBars = visible; }
    bool ScrollBarsVisible() const override { return m_scrollBars; }

    // Completes the navigation under way, loaded or failed, and fires the event with its URL.
    // Returns false (and fires nothing) when no navigation is under way.
    bool CompleteNavigation(bool succeeded = true);

    // Every Navigate call, oldest first.
    const QList<Navigation>& Navigations() const { return m_navigations; }

private:
    QPointer<QWidget> m_widget;
    QObject m_queue; // context of queued completions: they die with the fake
    Completion m_completion;
    QList<Navigation> m_navigations;
    quint64 m_generation = 0;
    bool m_pending = false;
    bool m_complete = false;
    bool m_succeeded = false;
    bool m_scrollBars = true;
};

} // namespace qev
