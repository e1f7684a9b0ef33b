#pragma once
// Where the scan's candidate ports come from on each system. Pure functions over their inputs,
// so the orderings and filters are testable on any machine.
#include <string>
#include <vector>

namespace somatrix {

// Linux: the USB serial devices under `sysClassTty` (normally "/sys/class/tty"): ttyUSB* and
// ttyACM*, those driven by cp210x (the sensors' bridge) first, then ttyUSB before ttyACM, each
// by its number. Names without "/dev/".
std::vector<std::string> ListUsbSerialPorts(const std::string& sysClassTty);

// Windows: whether a value of the serial-port map names a USB-to-UART bridge's port: its name
// contains "labser" (Silicon Labs) or "USB", case-sensitively.
bool IsBridgePortValue(const std::string& valueName);
// The ports of the serial-port map that pass that filter, in enumeration order. Empty elsewhere.
std::vector<std::string> ListRegistryPorts();

// Port names in `value` (the environment variable SOMATRIX_PORTS), separated by `separator`;
// empty parts are skipped.
std::vector<std::string> SplitPortList(const std::string& value, char separator);
inline constexpr char kPortListSeparator =
#ifdef _WIN32
    ';';
#else
    ':';
#endif

}  // namespace somatrix
