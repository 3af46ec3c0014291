// The Channels page: the grid that shows the channel table, what a unit holds
// read beside it, the unit's channels taken into the table, and headers opened
// and saved through the file dialog.
#include <QDir>
#include <QPushButton>
#include <filesystem>

#include "app/Unit1.h"
#include "app/dialogs.h"
#include "app/qt_event_waiter.h"
#include "app/qt_text.h"
#include "app/radio_group.h"
#include "device/channel_load.h"
#include "device/dump_collector.h"
#include "device/header_export.h"
#include "device/unit_memory.h"
#include "os/file_error.h"
#include "os/local_time.h"
#include "os/safe_replace.h"
#include "serial/rs232c.h"

namespace tv {

namespace {

// How long a Read unit collects after the D was answered: the unit's memory
// takes some 135 ms at 9600 bit/s; a reply that stops short is given up after
// as long as a silent unit is.
constexpr std::chrono::milliseconds kCollectLimit = DeviceLink::kReplyTimeout;

std::tm localNow(const Clock& clock) {
    std::tm local{};
    if (const int err = localTime(clock.now(), local)) throw fileError(err);
    return local;
}

// Marks the window as collecting a unit's reply: the commands are offered again
// however the collection ends.
class ReadingUnit {
public:
    ReadingUnit(bool& flag, DeviceView& view) : m_flag(flag), m_view(view) {
        m_flag = true;
        m_view.setCommandsEnabled(false);
    }
    ReadingUnit(const ReadingUnit&) = delete;
    ReadingUnit& operator=(const ReadingUnit&) = delete;
    ~ReadingUnit() {
        m_flag = false;
        m_view.setCommandsEnabled(true);
    }

private:
    bool& m_flag;
    DeviceView& m_view;
};

}  // namespace

ChannelGridSource TForm1::channelGridSource() {
    ChannelGridSource source;
    source.table = &channelTable;
    source.written = &m_writtenTable;
    source.unit = &m_unitMemory;
    source.variant = [this] { return RadioGroup6->itemIndex(); };
    source.decimalSeparator = [this] { return decimalSeparator(); };
    return source;
}

void TForm1::showReadUnitEnabled() {
    ReadUnitButton->setEnabled(m_link && rs232c1().isOpen() && !m_link->busy() && !m_readingUnit);
}

std::span<const uint8_t> TForm1::receivedSinceCommand() const {
    const auto count = std::clamp<int32_t>(m_link->BufferPos, 0, DeviceLink::kBufferSize);
    return {m_link->DeviceBuffer.data(), static_cast<std::size_t>(count)};
}

void TForm1::ReadUnitButtonClick() {
    // The table as it stands when the operator asks is what the unit is held against.
    const ChannelImage table = channelImage(channelTable);
    const std::string port = selectedPortName();
    // What an earlier read found may be another unit's: only this read's memory
    // is shown and can be taken.
    m_unitMemory.reset();
    TakeUnitButton->setEnabled(false);
    showChannels();
    const bool answered = m_link->dump();  // "Dump" itself: same bytes, waits and give-up
    m_readBack.dumpEnded(answered);
    flushStatus();
    if (!answered) {
        closeIfAskedDuringCommand();
        return;
    }
    bool collected = false;
    {
        ReadingUnit reading(m_readingUnit, *this);
        const DumpCollection collection{std::chrono::steady_clock::now() + kCollectLimit,
                                        kDumpQuiet, &table};
        collected = collectDumpReply(*m_link, *m_waiter, collection,
                                     [this] { return !rs232c1().isOpen(); });
    }
    flushStatus();
    if (!collected) {  // the window is closing
        closeIfAskedDuringCommand();
        return;
    }
    const UnitMemory memory = unitMemoryFromDump(receivedSinceCommand(), table);
    addStatusLine(unitMemoryLine(memory, table));
    if (memory.image) {
        m_unitMemory = memory.image;
        m_unitPort = port;
        m_unitReadAt = localNow(*m_clock);
    }
    TakeUnitButton->setEnabled(m_unitMemory.has_value());
    showChannels();
    closeIfAskedDuringCommand();
}

void TForm1::TakeUnitButtonClick() {
    if (!m_unitMemory) return;
    if (m_channelsUnsaved &&
        !dialogs().askReplaceChannels(
            this, QStringLiteral("The table holds channels that were set or loaded and are "
                                 "neither saved nor written. Replace them with the unit's "
                                 "channels?"))) {
        return;
    }
    channelTable = channelsReadFrom(*m_unitMemory, m_unitPort, m_unitReadAt);
    // What a unit holds is no work of the operator's to lose.
    m_channelsUnsaved = false;
    addStatusLine("The table holds the channels read from " + m_unitPort +
                  "; \"Write\" sends them, \"save\" writes them out.");
    showChannels();
}

void TForm1::OpenHeaderButtonClick() {
    const QString path = dialogs().chooseHeaderToOpen(this, q(currentDirectory()));
    if (path.isEmpty()) return;
    // As a dropped file loads: the same reader, lines and refusal.
    loadDroppedHeaders({QDir::toNativeSeparators(path)});
}

void TForm1::SaveHeaderAsButtonClick() {
    const std::tm local = localNow(*m_clock);
    const std::string suggested =
        (std::filesystem::path(currentDirectory()) / headerFileName(local)).string();
    const QString chosen = dialogs().chooseHeaderToSave(this, q(suggested));
    if (chosen.isEmpty()) return;
    const std::string path = s(QDir::toNativeSeparators(chosen));
    // Whole or not at all, as the settings file is replaced.
    if (const int err = replaceFile(path, headerText(channelTable, local))) throw fileError(err);
    m_channelsUnsaved = false;
    addStatusLine("Saved the channels to " + path + ".");
}

}  // namespace tv
