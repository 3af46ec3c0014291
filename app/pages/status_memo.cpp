#include "app/pages/status_memo.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include "app/qt_text.h"

namespace tv {

namespace {

// The memo keeps at most this much of its latest text; older text goes from the front.
constexpr int kStatusLimit = 64 * 1024;
constexpr qint64 kStatusInterval = 100;  // ms between two layouts of the memo during a flood

}  // namespace

StatusMemo::StatusMemo(QPlainTextEdit* memo) : m_memo(memo) {
    // The memo is written without end; it keeps no undo history, which would
    // hold every text it has dropped.
    m_memo->setUndoRedoEnabled(false);
}

void StatusMemo::clear() {
    m_pending.clear();
    m_memo->clear();
    m_endsInLineBreak = true;
}

void StatusMemo::addLine(const std::string& line) {
    std::string text = m_endsInLineBreak ? std::string() : std::string("\n");
    text += line;
    text += '\n';
    append(text);
    flush();
}

void StatusMemo::append(const std::string& text) {
    if (text.empty()) return;
    m_endsInLineBreak = text.back() == '\n';
    m_pending += q(text);
    if (m_pending.size() > kStatusLimit) m_pending = m_pending.right(kStatusLimit);
    // Laying out the memo's long last line costs milliseconds: during a flood it
    // is done at most every kStatusInterval, otherwise at once.
    const qint64 sinceLast = m_lastFlush.isValid() ? m_lastFlush.elapsed() : kStatusInterval;
    if (sinceLast >= kStatusInterval) {
        flush();
    } else if (!m_flushQueued) {
        m_flushQueued = true;
        QTimer::singleShot(static_cast<int>(kStatusInterval - sinceLast), m_memo,
                           [this] { flush(); });
    }
}

void StatusMemo::flush() {
    m_flushQueued = false;
    m_lastFlush.start();
    if (m_pending.isEmpty()) return;
    QTextDocument* doc = m_memo->document();
    if (m_pending.size() >= kStatusLimit) {
        m_memo->setPlainText(m_pending);
    } else {
        QTextCursor cursor(doc);
        cursor.beginEditBlock();  // one layout for the insert and the cut
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(m_pending);
        // characterCount() counts the closing paragraph separator too.
        const int excess = doc->characterCount() - 1 - kStatusLimit;
        if (excess > 0) {
            cursor.setPosition(0);
            cursor.setPosition(excess, QTextCursor::KeepAnchor);
            cursor.removeSelectedText();
        }
        cursor.endEditBlock();
    }
    m_pending.clear();
    m_memo->verticalScrollBar()->setValue(m_memo->verticalScrollBar()->maximum());
}

}  // namespace tv
