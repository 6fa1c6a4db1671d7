// Runs freqdb-local for a test on a free loopback port, and waits for database calls in an
// event loop.
#pragma once

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <string>

#include "e2e/sim_process.h"
#include "platform/http_transport.h"

namespace netdbtest {

// The application object the network classes need, made once when the test has none.
inline void EnsureApp() {
    static int argc = 1;
    static char name[] = "netdb_test";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QCoreApplication(argc, argv);
}

// Runs the event loop until `start` calls its `done`, at most `limitMs`; false on the limit.
template <typename Start>
bool RunUntilDone(Start start, int limitMs = 20000) {
    EnsureApp();
    QEventLoop loop;
    bool finished = false;
    QTimer::singleShot(limitMs, &loop, &QEventLoop::quit);
    start([&] {
        finished = true;
        loop.quit();
    });
    if (!finished) loop.exec();
    return finished;
}

// freqdb-local on a free port; it prints its address first.
class LocalService : public simtest::Child {
  public:
    bool start() {
#ifdef FREQDB_LOCAL_PATH
        if (!Spawn(FREQDB_LOCAL_PATH, {"--port", "0", "--quit-on-eof"}, 5000)) return false;
#endif
        const std::size_t colon = firstLine().rfind(':'), slash = firstLine().find("/soap2/");
        if (colon == std::string::npos || slash == std::string::npos) return false;
        d_base = "http://127.0.0.1:" + firstLine().substr(colon + 1, slash - colon - 1);
        return true;
    }
    std::string endpoint() const {
        return d_base + "/soap2/";
    }

    // Switches the service's faults while it runs.
    bool setFaults(const std::string& call, const std::string& wsdl = "none") {
        vex::QtHttpTransport transport;
        bool ok = false;
        const std::string url =
            d_base + "/control?call=" + call + "&wsdl=" + wsdl + "&slow-ms=1500";
        RunUntilDone([&](auto done) {
            transport.get(url, "", "", 5000, [&, done](vex::netdb::HttpReply reply) {
                ok = reply.status == 200;
                done();
            });
        });
        return ok;
    }

  private:
    std::string d_base;
};

}  // namespace netdbtest
