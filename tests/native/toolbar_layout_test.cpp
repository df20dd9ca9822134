#include "gateway/GatewayAddress.h"
#include "toolbar/ToolbarSlots.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolbarLayout, MessageBoxTakesWhatTheOtherSlotsLeave) {
    EXPECT_EQ(610, FixedSlotsWidth);
    EXPECT_EQ(290, MessageSlotWidth(900));
    EXPECT_EQ(390, MessageSlotWidth(1000));
    EXPECT_EQ(0, MessageSlotWidth(610));
    EXPECT_EQ(0, MessageSlotWidth(400)) << "a narrow toolbar never gets a negative slot";
}

TEST(GatewayAddressText, HostWithOptionalPort) {
    GatewayAddress plain = ParseGatewayAddress("gate.example.cz");
    EXPECT_EQ("gate.example.cz", plain.host);
    EXPECT_EQ(80, plain.port);

    GatewayAddress local = ParseGatewayAddress("127.0.0.1:8123");
    EXPECT_EQ("127.0.0.1", local.host);
    EXPECT_EQ(8123, local.port);

    for (const char* unusable : {"host:", "host:x1", "host:0", "host:70000", "host:12ab"}) {
        GatewayAddress address = ParseGatewayAddress(unusable);
        EXPECT_EQ("host", address.host) << unusable;
        EXPECT_EQ(80, address.port) << unusable;
    }
}

} // namespace
