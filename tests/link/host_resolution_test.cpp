#include <gtest/gtest.h>

#include <QtEndian>

#include "link/connection_caption.h"
#include "link/host_resolution.h"

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

TEST(DottedToAddress, GivesTheNetworkOrderNumberOrNothing) {
    EXPECT_EQ(dottedToAddress("1..2.3"), std::nullopt);
    EXPECT_EQ(dottedToAddress(""), std::nullopt);
    EXPECT_EQ(dottedToAddress("10.0.0.7"), static_cast<int32_t>(qToBigEndian<quint32>(0x0A000007)));
}

TEST(ResolveControllerHost, TrimsAndResolvesOnlyNames) {
    const struct {
        const char* host;
        const char* trimmed;
        const char* ip;
        bool isIP;
    } cases[] = {{"  192.168.1.10  ", "192.168.1.10", "192.168.1.10", true},
                 {" localhost", "localhost", "127.0.0.1", false},
                 {kUnknownHost, kUnknownHost, "", false},
                 {"  ", "", "", false}};
    for (const auto& c : cases) {
        ConnectionSettings s;
        s.ControllerHost = c.host;
        resolveControllerHost(s);
        EXPECT_EQ(s.ControllerHost, c.trimmed) << c.host;
        EXPECT_EQ(s.ControllerIP, c.ip) << c.host;
        EXPECT_EQ(s.HostIsIP, c.isIP) << c.host;
    }
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
    s.ControllerHost = s.ControllerIP = "10.0.0.7";
    s.HostIsIP = true;
    EXPECT_EQ(startupConnectionCaption(s), " - UDP 10.0.0.7");
    s.CommType = kCommTcp;
    s.ControllerHost = "plc7";
    s.HostIsIP = false;
    EXPECT_EQ(startupConnectionCaption(s), " - TCP/IP 10.0.0.7 - plc7");
}

}  // namespace
}  // namespace zel
