// qev-auction-house: the local auction house for demos, tests and benchmarks.
#include "tools/auction-house/auctionhouse.h"

#include <QCommandLineParser>
#include <QGuiApplication>
#include <cstdio>

using namespace qev;

int main(int argc, char** argv) {
    // The web server draws photos and cards; without a display it draws offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qev-auction-house"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Local auction house: sign-in and data servers, live lanes with their bidding and "
                       "watch routers, the web server (lot files, photos, pages) and the audio server."));
    parser.addHelpOption();
    const QCommandLineOption configOpt(QStringLiteral("config"), QStringLiteral("JSON configuration file."),
                                       QStringLiteral("file"));
    const QCommandLineOption listenOpt(QStringLiteral("listen"), QStringLiteral("Address to listen on."),
                                       QStringLiteral("address"));
    const QCommandLineOption signInOpt(QStringLiteral("sign-in-port"),
                                       QStringLiteral("Sign-in server port (0 picks a free one)."),
                                       QStringLiteral("port"));
    const QCommandLineOption dataOpt(QStringLiteral("data-port"), QStringLiteral("Data server port."),
                                     QStringLiteral("port"));
    const QCommandLineOption siteOpt(QStringLiteral("site"), QStringLiteral("Site number."),
                                     QStringLiteral("n"));
    const QCommandLineOption accountOpt(
        QStringLiteral("account"),
        QStringLiteral("Adds an account ID:PASSWORD[:OUTCOME], OUTCOME ok, silent or a refusal code."),
        QStringLiteral("account"));
    const QCommandLineOption lanesOpt(QStringLiteral("lanes"), QStringLiteral("Number of lanes, 1 to 4."),
                                      QStringLiteral("n"));
    const QCommandLineOption paceOpt(
        QStringLiteral("pace"),
        QStringLiteral("live (a lot in half a minute) or fast (lots in milliseconds)."),
        QStringLiteral("pace"));
    const QCommandLineOption seedOpt(
        QStringLiteral("seed"),
        QStringLiteral("Seed of the catalogue and the auction (same seed, same day)."), QStringLiteral("n"));
    const QCommandLineOption codecOpt(QStringLiteral("codec"),
                                      QStringLiteral("Audio codec: 0 raw 8-bit, 1 zlib 8-bit, 2 GSM 6.10."),
                                      QStringLiteral("n"));
    const QCommandLineOption webOpt(QStringLiteral("web-port"), QStringLiteral("Web server port."),
                                    QStringLiteral("port"));
    const QCommandLineOption audioOpt(QStringLiteral("audio-port"), QStringLiteral("Audio server port."),
                                      QStringLiteral("port"));
    const QCommandLineOption watchOpt(
        QStringLiteral("watch"),
        QStringLiteral("Adds a watched lot MEMBER:LANE:EXHIBIT[:FLAG], FLAG A or B (lane i's exhibits "
                       "start at i*10000+1)."),
        QStringLiteral("watch"));
    const QCommandLineOption noLanesOpt(QStringLiteral("no-lanes"),
                                        QStringLiteral("Run no lanes (announce the configured routers)."));
    const QCommandLineOption noWebOpt(QStringLiteral("no-web"), QStringLiteral("Run no web server."));
    const QCommandLineOption noAudioOpt(QStringLiteral("no-audio"), QStringLiteral("Run no audio server."));
    const QCommandLineOption quietOpt(QStringLiteral("quiet"), QStringLiteral("Do not log the dialogue."));
    parser.addOptions({configOpt, listenOpt, signInOpt, dataOpt, siteOpt, accountOpt, lanesOpt, paceOpt,
                       seedOpt, codecOpt, webOpt, audioOpt, watchOpt, noLanesOpt, noWebOpt, noAudioOpt,
                       quietOpt});
    parser.process(app);

    const auto die = [](const QString& why) {
        std::fprintf(stderr, "qev-auction-house: %s\n", qPrintable(why));
        return 2;
    };
    HouseConfig config = HouseConfig::Default();
    if (parser.isSet(configOpt)) {
        QString error;
        const auto loaded = HouseConfig::FromFile(parser.value(configOpt), &error);
        if (!loaded)
            return die(error);
        config = *loaded;
    }
    if (parser.isSet(listenOpt) && !config.listen.setAddress(parser.value(listenOpt)))
        return die(QStringLiteral("--listen: not an address"));
    const auto port = [&parser](const QCommandLineOption& opt, quint16& out) {
        if (!parser.isSet(opt))
            return true;
        bool ok = false;
        out = parser.value(opt).toUShort(&ok);
        return ok;
    };
    if (!port(signInOpt, config.signInPort) || !port(dataOpt, config.dataPort) ||
        !port(webOpt, config.webPort) || !port(audioOpt, config.audioPort))
        return die(QStringLiteral("ports are numbers from 0 to 65535"));
    if (parser.isSet(siteOpt))
        config.siteNumber = parser.value(siteOpt).toInt();
    for (const QString& text : parser.values(accountOpt)) {
        const auto account = HouseConfig::ParseAccount(text.toUtf8());
        if (!account)
            return die(QStringLiteral("--account: expected ID:PASSWORD[:OUTCOME]"));
        config.accounts.prepend(*account);
    }

    const auto number = [&parser](const QCommandLineOption& opt, int low, int high, int& out) {
        if (!parser.isSet(opt))
            return true;
        bool ok = false;
        const int value = parser.value(opt).toInt(&ok);
        if (!ok || value < low || value > high)
            return false;
        out = value;
        return true;
    };
    int laneCount = static_cast<int>(config.lanes.size());
    if (!number(lanesOpt, 1, 4, laneCount) || !config.SetLaneCount(laneCount))
        return die(QStringLiteral("--lanes: 1 to 4"));
    if (!number(codecOpt, 0, 2, config.audioCodec))
        return die(QStringLiteral("--codec: 0, 1 or 2"));
    if (parser.isSet(seedOpt)) {
        bool ok = false;
        config.seed = parser.value(seedOpt).toUInt(&ok);
        if (!ok)
            return die(QStringLiteral("--seed: a number from 0 to 4294967295"));
    }
    if (parser.isSet(paceOpt)) {
        const QString pace = parser.value(paceOpt);
        if (pace != QLatin1String("live") && pace != QLatin1String("fast"))
            return die(QStringLiteral("--pace: live or fast"));
        config.fastPace = pace == QLatin1String("fast");
    }
    for (const QString& text : parser.values(watchOpt)) {
        const auto watch = HouseConfig::ParseWatch(text.toUtf8());
        if (!watch || watch->lane >= config.lanes.size())
            return die(QStringLiteral("--watch: expected MEMBER:LANE:EXHIBIT[:FLAG] on a lane of the house"));
        config.watches.append(*watch);
    }
    config.liveLanes = !parser.isSet(noLanesOpt);
    config.webServer = !parser.isSet(noWebOpt);
    config.audioServer = !parser.isSet(noAudioOpt);

    AuctionHouse house(config);
    if (!parser.isSet(quietOpt)) {
        house.Log().Sink = [](const QByteArray& line) {
            std::fprintf(stdout, "%s\n", line.constData());
            std::fflush(stdout);
        };
    }
    QString error;
    if (!house.Start(&error))
        return die(error);
    return QCoreApplication::exec();
}
