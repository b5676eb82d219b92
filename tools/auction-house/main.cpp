// qev-auction-house: the local auction house for demos, tests and benchmarks.
#include "tools/auction-house/auctionhouse.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

using namespace qev;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("qev-auction-house"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Local auction house: sign-in and data servers."));
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
    const QCommandLineOption quietOpt(QStringLiteral("quiet"), QStringLiteral("Do not log the dialogue."));
    parser.addOptions({configOpt, listenOpt, signInOpt, dataOpt, siteOpt, accountOpt, quietOpt});
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
    if (!port(signInOpt, config.signInPort) || !port(dataOpt, config.dataPort))
        return die(QStringLiteral("ports are numbers from 0 to 65535"));
    if (parser.isSet(siteOpt))
        config.siteNumber = parser.value(siteOpt).toInt();
    for (const QString& text : parser.values(accountOpt)) {
        const auto account = HouseConfig::ParseAccount(text.toUtf8());
        if (!account)
            return die(QStringLiteral("--account: expected ID:PASSWORD[:OUTCOME]"));
        config.accounts.prepend(*account);
    }

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
