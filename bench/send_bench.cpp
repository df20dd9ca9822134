// 200 Send requests through the toolbar's gateway client to a gateway server on loopback:
// prints the median time per request. scripts/bench.sh asks the server, from outside this
// process, how many TCP connections they took (in-process HTTP calls would share the pool).
//   send_bench.exe HOST:PORT
#include "gateway/GatewayClient.h"
#include "gateway/Md5.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: send_bench HOST:PORT\n");
        return 2;
    }
    const std::string address = argv[1];
    const std::string password = Md5Hex("heslo");
    constexpr int Requests = 200;

    GatewayClient client(ParseGatewayAddress(address));
    if (!client.Connect()) {
        std::fprintf(stderr, "send_bench: cannot connect\n");
        return 1;
    }
    std::vector<double> milliseconds;
    int failures = 0;
    for (int i = 0; i < Requests; ++i) {
        std::string recipient = "777" + std::to_string(100000 + i);
        auto start = std::chrono::steady_clock::now();
        GatewayReply reply = client.Send({"jana", password, "Zkušební zpráva", recipient});
        auto stop = std::chrono::steady_clock::now();
        milliseconds.push_back(std::chrono::duration<double, std::milli>(stop - start).count());
        failures += reply.status == 1 ? 0 : 1;
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("send benchmark: %d Send requests, %d failed\n", Requests, failures);
    std::printf("  median %.2f ms per request (min %.2f, max %.2f)\n",
                milliseconds[milliseconds.size() / 2], milliseconds.front(), milliseconds.back());
    return failures == 0 ? 0 : 1;
}
