#pragma once
// Texts of the main frame for a measurement through a pulled cable and the demo's cable.
namespace somatrix::texts {

inline constexpr const char* kAutoReconnect = "断开后自动重连";  // View menu, kept in the settings
inline constexpr const char* kAutoReconnectKey = "AutoReconnect";
inline constexpr const char* kDemoMenu = "演示(&D)";
inline constexpr const char* kPullCable = "拔出模拟传感器的电缆";
inline constexpr const char* kIntegrityPane = "数据完整性";  // accessible name of pane 102

}  // namespace somatrix::texts
