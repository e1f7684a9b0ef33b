// The catalogue's fixed order and what "Somatrix.ini" may change in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "protocol/catalogue.h"
#include "protocol/ini_profile.h"
#include "protocol/text_encoding.h"

namespace somatrix {
namespace {

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = std::filesystem::temp_directory_path() /
                 ("somatrix_ini_" + std::to_string(::getpid()) + ".ini");
    }
    void TearDown() override { std::filesystem::remove(m_path); }
    void Write(const std::string& bytes) {
        std::ofstream(m_path, std::ios::binary) << bytes;
    }
    std::string Name(uint8_t type) const {
        return m_catalogue.At(m_catalogue.IndexOfType(type)).m_szName;
    }
    std::filesystem::path m_path;
    CCatalogue m_catalogue;
};

TEST_F(CatalogueTest, BuiltInOrderAndNames) {
    ASSERT_EQ(m_catalogue.GetCount(), 14u);
    const struct {
        uint8_t m_nType;
        const char* m_szShort;
        const char* m_szName;
    } table[] = {
        {0xC0, "血压V2", "血压传感器VT-303 V2.0"}, {0xC3, "胃肠电", "胃肠电传感器VT-313"},
        {0xC4, "皮温", "皮温传感器VT-312"},        {0xC5, "皮肤电阻", "皮肤电阻传感器VT-311"},
        {0xC6, "肌电", "肌电传感器VT-310"},        {0xC7, "血氧", "血氧传感器VT-309"},
        {0xC8, "心率", "心率传感器VT-308"},        {0xC9, "体温", "体温传感器VT-307"},
        {0xCA, "脉搏", "脉搏传感器VT-306"},        {0xCB, "红外脉搏", "红外脉搏传感器VT-305"},
        {0xCC, "呼吸", "呼吸传感器VT-304"},        {0xCD, "血压", "血压传感器VT-303"},
        {0xCE, "心电", "心电传感器VT-301"},        {0xB1, "心音", "心音传感器VT-302"},
    };
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(m_catalogue.At(i).m_nType, table[i].m_nType);
        EXPECT_STREQ(m_catalogue.At(i).m_szShortName, table[i].m_szShort);
        EXPECT_STREQ(m_catalogue.At(i).m_szName, table[i].m_szName);
        EXPECT_EQ(m_catalogue.At(i).m_szUrl[0], '\0');
        EXPECT_EQ(m_catalogue.At(i).m_bOnline, 0);
    }
    EXPECT_EQ(m_catalogue.IndexOfType(0xC1), -1);
    EXPECT_THROW(m_catalogue.At(14), std::out_of_range);
    EXPECT_THROW(m_catalogue.At(-1), std::out_of_range);
    m_catalogue.ApplyProfile((m_path.string() + ".missing"));
    EXPECT_EQ(Name(0xC9), "体温传感器VT-307");
}

TEST_F(CatalogueTest, ProfileRenamesOnlyWithTwoCharactersOrMore) {
    Write("; comment\r\n[setting]\r\n  dev_c9 = X\r\nDev_B1=Heart sound\r\nURL_B1 = \"http://a\"\r\n"
          "Dev_CD=心\r\nDev_CE=心电仪\r\nDev_CE=second ignored\r\n[Other]\r\nDev_CA=Nope\r\n");
    m_catalogue.ApplyProfile(m_path.string());
    EXPECT_EQ(Name(0xC9), "体温传感器VT-307");  // one character: built-in stays
    EXPECT_EQ(Name(0xCD), "血压传感器VT-303");  // one Chinese character is one character
    EXPECT_EQ(Name(0xB1), "Heart sound");
    EXPECT_EQ(Name(0xCE), "心电仪");
    EXPECT_EQ(Name(0xCA), "脉搏传感器VT-306");  // another section
    EXPECT_STREQ(m_catalogue.At(13).m_szUrl, "http://a");
}

TEST_F(CatalogueTest, GbkProfileAndOverlongNamesAreCutOnCharacterBoundaries) {
    // "心电" in GBK is D0 C4 B5 E7.
    Write("[Setting]\nDev_CE=\xD0\xC4\xB5\xE7-GBK\n");
    m_catalogue.ApplyProfile(m_path.string());
    EXPECT_EQ(Name(0xCE), "心电-GBK");

    // The 64-byte field holds 31 Chinese characters of two GBK bytes and its terminator; with
    // one ASCII letter in front, the 32nd character would need bytes 64 and 65.
    std::string longName;
    for (int i = 0; i < 40; ++i) {
        longName += "传";
    }
    std::string url;
    for (int i = 0; i < 130; ++i) {
        url += "址";
    }
    Write("[Setting]\nDev_CA=" + longName + "\nDev_CB=A" + longName + "\nURL_CA=" + url + "\n");
    m_catalogue.ApplyProfile(m_path.string());
    std::string expected;
    for (int i = 0; i < 31; ++i) {
        expected += "传";
    }
    EXPECT_EQ(Name(0xCA), expected);
    EXPECT_EQ(Name(0xCB), "A" + expected);
    // The 256-byte link text holds 127 characters.
    std::string expectedUrl;
    for (int i = 0; i < 127; ++i) {
        expectedUrl += "址";
    }
    EXPECT_EQ(m_catalogue.At(m_catalogue.IndexOfType(0xCA)).m_szUrl, expectedUrl);
    // ASCII takes one byte each: 63 letters fit.
    Write("[Setting]\nDev_CA=" + std::string(70, 'x') + "\n");
    m_catalogue.ApplyProfile(m_path.string());
    EXPECT_EQ(Name(0xCA), std::string(63, 'x'));
}

TEST_F(CatalogueTest, GarbageEmptyAndOversizedFilesLeaveUsableNames) {
    for (const std::string& content :
         {std::string(), std::string("\xFF\xFE\x00\x01garbage[[[=\n=\n", 17),
          std::string("[Setting]\nDev_C7=\x81\n"), std::string(3 << 20, 'x')}) {
        Write(content);
        CCatalogue catalogue;
        catalogue.ApplyProfile(m_path.string());
        for (int i = 0; i < 14; ++i) {
            EXPECT_TRUE(IsValidUtf8(catalogue.At(i).m_szName));
            EXPECT_GE(std::string(catalogue.At(i).m_szName).size(), 2u);
        }
    }
    CIniProfile profile;
    std::string value(400, 'v');
    profile.Parse("[Setting]\nURL_C5=" + value + "\n");
    EXPECT_EQ(profile.GetString("SETTING", "url_c5").size(), 255u);
    EXPECT_EQ(profile.GetString("Setting", "missing", "fallback"), "fallback");
}

}  // namespace
}  // namespace somatrix
