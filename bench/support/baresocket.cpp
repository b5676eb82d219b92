#include "bench/support/baresocket.h"

#include "bench/support/percentiles.h"
#include "common/pumpwait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

namespace qev {

void BareSocketOneWay(benchmark::State& state, const QByteArray& bytes) {
    constexpr int kWaitMs = 10000;
    QTcpServer server;
    server.listen(QHostAddress::LocalHost);
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, server.serverPort());
    if (!PumpWait([&server] { return server.hasPendingConnections(); }, kWaitMs)) {
        state.SkipWithError("no connection");
        return;
    }
    QTcpSocket* peer = server.nextPendingConnection();
    client.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    peer->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    const char last = bytes.isEmpty() ? '\0' : bytes.back();
    QByteArray got;
    QObject::connect(peer, &QTcpSocket::readyRead, peer, [&got, peer] { got += peer->readAll(); });
    std::vector<double> us;
    for (auto _ : state) {
        got.clear();
        QElapsedTimer t;
        t.start();
        client.write(bytes);
        while (got.size() < bytes.size() || got.back() != last)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        us.push_back(static_cast<double>(t.nsecsElapsed()) / 1000.0);
    }
    Percentiles(state, us);
}

} // namespace qev
