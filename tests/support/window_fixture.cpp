#include "tests/support/window_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <fstream>
#include <random>
#include <sstream>

#include "app/close_request.h"

namespace tv::testing {

namespace {
// A new directory of the test's own under the system's temporary folder.
std::filesystem::path makeTestDirectory() {
    std::random_device random;
    for (;;) {
        const auto dir = std::filesystem::temp_directory_path() /
                         ("tvconfig-window-" + std::to_string(random()));
        if (std::filesystem::create_directory(dir)) return dir;
    }
}
}  // namespace

std::vector<int> imageOf(const ChannelTable& t) {
    std::vector<int> image;
    for (size_t c = 0; c < 8; ++c)
        for (int32_t word : {t.InitReg[c], t.RefReg[c], t.NReg[c], t.FuncReg[c]})
            for (int i = 0; i < 4; ++i) image.push_back((word >> (8 * i)) & 0xFF);
    return image;
}

ChannelTable eightDifferentChannels() {
    ChannelTable t;
    for (size_t c = 0; c < 8; ++c) {
        const auto i = static_cast<int32_t>(c);
        t.InitReg[c] = 0x0D8093 + i;
        t.RefReg[c] = 0xC8 + 4 * i;
        t.NReg[c] = 0x026901 + 0x100 * i;
        t.FuncReg[c] = 0xFFFFFF - i;
        t.description[c] = std::to_string(5800 + c) + ",5 µMHz, STD=10MHz, PD=  kHz\r, I=5.00mA";
    }
    t.description[4].clear();
    return t;
}

void WindowTest::SetUp() {
    m_oldDir = std::filesystem::current_path();
    m_dir = makeTestDirectory();
    std::filesystem::current_path(m_dir);
    qputenv("TVCONFIG_COM1", (m_dir / "no-such-port").string().c_str());
    m_boxes = std::make_shared<RecordingDialogs::Shared>();
    installDialogs(std::make_unique<RecordingDialogs>(m_boxes));
}

void WindowTest::TearDown() {
    m_form.reset();
    forgetCloseRequest();
    installDialogs(nullptr);
    qunsetenv("TVCONFIG_COM1");
    std::filesystem::current_path(m_oldDir);
    std::filesystem::remove_all(m_dir);
}

TForm1& WindowTest::start(std::unique_ptr<SerialOs> serialOs) {
    m_form = std::make_unique<TForm1>(std::move(serialOs));
    m_form->show();
    return *m_form;
}

bool WindowTest::waitUntil(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!pred() && timer.elapsed() < timeoutMs) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return pred();
}

bool WindowTest::closeWindow() {
    const bool closed = m_form->close();
    QApplication::processEvents();
    return closed;
}

void WindowTest::typeInto(QLineEdit* e, const QString& text) {
    e->setFocus();
    e->setText(text);
    QTest::keyRelease(e, Qt::Key_End);
}

void WindowTest::writeFile(const std::string& name, const std::string& content) {
    std::ofstream(m_dir / name, std::ios::binary) << content;
}

std::string WindowTest::readFile(const std::string& name) const {
    std::ifstream in(m_dir / name, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::vector<std::string> WindowTest::memoLines(const QPlainTextEdit* m) const {
    std::vector<std::string> lines;
    for (const QString& l : m->toPlainText().split(QLatin1Char('\n')))
        lines.push_back(l.toStdString());
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

}  // namespace tv::testing
