// Walking a large address book with SelectItem against one parse of the same reply, and a check
// that the walk gives what parsing the whole body again for every item gives.
#include "gateway/GatewayReply.h"
#include "gateway/UrlCoding.h"
#include "tests/native/gateway_reply_fields.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kItems = 10000;
constexpr double kGoal = 5.0;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// An address-book listing as the gateway sends it: each entry "id,phone,email,name,surname",
// %-escaped.
std::string AddrListBody() {
    std::string body = "status=1\ncredit=125.50\nitems=" + std::to_string(kItems) + "\n";
    for (int i = 0; i < kItems; ++i) {
        std::string entry = std::to_string(i + 1) + ",+420601" + std::to_string(100000 + i) +
                            ",jmeno" + std::to_string(i) + "@example.cz,Jiří,Dvořák" +
                            std::to_string(i);
        body += "item_" + std::to_string(i) + "=" + UrlEscape(entry) + "\n";
    }
    return body;
}

} // namespace

int main() {
    const std::string body = AddrListBody();

    double parse = 1e9;
    for (int run = 0; run < 20; ++run) {
        GatewayReply reply;
        auto start = Clock::now();
        reply.ParseReply(body);
        parse = std::min(parse, Seconds(start));
    }

    double walk = 1e9;
    std::vector<std::string> values(kItems);
    for (int run = 0; run < 5; ++run) {
        GatewayReply reply;
        reply.SetBody(body);
        auto start = Clock::now();
        for (int n = 0; n < kItems; ++n) {
            reply.SelectItem(n);
            values[n] = reply.itemValue.value_or("");
        }
        walk = std::min(walk, Seconds(start));
    }

    // The reference takes each item key with no body of its own, then parses the whole body.
    auto start = Clock::now();
    GatewayReply walked;
    walked.SetBody(body);
    GatewayReply reference;
    reference.ParseReply(body);
    int mismatches = 0;
    for (int n = 0; n < kItems; ++n) {
        walked.SelectItem(n);
        reference.SelectItem(n);
        reference.ParseReply(body);
        if (ReadableFields(walked) != ReadableFields(reference) || values[n] != walked.itemValue) {
            ++mismatches;
        }
    }
    double reparse = Seconds(start);

    double ratio = walk / parse;
    std::printf("SelectItem over all %d items of an AddrList reply (%zu bytes)\n", kItems,
                body.size());
    std::printf("  one ParseReply of the whole body:  %10.3f ms\n", parse * 1e3);
    std::printf("  SelectItem for every item:         %10.3f ms (index built by the first call)\n",
                walk * 1e3);
    std::printf("  ratio: %.2fx (goal: at most %.0fx) %s\n", ratio, kGoal,
                ratio <= kGoal ? "met" : "NOT MET");
    std::printf("  re-parsing the body for every item: %.3f s; results %s\n", reparse,
                mismatches == 0 ? "identical" : "DIFFER");
    return mismatches == 0 ? 0 : 1;
}
