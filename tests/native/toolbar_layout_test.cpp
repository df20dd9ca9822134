#include "gateway/GatewayAddress.h"
#include "toolbar/ToolbarSlots.h"

#include <gtest/gtest.h>

namespace {

// The widths the message box takes are checked on the real toolbar under Wine (band_test).
TEST(ToolbarLayout, ANarrowToolbarNeverGetsANegativeSlot) {
    EXPECT_EQ(0, MessageSlotWidth(FixedSlotsWidth));
    EXPECT_EQ(0, MessageSlotWidth(400));
}

TEST(GatewayAddressText, HostWithOptionalPort) {
    const struct {
        const char* text;
        const char* host;
        int port;
    } rows[] = {{"gate.example.cz", "gate.example.cz", 80},
                {"127.0.0.1:8123", "127.0.0.1", 8123},
                {"host:", "host", 80},
                {"host:x1", "host", 80},
                {"host:0", "host", 80},
                {"host:70000", "host", 80},
                {"host:12ab", "host", 80}};
    for (const auto& row : rows) {
        const GatewayAddress address = ParseGatewayAddress(row.text);
        EXPECT_EQ(row.host, address.host) << row.text;
        EXPECT_EQ(row.port, address.port) << row.text;
    }
}

} // namespace
