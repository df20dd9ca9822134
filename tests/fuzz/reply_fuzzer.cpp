// Feeds arbitrary bodies to the reply parser and walks a few items of each. Besides the
// sanitizers' checks it holds the walk to its meaning: after every SelectItem the record must
// equal one that takes the same item key and parses the whole body again.
#include "gateway/GatewayReply.h"
#include "gateway/UrlCoding.h"
#include "tests/native/gateway_reply_fields.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    int picks[4];
    int pickCount = input.ConsumeIntegralInRange(0, 4);
    for (int i = 0; i < pickCount; ++i) {
        picks[i] = input.ConsumeIntegralInRange(-2, 20);
    }
    std::string body = input.ConsumeRemainingBytesAsString();

    std::string unescaped = UrlUnescape(body);
    if (unescaped.find('\0') != std::string::npos || unescaped.size() > body.size()) {
        std::abort();
    }

    GatewayReply walked;
    walked.SetBody(body);
    GatewayReply reference;
    reference.ParseReply(body);
    if (ReadableFields(walked) != ReadableFields(reference)) {
        std::abort();
    }
    for (int i = 0; i < pickCount; ++i) {
        walked.SelectItem(picks[i]);
        reference.SelectItem(picks[i]); // no body of its own: only takes the key
        reference.ParseReply(body);
        if (ReadableFields(walked) != ReadableFields(reference)) {
            std::abort();
        }
    }
    return 0;
}
