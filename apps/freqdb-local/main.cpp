// freqdb-local: a local frequency database service on loopback, answering the same SOAP calls
// as the real one from an invented data set, so the import can be tried without an account.
#include <unistd.h>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QHostAddress>
#include <QSocketNotifier>
#include <QTextStream>
#include <string>

#include "core/atomic_file.h"
#include "netdb/xml_load.h"
#include "server.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName("freqdb-local");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "A local stand-in for the frequency database, on loopback.\n"
        "User name \"tester\", password \"letmein\". Faults: none, wrong-credentials, lapsed,\n"
        "slow, cut, http-error, wrong-name, huge; they can also be set while running with\n"
        "GET /control?call=FAULT&wsdl=FAULT&slow-ms=N.");
    parser.addHelpOption();
    QCommandLineOption portOption("port", "Port to listen on (0: a free one, printed).", "PORT",
                                  "9000");
    QCommandLineOption fixtureOption("fixture", "The data set to answer from.", "FILE",
                                     FREQDB_FIXTURE);
    QCommandLineOption faultOption("fault", "Fault shown on every call.", "FAULT", "none");
    QCommandLineOption wsdlFaultOption("wsdl-fault", "Fault shown on the description.", "FAULT",
                                       "none");
    QCommandLineOption slowOption("slow-ms", "Delay of the slow fault.", "MS", "5000");
    QCommandLineOption quitOnEof("quit-on-eof",
                                 "End when standard input closes (so a test that dies takes the "
                                 "service with it).");
    parser.addOptions(
        {portOption, fixtureOption, faultOption, wsdlFaultOption, slowOption, quitOnEof});
    parser.process(app);

    QTextStream err(stderr);
    std::string text;
    if (!vex::ReadWholeFile(parser.value(fixtureOption).toStdString(), text)) {
        err << "freqdb-local: cannot read " << parser.value(fixtureOption) << "\n";
        return 1;
    }
    auto fixture = std::make_unique<pugi::xml_document>();
    if (const auto load = vex::netdb::LoadXml(*fixture, text); !load) {
        err << "freqdb-local: " << parser.value(fixtureOption) << ": "
            << QString::fromStdString(load.error) << "\n";
        return 1;
    }
    freqdb::Fault callFault, wsdlFault;
    if (!freqdb::ParseFault(parser.value(faultOption), callFault) ||
        !freqdb::ParseFault(parser.value(wsdlFaultOption), wsdlFault)) {
        err << "freqdb-local: unknown fault\n";
        return 2;
    }
    freqdb::Server server(std::move(fixture));
    server.setCallFault(callFault);
    server.setWsdlFault(wsdlFault);
    server.setSlowMs(parser.value(slowOption).toInt());
    bool portOk = false;
    const int wanted = parser.value(portOption).toInt(&portOk);
    if (!portOk || wanted < 0 || wanted > 65535) {
        err << "freqdb-local: bad port\n";
        return 2;
    }
    const quint16 port = server.listen(QHostAddress::LocalHost, static_cast<quint16>(wanted));
    if (port == 0) {
        err << "freqdb-local: cannot listen on port " << wanted << "\n";
        return 1;
    }
    if (parser.isSet(quitOnEof)) {
        auto* notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [notifier] {
            char buffer[256];
            if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) {
                notifier->setEnabled(false);
                QCoreApplication::quit();
            }
        });
    }
    QTextStream out(stdout);
    out << "freqdb-local listening on http://127.0.0.1:" << port << "/soap2/\n";
    out.flush();
    return app.exec();
}
