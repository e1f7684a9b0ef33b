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
    const uint8_t order[] = {0xC0, 0xC3, 0xC4, 0xC5, 0xC6, 0xC7, 0xC8,
                             0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE, 0xB1};
    for (int i = 0; i < 14; ++i) {
        EXPECT_EQ(m_catalogue.At(i).m_nType, order[i]);
        EXPECT_EQ(m_catalogue.At(i).m_szUrl[0], '\0');
        EXPECT_EQ(m_catalogue.At(i).m_bOnline, 0);
    }
    EXPECT_STREQ(m_catalogue.At(0).m_szName, "血压传感器VT-303 V2.0");
    EXPECT_STREQ(m_catalogue.At(13).m_szShortName, "心音");
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

    std::string longName;
    for (int i = 0; i < 30; ++i) {
        longName += "传";  // 3 bytes each in UTF-8
    }
    Write("[Setting]\nDev_CA=" + longName + "\n");
    m_catalogue.ApplyProfile(m_path.string());
    const std::string cut = Name(0xCA);
    EXPECT_EQ(cut.size(), 63u);  // 21 whole characters
    EXPECT_TRUE(IsValidUtf8(cut));
    EXPECT_EQ(longName.rfind(cut, 0), 0u);
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
