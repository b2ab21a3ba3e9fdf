#include <gtest/gtest.h>

#include "connection_caption.h"
#include "host_resolution.h"

namespace zel {
namespace {

constexpr char kUnknownHost[] = "no-such-host.invalid";

TEST(IsIP, AcceptsOnlyFourPartDottedNumbers) {
    for (const char* good : {"192.168.1.10", "0.0.0.0", "255.255.255.255", "1..2.3", "001.2.3.4"})
        EXPECT_TRUE(IsIP(good)) << good;
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", ".1.2.3", "1.2.3.", "1.2.3.256", "1.2.3.a",
                            "1.2. 3.4", " 1.2.3.4", "1.2.3.-4", "99999999999.1.1.1", "localhost"})
        EXPECT_FALSE(IsIP(bad)) << bad;
}

TEST(AddressToText, WritesFourDecimalBytesInNetworkOrder) {
    EXPECT_EQ(AddressToText({10, 0, 0, 7}), "10.0.0.7");
    EXPECT_EQ(AddressToText({255, 255, 255, 255}), "255.255.255.255");
    EXPECT_EQ(AddressToText({0, 0, 0, 0}), "0.0.0.0");
}

TEST(ResolveHostName, KnownNameGivesItsAddressAndUnknownGivesNothing) {
    EXPECT_EQ(ResolveHostName("localhost"), "127.0.0.1");
    EXPECT_EQ(ResolveHostName(kUnknownHost), "");
    EXPECT_EQ(ResolveHostName(""), "");
}

TEST(DottedToAddress, TextThatIsNoAddressGivesAllBitsSet) {
    EXPECT_EQ(dottedToAddress("1..2.3"), -1);
    EXPECT_EQ(dottedToAddress(""), -1);
    EXPECT_NE(dottedToAddress("10.0.0.7"), -1);
}

TEST(ResolveControllerHost, TrimsAndResolvesOnlyNames) {
    ConnectionSettings s;
    s.ControllerHost = "  192.168.1.10  ";
    resolveControllerHost(s);
    EXPECT_EQ(s.ControllerHost, "192.168.1.10");
    EXPECT_EQ(s.ControllerIP, "192.168.1.10");
    EXPECT_TRUE(s.HostIsIP);

    s.ControllerHost = " localhost";
    resolveControllerHost(s);
    EXPECT_EQ(s.ControllerHost, "localhost");
    EXPECT_EQ(s.ControllerIP, "127.0.0.1");
    EXPECT_FALSE(s.HostIsIP);

    s.ControllerHost = kUnknownHost;
    resolveControllerHost(s);
    EXPECT_EQ(s.ControllerIP, "");
    EXPECT_FALSE(s.HostIsIP);
}

TEST(StartupCaption, DescribesEachKindBeforeAnyConnection) {
    ConnectionSettings s;
    s.TargetNode = 5;
    s.BaudRate = 9600;
    s.CommType = kCommZelNet;
    EXPECT_EQ(startupConnectionCaption(s), " - Node 5");
    s.CommType = 4;
    EXPECT_EQ(startupConnectionCaption(s), " - COMM 2 Baud 9600");
    s.CommType = kCommUdp;
    s.ControllerHost = "10.0.0.7";
    EXPECT_EQ(startupConnectionCaption(s), " - UDP 10.0.0.7");
    s.CommType = kCommTcp;
    s.ControllerHost = "localhost";
    EXPECT_EQ(startupConnectionCaption(s), " - TCP/IP 127.0.0.1 - localhost");
    EXPECT_EQ(s.ControllerIP, "127.0.0.1");
}

}  // namespace
}  // namespace zel
