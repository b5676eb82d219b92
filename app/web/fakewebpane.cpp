#include "app/web/fakewebpane.h"

#include <QTimer>

namespace qev {

FakeWebPane::FakeWebPane(QWidget* parent, Completion completion)
    : m_widget(new QWidget(parent))
    , m_completion(completion) {
    m_widget->setContextMenuPolicy(Qt::NoContextMenu);
}

FakeWebPane::~FakeWebPane() {
    delete m_widget; // null when the parent has already destroyed it
}

void FakeWebPane::Navigate(const QUrl& url, NavigateFlags flags) {
    m_navigations.append({url, flags});
    ++m_generation;
    m_pending = true;
    m_complete = false;
    m_succeeded = false;
    if (m_completion == Completion::Queued) {
        QTimer::singleShot(0, &m_queue, [this, generation = m_generation] {
            if (generation == m_generation)
                CompleteNavigation(true);
        });
    }
}

bool FakeWebPane::CompleteNavigation(bool succeeded) {
    if (!m_pending)
        return false;
    m_pending = false;
    m_complete = true;
    m_succeeded = succeeded;
    NotifyNavigateComplete(m_navigations.last().url);
    return true;
}

} // namespace qev
