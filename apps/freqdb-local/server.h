// The local stand-in for the frequency database: serves the description on GET "?wsdl" and
// answers SOAP calls from the fixture data set, with switchable faults for testing.
#pragma once

#include <QString>
#include <QtHttpServer/QAbstractHttpServer>
#include <memory>

#include <pugixml.hpp>

namespace freqdb {

// Faults the server can be told to show, for the description and for the calls separately.
enum class Fault { None, WrongCredentials, Lapsed, Slow, Cut, HttpError, WrongName, Huge };
bool ParseFault(const QString& name, Fault& fault);

class Server : public QAbstractHttpServer {
  public:
    explicit Server(std::unique_ptr<pugi::xml_document> fixture);

    void setCallFault(Fault fault) { d_callFault = fault; }
    void setWsdlFault(Fault fault) { d_wsdlFault = fault; }
    void setSlowMs(int ms) { d_slowMs = ms; }

  protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

  private:
    // Sends `body` with `status`, applying `fault` (slow, cut) on the way.
    void send(QTcpSocket* socket, int status, const QByteArray& body, Fault fault);
    QByteArray answerCall(const QByteArray& request, int& status);
    bool control(const QHttpServerRequest& request, QTcpSocket* socket);

    std::unique_ptr<pugi::xml_document> d_fixture;
    Fault d_callFault = Fault::None;
    Fault d_wsdlFault = Fault::None;
    int d_slowMs = 5000;
};

}  // namespace freqdb
