#include "fault_injector.h"
#include "gateway.h"
#include "http_front.h"
#include "options.h"
#include "storage.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include <pthread.h>

int main(int argc, char** argv) {
    using namespace server;
    const std::vector<std::string> args(argv + 1, argv + argc);
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    Options options;
    try {
        options = ParseOptions(args);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "textaro-gateway: %s\n%s", error.what(), kUsage);
        return 2;
    }

    // The signals are taken by sigwait below; blocking them before any thread starts keeps them
    // away from the request threads.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        Storage storage(options.db);
        for (const Account& account : options.accounts) {
            storage.PutAccount(account);
        }
        Gateway gateway(storage, GatewaySettings{options.token, options.price, options.sessionTtl});
        FaultInjector faults;
        faults.SetLatency(options.delay);
        HttpFront front(gateway, storage, faults);
        const auto port = front.Bind(options.bind, options.port);
        if (!port) {
            std::fprintf(stderr, "textaro-gateway: cannot listen on %s:%d\n", options.bind.c_str(),
                         options.port);
            return 1;
        }
        front.Start();
        // Scripts read this line to learn the port.
        std::printf("listening on %s:%d\n", options.bind.c_str(), *port);
        std::fflush(stdout);

        int received = 0;
        sigwait(&stopSignals, &received);
        // Idle keep-alive connections would hold an orderly stop for up to a minute; the data is
        // safe once the database is closed, so the process ends right there.
        storage.Close();
        std::_Exit(0);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "textaro-gateway: %s\n", error.what());
        return 1;
    }
}
