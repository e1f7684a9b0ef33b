#pragma once
// Menu, toolbar and window ids of the main window, kept as the program's resource numbers and
// carried on each QAction (QAction::data) so that tests and command routing can find them.

namespace somatrix::ids {

// File menu: logs.
inline constexpr int kStopRawLog = 32811;
inline constexpr int kStartRawLog = 32812;
inline constexpr int kRecordWave = 32813;  // waveform recording into EDF+
inline constexpr int kPauseWave = 32814;   // checked while paused
inline constexpr int kStopWave = 32815;
inline constexpr int kInsertMarker = 32816;  // Ctrl+M, a marker in the recording
inline constexpr int kStartParsedLog = 32819;
inline constexpr int kStopParsedLog = 32820;

// File menu: documents and platform commands.
inline constexpr int kNew = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kExit = 57665;
// Added by this program: two recordings compared, and the printed worksheet.
inline constexpr int kCompareRecordings = 32901;
inline constexpr int kPrintWorksheet = 32902;
inline constexpr int kAbout = 57664;

// View menu.
inline constexpr int kSwitchInterface = 32781;
inline constexpr int kAutoReconnect = 32840;  // "断开后自动重连", a check item
inline constexpr int kPullCable = 32841;      // demo mode: pull the simulated cable
inline constexpr int kViewToolbar = 59392;
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kCustomize = 126;
inline constexpr int kLookFirst = 210;  // 210..218
inline constexpr int kLookLast = 218;
inline constexpr int kDefaultLook = 214;

// Command toolbar.
inline constexpr int kToolSwitch = 19000;
inline constexpr int kToolDriver = 19001;
inline constexpr int kToolScan = 19002;
inline constexpr int kToolDocument = 19003;
inline constexpr int kToolShop = 19004;
inline constexpr int kToolStartRecord = 19005;
inline constexpr int kToolPauseRecord = 19006;
inline constexpr int kToolStopRecord = 19007;

// Edit commands of the accelerator table (no handler of their own).
inline constexpr int kUndo = 57643;
inline constexpr int kCut = 57635;
inline constexpr int kCopy = 57634;
inline constexpr int kPaste = 57637;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;

// Child windows of the view.
inline constexpr int kLivePlotId = 59748;
inline constexpr int kReviewDisplayId = 59658;

}  // namespace somatrix::ids
