#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/port_names.h"
#include "platform/system_port_list.h"

namespace somatrix {
namespace {

namespace fs = std::filesystem;

// A /sys/class/tty look-alike: each tty with an optional device/driver link.
void AddTty(const fs::path& root, const std::string& name, const std::string& driver) {
    fs::create_directories(root / name);
    if (!driver.empty()) {
        fs::create_directories(root / "drivers" / driver);
        fs::create_directories(root / name / "device");
        fs::create_directory_symlink(root / "drivers" / driver, root / name / "device" / "driver");
    }
}

TEST(PortNames, UsbSerialPortsInAStableOrder) {
    const fs::path root = fs::temp_directory_path() / "somatrix_sys_class_tty";
    fs::remove_all(root);
    AddTty(root, "ttyS0", "serial8250");
    AddTty(root, "ttyACM0", "cdc_acm");
    AddTty(root, "ttyUSB1", "ftdi_sio");
    AddTty(root, "ttyUSB10", "cp210x");
    AddTty(root, "ttyUSB2", "");
    AddTty(root, "ttyUSB3", "cp210x");
    AddTty(root, "tty0", "");
    EXPECT_EQ(ListUsbSerialPorts(root.string()),
              (std::vector<std::string>{"ttyUSB3", "ttyUSB10", "ttyUSB1", "ttyUSB2", "ttyACM0"}));
    EXPECT_TRUE(ListUsbSerialPorts((root / "missing").string()).empty());
    fs::remove_all(root);
}

TEST(PortNames, FiltersAndLists) {
    EXPECT_TRUE(IsBridgePortValue("\\Device\\Silabser0"));
    EXPECT_TRUE(IsBridgePortValue("\\Device\\USBSER000"));
    EXPECT_FALSE(IsBridgePortValue("\\Device\\Serial0"));
    EXPECT_FALSE(IsBridgePortValue("\\Device\\usbser000"));  // the tests are case-sensitive
    EXPECT_FALSE(IsBridgePortValue("\\Device\\SILABSER0"));

    EXPECT_EQ(SplitPortList("/dev/pts/3::/tmp/sensor:", ':'),
              (std::vector<std::string>{"/dev/pts/3", "/tmp/sensor"}));
    EXPECT_EQ(SplitPortList("COM7;COM12", ';'), (std::vector<std::string>{"COM7", "COM12"}));
    EXPECT_TRUE(SplitPortList("", ':').empty());

    // Named ports are the candidates exactly; otherwise the environment's come after the
    // system's, once each, then the extras.
    CSystemPortList named({"/dev/pts/9", "/dev/pts/2"});
    EXPECT_EQ(named.CandidatePorts(), (std::vector<std::string>{"/dev/pts/9", "/dev/pts/2"}));
    ::setenv("SOMATRIX_PORTS", "/tmp/a:/tmp/b:/tmp/a", 1);
    CSystemPortList system;
    system.SetExtraPorts({"/tmp/c", "/tmp/b"});
    const std::vector<std::string> all = system.CandidatePorts();
    ::unsetenv("SOMATRIX_PORTS");
    ASSERT_GE(all.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(all.end() - 3, all.end()),
              (std::vector<std::string>{"/tmp/a", "/tmp/b", "/tmp/c"}));
}

}  // namespace
}  // namespace somatrix
