#pragma once
// What the device link shows, on a console: the window's status notes and
// message boxes go to stderr, the buffer view is kept for the caller to print.
#include <functional>
#include <iosfwd>
#include <string>

#include "device/device_link.h"

namespace tv {

class ConsoleView : public DeviceView {
public:
    explicit ConsoleView(std::ostream& notes) : m_notes(notes) {}

    void appendStatusText(const std::string&) override {}  // the received bytes' echo
    void addStatusLine(const std::string& line) override;
    void showRxEventCount(const std::string&) override {}
    void setBufferView(const std::string& text) override { m_bufferView = text; }
    void showMessage(const std::string& text) override;
    void setCommandsEnabled(bool) override {}
    // Kept for the summary, which ends with it.
    void showSlowReplies(const std::string& hint) override { m_slowReplies = hint; }
    const std::string& slowReplies() const { return m_slowReplies; }
    void closeLostLine() override {
        if (m_closeLostLine) m_closeLostLine();
    }
    // tvprog has no "Open": the way back is to run it again.
    std::string lineLostText() const override {
        return "The line to the unit was lost; check the cable and run tvprog again.";
    }

    // What closes the port when the unit's end of the line goes away.
    void onLineLost(std::function<void()> close) { m_closeLostLine = std::move(close); }

    // The last "View Buffer" text, rows ended by LF.
    std::string bufferView() const;

private:
    std::ostream& m_notes;
    std::string m_bufferView;
    std::string m_slowReplies;
    std::function<void()> m_closeLostLine;
};

}  // namespace tv
