// Runs freqdb-local for a test on a free loopback port and waits for database calls in an event
// loop.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <string>
#include <vector>

#include "platform/http_transport.h"

extern char** environ;

namespace netdbtest {

inline QCoreApplication& App() {
    static int argc = 1;
    static char name[] = "e2e_netdb";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Runs the event loop until `start` calls its `done`, at most `limitMs`; false on the limit.
template <typename Start>
bool RunUntilDone(Start start, int limitMs = 20000) {
    App();
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

class LocalService {
  public:
    ~LocalService() { stop(); }

    bool start(const std::vector<std::string>& extra = {}) {
#ifdef FREQDB_LOCAL_PATH
        int out[2], in[2];
        if (::pipe(out) != 0 || ::pipe(in) != 0) return false;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        posix_spawn_file_actions_addclose(&actions, in[1]);
        // The service ends with its standard input, so a test that dies leaves none behind.
        std::vector<std::string> args{FREQDB_LOCAL_PATH, "--port", "0", "--quit-on-eof"};
        args.insert(args.end(), extra.begin(), extra.end());
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        const int spawned =
            ::posix_spawn(&d_pid, FREQDB_LOCAL_PATH, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(in[0]);
        d_control = in[1];
        ::fcntl(d_control, F_SETFD, FD_CLOEXEC);
        if (spawned != 0) {
            ::close(out[0]);
            return false;
        }
        std::string line;
        char c = 0;
        while (::read(out[0], &c, 1) == 1 && c != '\n') line += c;
        ::close(out[0]);
        const std::size_t colon = line.rfind(':');
        const std::size_t slash = line.find("/soap2/");
        if (colon == std::string::npos || slash == std::string::npos) return false;
        d_port = std::stoi(line.substr(colon + 1, slash - colon - 1));
        return true;
#else
        (void)extra;
        return false;
#endif
    }
    void stop() {
        if (d_control >= 0) {
            ::close(d_control);
            d_control = -1;
        }
        if (d_pid > 0) {
            ::kill(d_pid, SIGTERM);
            ::waitpid(d_pid, nullptr, 0);
            d_pid = -1;
        }
    }
    std::string endpoint() const {
        return "http://127.0.0.1:" + std::to_string(d_port) + "/soap2/";
    }
    int port() const {
        return d_port;
    }

    // Switches the service's faults while it runs.
    bool setFaults(const std::string& call, const std::string& wsdl = "none", int slowMs = 1500) {
        vex::QtHttpTransport transport;
        bool ok = false;
        const std::string url = "http://127.0.0.1:" + std::to_string(d_port) +
                                "/control?call=" + call + "&wsdl=" + wsdl +
                                "&slow-ms=" + std::to_string(slowMs);
        RunUntilDone([&](auto done) {
            transport.get(url, "", "", 5000, [&, done](vex::netdb::HttpReply reply) {
                ok = reply.status == 200;
                done();
            });
        });
        return ok;
    }

  private:
    pid_t d_pid = -1;
    int d_control = -1;
    int d_port = 0;
};

}  // namespace netdbtest
