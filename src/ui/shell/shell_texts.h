#pragma once
// Operator-facing texts of the main frame's menus, toolbar, status bar and platform commands.
// The texts this platform adds (the driver explanation on Linux, port permissions, a missing
// shop address or manual, the customize dialog) are listed here too.

namespace somatrix::texts {

// Toolbar captions, ids 19000..19007 in order.
inline constexpr const char* kToolCaptions[8] = {"界面切换", "安装驱动", "扫描设备", "技术文件",
                                                 "在线购买", "开始录存", "暂停录存", "停止录存"};

// View menu.
inline constexpr const char* kToolbarsMenu = "工具栏和停靠窗口(&T)";
inline constexpr const char* kCommandToolbar = "标准(&S)";
inline constexpr const char* kStatusBarItem = "状态栏(&S)";
inline constexpr const char* kLookMenu = "应用程序外观(&A)";
inline constexpr const char* kOffice2007Menu = "Office 2007(&7)";
inline constexpr const char* kCustomize = "自定义...";

// File menu: printing.
inline constexpr const char* kPrint = "打印(&P)...";
inline constexpr const char* kPrintPreview = "打印预览(&V)";
inline constexpr const char* kPrintSetup = "打印设置(&R)...";

// Status bar.
inline constexpr const char* kReady = "就绪";
inline constexpr const char* kPane1 = "显示信息1";
inline constexpr const char* kPane2 = "显示信息2";
inline constexpr const char* kCapsLock = "CAP";
inline constexpr const char* kNumLock = "NUM";
inline constexpr const char* kScrollLock = "SCRL";

// Install driver.
inline constexpr const char* kNoteCaption = "提示";
inline constexpr const char* kDriverQuestion =
    "安装驱动时设备不能连接计算机,请确认设备没有连接,然后点击确定";
inline constexpr const char* kDriverInKernel =
    "传感器使用的 USB 转串口芯片（Silicon Labs CP210x）的驱动已包含在 Linux 内核中，无需另外安装。"
    "设备连接后即出现为串口 /dev/ttyUSB0、/dev/ttyUSB1 等。";
inline constexpr const char* kPortAllowed = "当前用户可以打开串口 %1。";
inline constexpr const char* kPortAllowedNoDevice =
    "当前没有连接 USB 串口设备；当前用户可以打开连接后出现的串口。";
inline constexpr const char* kPortJoinGroup =
    "当前用户 %1 不能打开串口 %2。请把用户加入 %3 组：\n\n    sudo usermod -aG %3 %1\n\n"
    "然后注销并重新登录。";
inline constexpr const char* kPortLogInAgain =
    "用户 %1 已在 %3 组中，但当前登录会话是在加入之前开始的，还不能打开串口 %2。"
    "请注销并重新登录。";
inline constexpr const char* kPortUdevRule =
    "当前用户 %1 不能打开串口 %2，也没有哪个用户组可以读写它。请添加 udev 规则文件 %4，"
    "内容为：\n\n    %5\n\n然后执行：\n\n    sudo udevadm control --reload-rules && sudo udevadm "
    "trigger\n    sudo usermod -aG %3 %1\n\n重新插入设备，注销并重新登录。";

// Technical document and shop.
inline constexpr const char* kDocumentName = "医用传感器组合_规格书";
inline constexpr const char* kDocumentMissing = "找不到技术文件：%1";
inline constexpr const char* kDocumentOpenFailed = "没有可以打开技术文件的程序：%1";
inline constexpr const char* kNoShop =
    "没有配置在线购买的网址。请在 Somatrix.ini 的 [Setting] 节中设置 Shop。";
inline constexpr const char* kShopOpenFailed = "无法打开在线购买的网址：%1";

// Customize dialog.
inline constexpr const char* kCustomizeTitle = "自定义";
inline constexpr const char* kCustomizeHint = "勾选要显示的按钮，用“上移”“下移”调整顺序。";
inline constexpr const char* kMoveUp = "上移(&U)";
inline constexpr const char* kMoveDown = "下移(&D)";
inline constexpr const char* kReset = "重置(&R)";

// Waveform recording (File menu 32813..32815, markers, status bar).
inline constexpr const char* kRecordWave = "录存波形数据";
inline constexpr const char* kPauseWave = "暂停录制波形";
inline constexpr const char* kStopWave = "停止录制波形";
inline constexpr const char* kInsertMarker = "插入标记";
inline constexpr const char* kMarkerName = "标记 %1";
inline constexpr const char* kOpenInReview = "在回放模式中打开";
// Red dot, elapsed time, sensor, rate, markers, file size.
inline constexpr const char* kRecordingState = "录制中 %1  %2  %3  标记 %4  %5";
inline constexpr const char* kRecordingPaused = "已暂停";
inline constexpr const char* kMeasuringRate = "测速中";
inline constexpr const char* kRecordingSaved = "波形已保存：%1";
inline constexpr const char* kRecordingFailed = "波形录制失败：%1";
inline constexpr const char* kRecordingsRepaired = "已修复 %1 个中断的波形录制文件";

}  // namespace somatrix::texts
