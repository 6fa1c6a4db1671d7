#include "settings/serial_ports.h"

#include <gtest/gtest.h>

#include <fstream>

#include "../core/temp_folder.h"

namespace vex {
namespace {

// Only the first USB adapter is plugged in.
const DeviceExists kOneAdapter = [](const std::string& path) { return path == "/dev/ttyUSB0"; };

const std::vector<SerialPortEntry> kPorts{
    {"/dev/ttyS0", "/dev/ttyS0", "", true},
    {"/dev/serial/by-id/usb-Qlink_QX9-port0", "/dev/ttyUSB3", "QX9 cable", true},
};

struct TypedCase {
    std::string typed;
    ComSettings expected;
};

class TypedPortChoiceTest : public ::testing::TestWithParam<TypedCase> {};

TEST_P(TypedPortChoiceTest, NumbersAndPaths) {
    EXPECT_EQ(typedPortChoice(kPorts, GetParam().typed, 4800, kOneAdapter), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    SerialPorts, TypedPortChoiceTest,
    ::testing::Values(
        // Numbers are forced into 1..19 and name the adapter, or the built-in port without one.
        TypedCase{"1", {1, 4800, "/dev/ttyUSB0"}}, TypedCase{"7", {7, 4800, "/dev/ttyS6"}},
        TypedCase{"25", {19, 4800, "/dev/ttyS18"}}, TypedCase{"0", {1, 4800, "/dev/ttyUSB0"}},
        TypedCase{"", {1, 4800, "/dev/ttyUSB0"}}, TypedCase{"-3", {1, 4800, "/dev/ttyUSB0"}},
        TypedCase{" 12 ", {12, 4800, "/dev/ttyS11"}},
        // Paths keep their list position, or come after the listed ports.
        TypedCase{"/dev/ttyUSB3", {2, 4800, "/dev/ttyUSB3"}},
        TypedCase{"/dev/ttyS0", {1, 4800, "/dev/ttyS0"}},
        TypedCase{"ttyACM0", {3, 4800, "/dev/ttyACM0"}},
        TypedCase{"/dev/pts/9", {3, 4800, "/dev/pts/9"}}));

TEST(SerialPorts, ListedChoiceStoresTheStableNameAndItsPosition) {
    EXPECT_EQ(listedPortChoice(kPorts, 1, 38400),
              (ComSettings{2, 38400, "/dev/serial/by-id/usb-Qlink_QX9-port0"}));
    std::vector<SerialPortEntry> many(25, SerialPortEntry{"/dev/x", "/dev/x", "", true});
    EXPECT_EQ(listedPortChoice(many, 23, 9600).port, kMaxComPort);
}

TEST(SerialPorts, AnotherNameForAListedDeviceFindsIt) {
    test::TempFolder folder;
    const auto node = folder / "node";
    std::ofstream(node).put('x');
    std::filesystem::create_symlink(node, folder / "link");
    const std::vector<SerialPortEntry> ports{{"/dev/ttyS0", "/dev/ttyS0", "", true},
                                             {node.string(), node.string(), "", true}};
    EXPECT_EQ(listedPortIndex(ports, (folder / "link").string()), 1);
    EXPECT_EQ(listedPortIndex(ports, (folder / "missing").string()), -1);
    EXPECT_EQ(typedPortChoice(ports, (folder / "link").string(), 9600).port, 2);
}

TEST(SerialPorts, DevicePathPrefersTheRememberedDevice) {
    EXPECT_EQ(DevicePathFor({3, 9600, "/dev/pts/4"}, kOneAdapter), "/dev/pts/4");
    EXPECT_EQ(DevicePathFor({1, 9600, ""}, kOneAdapter), "/dev/ttyUSB0");
    EXPECT_EQ(DevicePathFor({2, 9600, ""}, kOneAdapter), "/dev/ttyS1");
}

TEST(SerialPorts, NaturalOrder) {
    const std::vector<std::string> sorted{"/dev/ttyACM0",  "/dev/ttyS2",  "/dev/ttyS10",
                                          "/dev/ttyS010x", "/dev/ttyS11", "/dev/ttyUSB0"};
    for (std::size_t i = 0; i < sorted.size(); ++i)
        for (std::size_t j = 0; j < sorted.size(); ++j)
            EXPECT_EQ(naturalLess(sorted[i], sorted[j]), i < j) << sorted[i] << " " << sorted[j];
}

}  // namespace
}  // namespace vex
