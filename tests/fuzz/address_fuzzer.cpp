// Gateway addresses: any text gives a port in range, and a host with a valid port comes back
// as written.
#include "fuzz_check.h"
#include "gateway/GatewayAddress.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const int port = input.ConsumeIntegralInRange(1, 65535);
    const std::string host = input.ConsumeRandomLengthString();
    const std::string text = input.ConsumeRemainingBytesAsString();

    const GatewayAddress any = ParseGatewayAddress(text);
    Require(any.port > 0 && any.port < 65536, "the port is in range");
    Require(any.host == text.substr(0, text.rfind(':')), "the host is the text before the port");

    const GatewayAddress given = ParseGatewayAddress(host + ":" + std::to_string(port));
    Require(given.host == host && given.port == port, "host:port reads back");
    return 0;
}
