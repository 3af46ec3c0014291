#include "window_fixture.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tv::testing {

void WindowTest::SetUp() {
    m_oldDir = std::filesystem::current_path();
    char pattern[] = "/tmp/tvconfig-window-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    m_dir = pattern;
    std::filesystem::current_path(m_dir);
    ::setenv("TVCONFIG_COM1", (m_dir / "no-such-port").c_str(), 1);
    m_boxes = std::make_shared<RecordingDialogs::Shared>();
    installDialogs(std::make_unique<RecordingDialogs>(m_boxes));
}

void WindowTest::TearDown() {
    m_form.reset();
    installDialogs(nullptr);
    ::unsetenv("TVCONFIG_COM1");
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
