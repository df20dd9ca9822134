// Feeds arbitrary bodies to the reply parser and walks a few items of each. Besides the
// sanitizers' checks it holds the walk to its meaning: after every SelectItem the record must
// equal one that takes the same item key and parses the whole body again.
#include "fuzz_check.h"
#include "gateway/UrlCoding.h"
#include "tests/native/gateway_reply_fields.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    std::vector<int> picks(input.ConsumeIntegralInRange(0, 4));
    for (int& pick : picks) {
        pick = input.ConsumeIntegralInRange(-2, 20);
    }
    const std::string body = input.ConsumeRemainingBytesAsString();

    const std::string unescaped = UrlUnescape(body);
    Require(unescaped.find('\0') == std::string::npos && unescaped.size() <= body.size(),
            "unescaping ends at a NUL and never grows");

    GatewayReply walked;
    walked.SetBody(body);
    GatewayReply reference;
    reference.ParseReply(body);
    Require(ReadableFields(walked) == ReadableFields(reference), "the body parses as a whole");
    for (int pick : picks) {
        walked.SelectItem(pick);
        reference.SelectItem(pick); // no body of its own: only takes the key
        reference.ParseReply(body);
        Require(ReadableFields(walked) == ReadableFields(reference), "a walk reads as a parse");
    }
    return 0;
}
