// somatrix-cli report: the worksheet of a recording as a one-page PDF, with no display.
#include <regex>

#include "cli_fixture.h"

namespace somatrix::test {
namespace {

class CReportCliTest : public CCliTest {
protected:
    CReportCliTest() : CCliTest("somatrix_report_cli") {}
};

TEST_F(CReportCliTest, WritesOnePagePdfWithoutDisplayAndRefusesBadInput) {
    const std::string pdf = Path("sheet.pdf");
    // No display at all: the command brings its own offscreen platform.
    const CRun run = RunCli(std::string("report ") + SOMATRIX_TEST_DATA +
                                "/sim_review_3min.dat -o " + pdf + " --name Li --class 3",
                            "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb ");
    ASSERT_EQ(run.m_nStatus, 0) << run.m_strErr;
    const std::string bytes = Slurp(pdf);
    ASSERT_EQ(bytes.rfind("%PDF-", 0), 0u);
    const std::regex page("/Type\\s*/Page(?![a-zA-Z])");
    EXPECT_EQ(std::distance(std::sregex_iterator(bytes.begin(), bytes.end(), page),
                            std::sregex_iterator()),
              1);

    EXPECT_EQ(RunCli("report " + pdf).m_nStatus, 2);  // no -o
    const CRun bad = RunCli("report " + Path("missing.dat") + " -o " + Path("x.pdf"));
    EXPECT_EQ(bad.m_nStatus, 2);
    EXPECT_NE(bad.m_strErr.find("missing.dat"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Path("x.pdf")));
}

}  // namespace
}  // namespace somatrix::test
