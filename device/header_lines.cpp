#include "device/header_lines.h"

#include <string_view>

#include "os/text_form.h"

namespace tv {

namespace {

constexpr size_t kChunk = 64 * 1024;
constexpr unsigned kLineFeed = 0x0A;
constexpr unsigned kCarriageReturn = 0x0D;

}  // namespace

HeaderLines::HeaderLines(ByteSource read) : m_read(std::move(read)) {}

bool HeaderLines::have(size_t bytes) {
    while (m_buffer.size() - m_pos < bytes && !m_atEnd) {
        if (m_pos > 0 && m_pos >= m_buffer.size() / 2) {
            // What was taken goes, so that the buffer never outgrows one line.
            m_buffer.erase(0, m_pos);
            m_pos = 0;
        }
        if (m_chunk.empty()) m_chunk.resize(kChunk);
        const size_t got = m_read(m_chunk.data(), m_chunk.size());
        m_buffer.append(m_chunk.data(), got);
        m_atEnd = got == 0;
    }
    return m_buffer.size() - m_pos >= bytes;
}

unsigned HeaderLines::unitAt(size_t offset) const {
    const auto byte = [this, offset](size_t i) {
        return static_cast<unsigned>(static_cast<unsigned char>(m_buffer[m_pos + offset + i]));
    };
    if (m_unit == 1) return byte(0);
    return m_littleEndian ? byte(1) << 8 | byte(0) : byte(0) << 8 | byte(1);
}

std::optional<HeaderLine> HeaderLines::take(size_t length, size_t endLength, bool ended) {
    const std::string_view raw = std::string_view(m_buffer).substr(m_pos, length);
    HeaderLine line;
    line.text = m_utf16 ? utf16ToUtf8(raw, m_littleEndian) : std::string(raw);
    line.ended = ended;
    m_pos += length + endLength;
    return line;
}

std::optional<HeaderLine> HeaderLines::next() {
    if (m_stopped) return std::nullopt;
    if (!m_started) {
        m_started = true;
        have(3);
        const TextForm form = textFormOf(std::string_view(m_buffer).substr(m_pos));
        m_pos += form.byteOrderMark.size();
        m_utf16 = form.encoding != TextForm::Encoding::Bytes;
        m_littleEndian = form.encoding == TextForm::Encoding::Utf16Le;
        m_unit = m_utf16 ? 2 : 1;
    }
    if (!have(1)) return std::nullopt;
    for (size_t i = 0;; i += m_unit) {
        if (i > kMaxLineBytes) {
            m_stopped = true;
            HeaderLine line;
            line.tooLong = true;
            return line;
        }
        // The rest, with a last odd byte of UTF-16 if there is one, is the last line.
        if (!have(i + m_unit)) return take(m_buffer.size() - m_pos, 0, false);
        const unsigned unit = unitAt(i);
        if (unit == kLineFeed) {
            if (m_ends == Ends::Unknown) m_ends = Ends::LineFeed;
            return take(i, m_unit, true);
        }
        if (unit != kCarriageReturn) continue;
        const bool more = have(i + 2 * m_unit);
        if (more && unitAt(i + m_unit) == kLineFeed) {
            if (m_ends == Ends::Unknown) m_ends = Ends::LineFeed;
            return take(i, 2 * m_unit, true);
        }
        if (m_ends == Ends::Unknown) {
            // Line 1 and the text end in one CR: whether CR ends lines here
            // cannot be told, and a one-line header is cut short anyway.
            if (!more) return take(i, m_unit, false);
            m_ends = Ends::CarriageReturn;
        }
        if (m_ends == Ends::CarriageReturn) return take(i, m_unit, true);
    }
}

}  // namespace tv
