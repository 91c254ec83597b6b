#include "connections/usb_device.h"
#include "connections/usb_port.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/fake_sysfs.h"
#include "support/temp_dir.h"

namespace velkaro {
namespace {

namespace fs = std::filesystem;
using test::AddFakeUsbPrinter;
using test::FakeUsbPrinter;
using test::TempDir;
using test::UsbNode;

// A fake sysfs and device folder laid out as the USB printer class driver leaves them.
class UsbEnumTest : public ::testing::Test {
  protected:
    struct Printer {
        int n;                 // lp<n>
        std::string port;      // USB port path, "1-1.4"
        std::string deviceId;  // ieee1284_id, none when empty
        bool node = true;      // <dev>/usb/lp<n> exists
        bool linked = true;    // class/usbmisc/lp<n> is a link into the interface folder
    };

    fs::path Sys() const { return root_.Path() / "sys"; }
    fs::path Dev() const { return root_.Path() / "dev"; }

    void Add(const Printer& p) {
        FakeUsbPrinter printer{p.n, p.port, p.deviceId};
        printer.node = p.node ? UsbNode::kFifo : UsbNode::kNone;
        printer.linked = p.linked;
        printer.uevent = p.linked;  // a folder of its own comes without a uevent
        AddFakeUsbPrinter(Sys(), Dev(), printer);
    }

    std::vector<tagUSBDevice> List() const {
        std::vector<tagUSBDevice> list{{"stale", "entry"}};
        CUSBPort::EnumDevices(list, Sys().string(), Dev().string());
        return list;
    }
    std::string Node(int n) const { return Dev().string() + "/usb/lp" + std::to_string(n); }

    TempDir root_;
};

TEST_F(UsbEnumTest, NoPrintersGiveAnEmptyList) {
    EXPECT_TRUE(List().empty()) << "no usbmisc folder at all";
    fs::create_directories(Sys() / "class/usbmisc");
    EXPECT_TRUE(List().empty()) << "an empty one";
    fs::create_directories(Sys() / "class/usbmisc/hiddev0");
    EXPECT_TRUE(List().empty()) << "only devices of other drivers";
}

TEST_F(UsbEnumTest, OnePrinterIsFoundByItsNodeAndPortWithItsName) {
    Add({0, "1-1.4", "MFG:Zebra;CMD:ZPL;MDL:ZT410;CLS:PRINTER;DES:Zebra ZT410"});
    const auto list = List();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].strDevicePath, Node(0));
    EXPECT_EQ(list[0].strLocation, "1-1.4 Zebra ZT410");
}

TEST_F(UsbEnumTest, TwoPrintersComeInNumericOrderEachWithItsOwnLocation) {
    Add({10, "1-2", "MANUFACTURER:Zebra Technologies;COMMAND SET:ZPL;MODEL:ZTC ZD420-203dpi;"});
    Add({2, "3-1.2.1", "", true, false});  // no ieee1284_id, no uevent, a folder of its own
    const auto list = List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].strDevicePath, Node(2)) << "lp2 before lp10";
    EXPECT_EQ(list[0].strLocation, "3-1.2.1") << "the port path alone";
    EXPECT_EQ(list[1].strDevicePath, Node(10));
    EXPECT_EQ(list[1].strLocation, "1-2 Zebra Technologies ZTC ZD420-203dpi");
}

TEST_F(UsbEnumTest, APrinterWhoseNodeVanishedIsSkipped) {
    Add({0, "1-1", "MFG:Zebra;MDL:GK420d;"});
    Add({1, "1-2", "MFG:Zebra;MDL:ZT230;", false});
    Add({3, "1-3", "MFG:Zebra;MDL:ZT410;"});
    const auto list = List();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].strLocation, "1-1 Zebra GK420d");
    EXPECT_EQ(list[1].strLocation, "1-3 Zebra ZT410");
}

TEST(PrinterNameFromDeviceId, ReadsManufacturerAndModel) {
    const struct {
        const char* id;
        const char* name;
    } cases[] = {
        {"MFG:Zebra;MDL:ZT410;", "Zebra ZT410"},
        {"mdl: ZT410 ; mfg: Zebra ;\n", "Zebra ZT410"},
        {"MANUFACTURER:Honeywell;MODEL:PC42t;CMD:EPL,ZPL;", "Honeywell PC42t"},
        {"MFG:HP;MDL:HP LaserJet 1020;", "HP LaserJet 1020"},
        {"MFG:Zebra;CMD:ZPL;", "Zebra"},
        {"MDL:ZT410", "ZT410"},
        {"CMD:CPCL;CLS:PRINTER;", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(PrinterNameFromDeviceId(c.id), c.name) << c.id;
}

}  // namespace
}  // namespace velkaro
