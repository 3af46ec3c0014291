#pragma once
// Memo2 as a classic status memo: adding a line ends it with a line break, and
// appended text runs on in the last line. The receive handler hands over a whole
// turn's bytes at once, so a flood lays the memo out once per turn, and only the
// latest 64 KiB of text are kept, so a long session stays small.
#include <QElapsedTimer>
#include <QString>
#include <string>

class QPlainTextEdit;

namespace tv {

class StatusMemo {
public:
    explicit StatusMemo(QPlainTextEdit* memo);

    void clear();
    void addLine(const std::string& line);  // shown at once
    void append(const std::string& text);   // shown at once, or soon during a flood
    void flush();                           // shows what is still pending

private:
    QPlainTextEdit* m_memo;
    bool m_endsInLineBreak = true;
    QString m_pending;  // text not laid out yet
    QElapsedTimer m_lastFlush;
    bool m_flushQueued = false;
};

}  // namespace tv
