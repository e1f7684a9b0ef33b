#include "display/info_panel.h"

#include <cstdarg>
#include <cstdio>

#include "protocol/frame.h"

namespace somatrix {

namespace {

// The panel's texts.
constexpr char kMaxMinLabel[] = "最大/小值";
constexpr char kCuffPressure[] = "%d mmHg";
constexpr char kSystolic[] = "收缩压: %dmmHg";
constexpr char kDiastolic[] = "舒张压: %dmmHg";
constexpr char kBpRate[] = "心  率: %d次/分";
constexpr char kArrhythmia[] = "提  示: 心率不齐";
constexpr char kLead1[] = "导联1: %d";
constexpr char kLead2[] = "导联2: %d";
constexpr char kVolumeShort[] = "血容积:%d";
constexpr char kSpo2Short[] = "血氧: %d%%";
constexpr char kVolumeLong[] = "血容积幅值: %d";
constexpr char kSpo2Long[] = "血氧饱和度: %d%%";
constexpr char kOxygenRate[] = "心率: %d";
constexpr char kBeatRate[] = "心率: %d次/分";
constexpr char kBeatRateUnknown[] = "心率: --";

// Column of the value texts, from the left of the value area.
constexpr int kColCuff = 10;
constexpr int kColResult = 12;
constexpr int kColValue = 20;
// Right edge of the extremes, from the right of the value area; of the header label, from the
// right of the header band.
constexpr int kRightInset = 6;
constexpr int kHeaderInset = 4;

std::string Format(const char* format, ...) {
    char text[128];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

std::string Pair(int max, int min) {
    if (max >= 0 && min >= 0) {
        return Format("%d/%d", max, min);
    }
    if (max >= 0) {
        return Format("%d/  ", max);
    }
    if (min >= 0) {
        return Format("  /%d", min);
    }
    return {};
}

// Body temperature: tenths of a degree.
std::string TenthsPair(int max, int min) {
    if (max >= 0 && min >= 0) {
        return Format("%.1f/%.1f", max / 10.0, min / 10.0);
    }
    if (max >= 0) {
        return Format("%.1f/  ", max / 10.0);
    }
    if (min >= 0) {
        return Format("   /%.1f", min / 10.0);
    }
    return {};
}

bool HasBeatRate(uint8_t t) {
    return t == type::kEcg || t == type::kPulse || t == type::kInfraredPulse;
}

bool IsBloodPressure(uint8_t t) {
    return t == type::kBloodPressureV2 || t == type::kBloodPressure;
}

}  // namespace

void CInfoPanel::SetValues(int v1, int v2, int v3, int v4) {
    m_nValue = {v1, v2, v3, v4};
    m_bResult = false;
}

void CInfoPanel::SetResultValues(int v1, int v2, int v3, int v4) {
    m_nValue = {v1, v2, v3, v4};
    m_bResult = true;
}

bool CInfoPanel::SetMaxMin(bool on, int max1, int min1, int max2, int min2) {
    const bool changed = on != m_bMaxMin;
    m_bMaxMin = on;
    m_nMax1 = max1;
    m_nMin1 = min1;
    m_nMax2 = max2;
    m_nMin2 = min2;
    return changed;
}

void CInfoPanel::SetSensor(uint8_t type, const std::string& name) {
    m_nType = type;
    m_strName = name;
    m_nValue = {-1, -1, -1, -1};
    m_bResult = false;
    m_nMax1 = m_nMin1 = m_nMax2 = m_nMin2 = -1;
    m_nAmplitude = 0;
    m_nHeartRate = -1;
}

std::vector<CInfoItem> CInfoPanel::Layout(int width, int height) const {
    (void)height;  // rows sit at fixed offsets; what falls below the panel is clipped
    std::vector<CInfoItem> items;
    items.push_back(
        {m_strName, kHeaderInset, kHeaderInset, false, CInfoItem::kSmall, CInfoItem::kHeader, -1});
    if (m_bMeasuring && m_bMaxMin) {
        items.push_back({kMaxMinLabel, width - kHeaderInset, kHeaderInset, true, CInfoItem::kSmall,
                         CInfoItem::kHeader, -1});
    }

    auto value = [&](int row, int column, std::string text) {
        items.push_back({std::move(text), column, kValueTop + kRowOffsets[static_cast<size_t>(row)],
                         false, CInfoItem::kLarge, CInfoItem::kValue, row});
    };
    auto right = [&](int row, std::string text) {
        if (m_bMaxMin && !text.empty()) {
            items.push_back({std::move(text), width - kRightInset,
                             kValueTop + kRowOffsets[static_cast<size_t>(row)], true,
                             CInfoItem::kLarge, CInfoItem::kValue, row});
        }
    };
    const int v1 = m_nValue[0], v2 = m_nValue[1], v3 = m_nValue[2], v4 = m_nValue[3];

    if (IsBloodPressure(m_nType)) {
        if (m_bResult) {
            if (v1 >= 0 && v2 >= 0) {
                value(0, kColResult, Format(kSystolic, v1));
                value(1, kColResult, Format(kDiastolic, v2));
                if (v3 >= 0) {
                    value(2, kColResult, Format(kBpRate, v3));
                }
                if (v4 >= 1) {
                    value(3, kColResult, kArrhythmia);
                }
            }
        } else if (v1 >= 0) {
            value(0, kColCuff, Format(kCuffPressure, v1));
            right(0, Pair(m_nMax1, m_nMin1));
        }
        return items;
    }
    if (v1 < 0) {
        return items;
    }
    switch (m_nType) {
        case type::kGastro:
            value(0, kColValue, Format(kLead1, v1));
            value(1, kColValue, Format(kLead2, v2));
            right(0, Pair(m_nMax1, m_nMin1));
            right(1, Pair(m_nMax2, m_nMin2));
            break;
        case type::kBloodOxygen:
            value(0, kColValue, Format(m_bMaxMin ? kVolumeShort : kVolumeLong, v1));
            value(1, kColValue, Format(m_bMaxMin ? kSpo2Short : kSpo2Long, v2));
            value(2, kColValue, Format(kOxygenRate, v3));
            right(0, Pair(m_nMax1, m_nMin1));
            right(1, Pair(m_nMax2, m_nMin2));
            break;
        case type::kBodyTemperature:
            value(0, kColValue, Format("%.1f   ", v1 / 10.0));
            right(0, TenthsPair(m_nMax1, m_nMin1));
            break;
        default:
            value(0, kColValue, Format("%d", v1));
            right(0, Pair(m_nMax1, m_nMin1));
            if (m_bHeartRateRow && HasBeatRate(m_nType)) {
                value(1, kColValue,
                      m_nHeartRate >= 0 ? Format(kBeatRate, m_nHeartRate) : kBeatRateUnknown);
            }
            right(1, m_nAmplitude > 0 ? Format("%d", m_nAmplitude) : std::string());
            break;
    }
    return items;
}

std::string CInfoPanel::Description() const {
    auto trimmed = [](std::string s) {
        while (!s.empty() && s.back() == ' ') {
            s.pop_back();
        }
        return s;
    };
    // Rows in reading order: the texts of one row joined by a tab.
    std::array<std::string, 5> lines;
    for (const CInfoItem& item : Layout(0, 0)) {
        std::string& line = lines[static_cast<size_t>(item.m_nRow + 1)];
        const std::string text = trimmed(item.m_strText);
        if (!line.empty() && !text.empty()) {
            line += '\t';
        }
        line += text;
    }
    std::string out;
    for (const std::string& line : lines) {
        if (!line.empty()) {
            if (!out.empty()) {
                out += '\n';
            }
            out += line;
        }
    }
    return out;
}

}  // namespace somatrix
