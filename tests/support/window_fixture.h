#pragma once
// Drives the real main window the way an operator does: clicks and key events on
// its controls, reading captions, labels and edits back. Each test runs in a
// fresh temporary working directory, with the message boxes recorded instead of
// shown and com1 pointing at a port that does not exist unless a test says so.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "app/dialogs.h"
#include "app/radio_group.h"

namespace tv::testing {

// Records every box and beep instead of showing it.
class RecordingDialogs : public Dialogs {
public:
    struct Shared {
        std::vector<std::string> messages;  // plain boxes ("Error", ...)
        std::vector<std::string> errors;    // standard error boxes, questions among them
        int beeps = 0;
        int closeQuestions = 0;                   // boxes after a failed save at close
        bool closeWithoutSaving = false;          // their answer: "Stay open" unless set
        std::function<void()> whileMessageShows;  // what happens while a plain box stands
        // File dialogs: where each started (the folder or the suggested path), and
        // the path each answers with in turn (empty: cancelled).
        std::vector<std::string> fileDialogs;
        std::vector<std::string> fileAnswers;
        std::vector<std::string> replaceQuestions;  // before channels are replaced
        bool replaceChannels = false;               // their answer
    };
    explicit RecordingDialogs(std::shared_ptr<Shared> shared) : m_shared(std::move(shared)) {}
    void showMessage(QWidget*, const QString& text) override {
        m_shared->messages.push_back(text.toStdString());
        if (m_shared->whileMessageShows) m_shared->whileMessageShows();
    }
    void showError(QWidget*, const QString& text) override {
        m_shared->errors.push_back(text.toStdString());
    }
    void beep() override { ++m_shared->beeps; }
    bool askCloseWithoutSaving(QWidget*, const QString& text) override {
        m_shared->errors.push_back(text.toStdString());
        ++m_shared->closeQuestions;
        return m_shared->closeWithoutSaving;
    }
    QString chooseHeaderToOpen(QWidget*, const QString& dir) override { return answer(dir); }
    QString chooseHeaderToSave(QWidget*, const QString& path) override { return answer(path); }
    bool askReplaceChannels(QWidget*, const QString& text) override {
        m_shared->replaceQuestions.push_back(text.toStdString());
        return m_shared->replaceChannels;
    }

private:
    QString answer(const QString& start) {
        m_shared->fileDialogs.push_back(start.toStdString());
        if (m_shared->fileAnswers.empty()) return {};
        const QString path = QString::fromStdString(m_shared->fileAnswers.front());
        m_shared->fileAnswers.erase(m_shared->fileAnswers.begin());
        return path;
    }

    std::shared_ptr<Shared> m_shared;
};

// The 128 bytes Write sends after "W" CR: each channel's four words, low byte first.
std::vector<int> imageOf(const ChannelTable& t);

// A table unlike the window's: every word and description different, channel 4's
// description empty, one with a CR and one with a character outside ASCII.
ChannelTable eightDifferentChannels();

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the window (FormCreate runs, settings and start-up open included),
    // on the real serial platform unless a test hands in another.
    TForm1& start(std::unique_ptr<SerialOs> serialOs = nullptr);
    // Handles events until pred holds or timeoutMs passed; returns pred().
    bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 5000);
    // The window's control of that object name. A missing one (or one of another
    // kind) ends the test with its name rather than a crash.
    template <typename T>
    T* control(const char* name) const {
        T* c = m_form ? m_form->findChild<T*>(QString::fromLatin1(name)) : nullptr;
        if (!c) throw std::logic_error(std::string("the window has no control ") + name);
        return c;
    }
    // Closes it as the title-bar button does; returns whether it closed.
    bool closeWindow();

    void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void clickItem(RadioGroup* g, int index) {
        QTest::mouseClick(g->button(index), Qt::LeftButton);
    }
    void releaseKey(QLineEdit* e, Qt::Key key) { QTest::keyRelease(e, key); }
    // Replaces an edit's text and releases the last key, as typing does.
    void typeInto(QLineEdit* e, const QString& text);

    void writeFile(const std::string& name, const std::string& content);
    std::string readFile(const std::string& name) const;
    std::vector<std::string> memoLines(const QPlainTextEdit* m) const;

    std::filesystem::path m_dir;
    std::filesystem::path m_oldDir;
    std::shared_ptr<RecordingDialogs::Shared> m_boxes;
    std::unique_ptr<TForm1> m_form;
};

}  // namespace tv::testing
