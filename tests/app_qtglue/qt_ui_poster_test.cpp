// QtUiPoster: messages from another thread reach the UI thread's event loop
// in order, and nothing queued survives the poster or the component.
#include "qt_ui_poster.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <thread>

#include "serial/rs232c.h"
#include "tests/support/serial_os_fake.h"

namespace tv {
namespace {

// Counts what goes through a Qt poster, so a test knows a message is queued.
class CountingPoster final : public UiPoster {
public:
    CountingPoster(std::unique_ptr<UiPoster> inner, std::atomic<int>& posted)
        : m_inner(std::move(inner)), m_posted(posted) {}
    void post(uint32_t message) override {
        m_inner->post(message);
        ++m_posted;
    }

private:
    std::unique_ptr<UiPoster> m_inner;
    std::atomic<int>& m_posted;
};

class QtPoster : public ::testing::Test {
protected:
    // Runs the event loop until `done` holds or two seconds have passed.
    template <typename Done>
    bool runUntil(Done done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (!done() && std::chrono::steady_clock::now() < end) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        }
        return done();
    }

    int argc = 1;
    char name[8] = "qttest";
    char* argv[2] = {name, nullptr};
    QCoreApplication app{argc, argv};
};

TEST_F(QtPoster, MessagesFromAnotherThreadArriveInOrderOnTheUiThread) {
    std::vector<uint32_t> got;
    bool onUiThread = true;
    const auto ui = std::this_thread::get_id();
    auto poster = qtUiPosterFactory()([&](uint32_t message) {
        onUiThread = onUiThread && std::this_thread::get_id() == ui;
        got.push_back(message);
    });
    std::thread monitor([&] {
        for (uint32_t i = 0; i < 1000; ++i) poster->post(WM_RS_BREAK + i % 10);
    });
    monitor.join();
    ASSERT_TRUE(runUntil([&] { return got.size() >= 1000; }));
    for (uint32_t i = 0; i < 1000; ++i) ASSERT_EQ(got[i], WM_RS_BREAK + i % 10) << i;
    EXPECT_TRUE(onUiThread);
}

TEST_F(QtPoster, DestroyingThePosterDropsWhatIsQueued) {
    int delivered = 0;
    auto poster = qtUiPosterFactory()([&](uint32_t) { ++delivered; });
    poster->post(WM_RS_RXCHAR);
    poster->post(WM_RS_RXCHAR);
    poster.reset();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(delivered, 0);
}

TEST_F(QtPoster, CarriesTheComponentsReceiveEvents) {
    auto os = std::make_unique<FakeSerialOs>();
    FakeSerialOs* fake = os.get();
    std::atomic<int> posted{0};
    auto rs = std::make_unique<Trs232c>(std::move(os), [&](UiDeliver deliver) {
        return std::make_unique<CountingPoster>(qtUiPosterFactory()(std::move(deliver)), posted);
    });
    std::vector<uint8_t> got;
    rs->OnRXCHAR = [&](Trs232c& sender) {
        uint8_t b = 0;
        while (sender.rxcount() > 0 && sender.readbyte(b)) got.push_back(b);
    };
    ASSERT_TRUE(rs->open());
    ASSERT_TRUE(fake->waitForWaiter(1000));
    fake->injectBytes({0x57, 0x0D});
    EXPECT_TRUE(runUntil([&] { return got.size() == 2; }));
    EXPECT_EQ(got, (std::vector<uint8_t>{0x57, 0x0D}));

    // An event still queued when the component goes is dropped with it.
    ASSERT_TRUE(fake->waitForWaiter(1000));
    fake->injectBytes({1});
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (posted < 2 && std::chrono::steady_clock::now() < end) std::this_thread::yield();
    ASSERT_EQ(posted, 2);
    rs.reset();
    QCoreApplication::processEvents();
    EXPECT_EQ(got.size(), 2u);
}

}  // namespace
}  // namespace tv
