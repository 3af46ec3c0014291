// The main window's settings file, serial port and device commands.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <chrono>

#include "app/Unit1.h"
#include "app/dialogs.h"
#include "app/error_guard.h"
#include "app/port_listing.h"
#include "app/qt_event_waiter.h"
#include "app/qt_text.h"
#include "app/qtglue/qt_ui_poster.h"
#include "app/radio_group.h"
#include "device/channel_image.h"
#include "device/serial_port_binding.h"
#include "serial/rs232c.h"
#include "settings/settings.h"

namespace tv {

namespace {

// The bit rate of the selected ComboBox2 item; 9600 when none is selected or
// its text is not a whole number.
int32_t bitRateOf(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? value : 9600;
}

}  // namespace

// ---- Settings file ---------------------------------------------------------

// Each entry goes to or comes from the control the options table names for it:
// a radio group's clamping index, a combo box's selection, an edit's text.
std::string TForm1::loadSettings() {
    const std::string path = settingsPath(currentDirectory());
    std::string readFailure;
    const Settings st = tv::loadSettings(path, &readFailure);
    for (const SettingRow& row : kSettings) {
        QWidget* control = findChild<QWidget*>(qView(row.control));
        if (auto* group = qobject_cast<RadioGroup*>(control)) {
            group->setItemIndex(st.*row.number);
        } else if (auto* box = qobject_cast<QComboBox*>(control)) {
            setComboIndex(box, st.*row.number);
        } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
            edit->setText(q(st.*row.text));
        }
    }
    // A port found on the machine is chosen by the device entry; portname alone
    // means com1 to com12, so a file without that entry loads as it always did.
    std::optional<RememberedPort> wanted;
    if (st.portname >= kFixedPorts) wanted = parseRememberedPort(st.device);
    refreshPorts(wanted);
    if (readFailure.empty()) return {};
    return path + " could not be read (" + readFailure + "); the defaults are shown.";
}

void TForm1::saveSettings() {
    Settings st;
    for (const SettingRow& row : kSettings) {
        const QWidget* control = findChild<QWidget*>(qView(row.control));
        if (const auto* group = qobject_cast<const RadioGroup*>(control)) {
            st.*row.number = group->itemIndex();
        } else if (const auto* box = qobject_cast<const QComboBox*>(control)) {
            st.*row.number = box->currentIndex();
        } else if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
            st.*row.text = s(edit->text());
        }
    }
    if (const auto found = chosenFoundPort()) st.device = rememberedPortText(*found);
    tv::saveSettings(settingsPath(currentDirectory()), st);
}

// ---- Serial port -----------------------------------------------------------

void TForm1::createPort(std::unique_ptr<SerialOs> os) {
    m_rs232c1 = os ? std::make_unique<Trs232c>(std::move(os), qtUiPosterFactory())
                   : std::make_unique<Trs232c>(qtUiPosterFactory());
    // The component's defaults are the line this window runs (8 data bits, one
    // stop bit, no parity, no flow control, 30 s transfer bounds, no packet
    // event, no messages of its own); port name and bit rate are set at each open.
    Trs232c& port = *m_rs232c1;
    port.exceptionReport = [this](const std::exception& e) { reportError(this, e); };

    m_portBinding = std::make_unique<SerialPortBinding>(port);
    m_waiter = std::make_unique<QtEventWaiter>();
    m_link =
        std::make_unique<DeviceLink>(*m_portBinding, *m_waiter, static_cast<DeviceView&>(*this));
    m_portBinding->bind(*m_link);
}

void TForm1::refreshPorts(const std::optional<RememberedPort>& wanted) {
    showFoundPorts(portsBeyondTheFixed(portLister().list(), processEnvironment()), wanted);
}

void TForm1::openPort() {
    refreshPorts();  // a port plugged in or pulled since the list was read
    rs232c1().bps = bitRateOf(selectedText(ComboBox2));
    rs232c1().portname = selectedPortName();
    showPortOpen(true);
    const bool opened = rs232c1().open();
    showReadUnitEnabled();
    if (opened) return;
    addStatusLine(rs232c1().openFailureReason());
    dialogs().beep();
    dialogs().showMessage(this, QStringLiteral("Error"));
    showPortOpen(false);
}

void TForm1::Button1Click() {
    confirmTypedPort();  // a name typed and not yet confirmed is the one opened
    rs232c1().close();
    openPort();
}

void TForm1::Button2Click() {
    rs232c1().close();
    showPortOpen(false);
    showReadUnitEnabled();
}

void TForm1::closeLostLine() { Button2Click(); }

// ---- Device commands -------------------------------------------------------

// A command's wait may have been ended by a close of the window: close for real
// once the command has stopped.
void TForm1::closeIfAskedDuringCommand() {
    if (m_closeAfterCommand) QTimer::singleShot(0, this, &QWidget::close);
}

void TForm1::Button6Click() {
    // The table may change while the Write waits (a header dropped meanwhile):
    // what the unit gets is the image taken now.
    const ChannelTable sent = channelTable;
    const ChannelImage image = channelImage(sent);
    const auto started = std::chrono::steady_clock::now();
    const bool done = m_link->write(image);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    flushStatus();
    m_readBack.writeEnded(image, done);
    if (done) {
        // The unit holds these now: the Channels page marks what differs from them.
        m_writtenTable = sent;
        m_channelsUnsaved = false;
        showChannels();
    }
    // The replies scroll by as bytes; this line says the Write is over, and how long it took.
    if (done) addStatusLine(writeDoneLine(2 + DeviceLink::kImageSize, took.count()));
    closeIfAskedDuringCommand();
}

void TForm1::Button11Click() {
    m_readBack.dumpEnded(m_link->dump());
    flushStatus();
    closeIfAskedDuringCommand();
}

void TForm1::Button10Click() {
    m_link->initialize();
    flushStatus();
    closeIfAskedDuringCommand();
}

void TForm1::Button13Click() {
    m_link->viewBuffer();
    // After a Dump that followed a whole Write: does the unit hold what was written?
    const auto line = m_readBack.line(m_link->DeviceBuffer, m_link->BufferPos);
    if (line) addStatusLine(*line);
}
void TForm1::Button12Click() { m_link->manualCR(); }

void TForm1::Edit8KeyPress(const QString& typed) {
    for (char c : typed.toStdString()) m_link->manualSend(static_cast<uint8_t>(c));
}

void TForm1::showRxEventCount(const std::string& text) { Edit7->setText(q(text)); }

void TForm1::setBufferView(const std::string& text) { showBuffer(text); }

void TForm1::showMessage(const std::string& text) {
    flushStatus();
    dialogs().showMessage(this, q(text));
}

void TForm1::setCommandsEnabled(bool enabled) {
    for (QPushButton* b : {Button6, Button10, Button11}) b->setEnabled(enabled);
    showReadUnitEnabled();
}

// ---- Status memo ------------------------------------------------------------

void TForm1::clearStatus() { status->clear(); }
void TForm1::addStatusLine(const std::string& line) { status->addLine(line); }
void TForm1::appendStatusText(const std::string& text) { status->append(text); }
void TForm1::flushStatus() { status->flush(); }

}  // namespace tv
