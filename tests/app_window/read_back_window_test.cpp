// A Write says when it is over, and "View Buffer" after a Dump says whether the
// unit holds what was written: the real window against tvunit on a pseudo-terminal.
#include <QElapsedTimer>
#include <regex>

#include "device/header_export.h"
#include "tests/support/unit_process.h"
#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

class ReadBackWindowTest : public WindowTest {
protected:
    void startUnit(const std::vector<std::string>& options) {
        m_unit = std::make_unique<UnitProcess>(options, (m_dir / "unit.log").string());
        ::setenv("TVCONFIG_COM1", m_unit->path().c_str(), 1);
    }
    // A header of eight different channels, loaded as `tvconfig HEADER` does.
    ChannelTable loadHeader(TForm1& f) {
        const ChannelTable t = eightDifferentChannels();
        writeFile("20240101_1200param.h", headerText(t, std::tm{}));
        f.loadHeaderArguments({QStringLiteral("20240101_1200param.h")});
        return t;
    }
    std::string lastLine(TForm1& f) { return memoLines(f.Memo2).back(); }

    std::unique_ptr<UnitProcess> m_unit;
};

TEST_F(ReadBackWindowTest, AWriteOfALoadedHeaderSendsItAndEndsWithADoneLine) {
    startUnit({});
    TForm1& f = start();
    const ChannelTable loaded = loadHeader(f);
    QElapsedTimer t;
    t.start();
    click(f.Button6);
    const double took = static_cast<double>(t.elapsed()) / 1000;

    std::vector<int> expected{0x57, 0x0D};
    const std::vector<int> image = imageOf(loaded);
    expected.insert(expected.end(), image.begin(), image.end());
    EXPECT_EQ(receivedBytes(m_unit->log()), expected);
    const auto lines = memoLines(f.Memo2);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[lines.size() - 2].substr(0, 9), "57 0D 93 ");  // the replies, as before
    std::smatch m;
    ASSERT_TRUE(std::regex_match(
        lines.back(), m, std::regex(R"(Write done: 130 bytes, every reply in, (\d+\.\d\d) s\.)")))
        << lines.back();
    EXPECT_LE(std::stod(m[1]), took + 0.005);
}

TEST_F(ReadBackWindowTest, ViewBufferAfterADumpSaysWhetherTheUnitHoldsTheWrite) {
    // Byte 37 of the image is byte 1 of channel 2's RefReg (0x000000D0).
    for (const auto& [options, line] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{}, "The unit holds the channels last written."},
             {{"--corrupt-byte", "37"},
              "The unit differs at ch2 RefReg: written 0x000000D0, held 0x0000FFD0."}}) {
        SCOPED_TRACE(line);
        startUnit(options);
        TForm1& f = start();
        loadHeader(f);
        click(f.Button6);
        click(f.Button13);  // no Dump yet: nothing to compare
        EXPECT_EQ(lastLine(f).rfind("Write done", 0), 0u) << lastLine(f);

        click(f.Button11);
        ASSERT_TRUE(waitUntil([&] { return f.deviceLink().BufferPos == 130; }));
        click(f.Button13);
        EXPECT_EQ(lastLine(f), line);
        EXPECT_EQ(memoLines(f.Memo3).size(), 17u);  // the rows as ever
        m_form.reset();
    }
}

}  // namespace
}  // namespace tv::testing
