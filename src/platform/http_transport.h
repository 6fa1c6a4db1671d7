// The database client's HTTP over Qt Network: asynchronous, with a time-out per exchange, a
// size limit on answers and cancel. HTTPS certificates are always checked.
#pragma once

#include <QObject>
#include <QPointer>

#include "netdb/transport.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace vex {

class QtHttpTransport : public QObject, public netdb::HttpTransport {
    Q_OBJECT
  public:
    explicit QtHttpTransport(QObject* parent = nullptr);
    ~QtHttpTransport() override;

    void get(const std::string& url, const std::string& user, const std::string& password,
             int timeoutMs, Done done) override;
    void post(const std::string& url, const std::string& soapAction, const std::string& body,
              int timeoutMs, Done done) override;
    void cancel() override;

  private:
    void watch(QNetworkReply* reply, int timeoutMs, Done done);

    QNetworkAccessManager* d_manager;
    QPointer<QNetworkReply> d_reply;
};

}  // namespace vex
