#include "app/web/webpane.h"

namespace qev {

WebPane::~WebPane() = default;

void WebPane::NotifyNavigateComplete(const QUrl& url) {
    const auto handler = OnNavigateComplete;
    if (handler)
        handler(*this, url);
}

} // namespace qev
