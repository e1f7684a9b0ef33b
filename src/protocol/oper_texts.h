#pragma once
// Every text the operation panel shows: message boxes, the status line and the device
// information line. Texts our platform adds (a lost link, a log that cannot be opened) are
// listed at the end, in the same language as the rest.
namespace somatrix::texts {

// Message boxes of the measurement commands.
inline constexpr char kChooseDevice[] = "请选择要测试的设备";
inline constexpr char kPortOpenFailed[] = "设备端口打开失败，可能端口被占用或不存在";
inline constexpr char kNoValidPort[] = "设备端口打开失败：无有效端口";
inline constexpr char kNoPortFound[] =
    "未发现有效端口，请检查：\r\n1. 设备与电脑的连接；\r\n2. 驱动是否安装正确。";

// Status line (1044) and device information line (1020).
inline constexpr char kScanFirst[] = "请先点击“扫描设备”搜索在线设备";
inline constexpr char kConnectPort[] = "连接端口";
inline constexpr char kScanningPort[] = "正在扫描%s......";      // port name
inline constexpr char kPortDevices[] = "端口%s连接%d台设备";     // port name, online count
inline constexpr char kNoDeviceOnline[] = "没有发现设备在线";
inline constexpr char kDeviceNumberInfo[] = "设备号：";
inline constexpr char kProductionDateInfo[] = "生产日期：";
inline constexpr char kDeviceInfo[] = "设备号%s; %s";            // number, date
inline constexpr char kDeviceOffline[] = "设备不在线";
inline constexpr char kOnlineSuffix[] = "(在线)";

// Added on our platform.
inline constexpr char kLinkLost[] = "设备连接已断开，测量已停止：";  // followed by the port's error
inline constexpr char kLogOpenFailed[] = "日志文件打开失败：";     // followed by path and reason
inline constexpr char kPortNotOpen[] = "设备端口未打开";               // a request with the port closed
// Status line after a scan that found a candidate port held by another program; port name(s).
inline constexpr char kPortBusy[] = "端口%s已被其他程序占用";
inline constexpr char kWaitingForDevice[] = "设备已断开，正在等待重新连接…";
inline constexpr char kReconnected[] = "已重新连接：";  // followed by the port's name
inline constexpr char kCancelReconnect[] = "取消重连";  // button shown while waiting
inline constexpr char kReconnectEnded[] = "已停止等待重新连接，记录已关闭";

}  // namespace somatrix::texts
