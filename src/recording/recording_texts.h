#pragma once
// The annotation texts a recording writes by itself (UTF-8, as EDF+ annotations are).
namespace somatrix::recording_text {

inline constexpr char kPause[] = "暂停";
inline constexpr char kResume[] = "继续";
inline constexpr char kDisconnected[] = "断开";
inline constexpr char kReconnected[] = "重新连接";
// Blood-pressure result: systolic, diastolic, pulse rate.
inline constexpr char kPressureResult[] = "收缩压 %d mmHg 舒张压 %d mmHg 心率 %d";

}  // namespace somatrix::recording_text
