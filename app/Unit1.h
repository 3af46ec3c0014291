#pragma once
// The main window: every control of the configurator and the handlers behind them.
// The handlers are thin: they read control texts and indices, call into the synth,
// device and serial rooms with plain values, and show what comes back.
#include <QString>
#include <QStringList>
#include <QWidget>
#include <cstdint>
#include <ctime>
#include <memory>
#include <optional>
#include <span>

#include "app/pages/channels_page.h"
#include "app/pages/com_port_page.h"
#include "app/pages/low_level_command_page.h"
#include "app/pages/manual_write_page.h"
#include "app/pages/window_frame.h"
#include "device/channel_image.h"
#include "device/channel_table.h"
#include "device/device_link.h"
#include "device/header_export.h"
#include "device/read_back_watch.h"
#include "device/serial_port_binding.h"
#include "serial/serial_os.h"
#include "synth/finder_view.h"
#include "synth/ratio_finder.h"
#include "synth/synth_options.h"

class QComboBox;

namespace tv {

struct ChannelLoad;
class SerialOs;
class Trs232c;
class QtEventWaiter;

// The window owns the state; the frame and the page classes build its controls
// and lend it their named members.
class TForm1 : public QWidget,
               public WindowFrame,
               public LowLevelCommandPage,
               public ManualWritePage,
               public ComPortPage,
               public ChannelsPage,
               private FinderView,
               private DeviceView {
    Q_OBJECT
public:
    // Runs FormCreate, the start-up open included, before the window is shown.
    // The serial component talks to the real platform unless tests hand in
    // another OS-call layer.
    explicit TForm1(std::unique_ptr<SerialOs> serialOs = nullptr, QWidget* parent = nullptr);
    ~TForm1() override;

    // The controls, named as on the form, are the frame's and the pages' members.

    // Own state of the window; the receive state lives in the device link.
    int32_t CurrentR = 0;
    LatchSet latchSet;
    ChannelTable channelTable;

    // The serial component, created and destroyed with the window.
    Trs232c& rs232c1() { return *m_rs232c1; }
    DeviceLink& deviceLink() { return *m_link; }

    // The header export's clock; tests fix it.
    void setClock(std::unique_ptr<Clock> clock) { m_clock = std::move(clock); }

    // Shows the window once its start-up has run, unless the program was asked to
    // end meanwhile (close_request.h): then it saves the settings if it can,
    // releases the port and returns false, the window never shown.
    bool showAfterStartUp();

    // Handlers.
    void FormCreate();
    bool FormClose();  // false when the window has to stay open
    void CaptionInit();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void Button10Click();
    void Button11Click();
    void Button12Click();
    void Button13Click();
    void Button14Click();
    void Button15Click();
    void Edit8KeyPress(const QString& typed);
    // The Channels page.
    void ReadUnitButtonClick();
    void TakeUnitButtonClick();
    void OpenHeaderButtonClick();
    void SaveHeaderAsButtonClick();
    // Headers written by "save" come back into ChannelTable, with what was loaded
    // (or why nothing was) in Memo2: dropped on the window, or named on the command
    // line. main passes the arguments after the program's name, Qt's own options
    // taken out, once FormCreate has run.
    void loadHeaderArguments(const QStringList& arguments);
    void loadDroppedHeaders(const QStringList& paths);
    // The component's events (rs232c1RXCHAR and the others) are bound straight
    // to the device link's handlers of those names; the window only shows.

    // Setting a combo box's index: the value it already has changes nothing; a value
    // outside its list leaves no item selected.
    static void setComboIndex(QComboBox* box, int index);
    // The selected item's text, empty when none is selected.
    static QString selectedText(const QComboBox* box);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void connectHandlers();
    void createPort(std::unique_ptr<SerialOs> os);
    // The line for Memo2 when TVCONFIG.INI could not be read; empty when it was
    // read or is missing.
    std::string loadSettings();
    void saveSettings();
    // After a failed save: whether the window closes all the same.
    bool closeUnsaved(const std::string& error);
    void openPort();  // "Open" after its close; also the start-up open
    // Reads the machine's ports again into ComboBox1; `wanted` is chosen when given.
    void refreshPorts(const std::optional<RememberedPort>& wanted = std::nullopt);
    void portListAboutToShow() override { refreshPorts(); }
    void closeIfAskedDuringCommand();
    std::string currentDirectory() const;

    // FinderView
    std::string localOutputText() const override;
    std::string multiplierText() const override;
    std::string stdText() const override;
    SynthOptions options() const override;
    std::string decimalSeparator() const override;
    void clearStatus() override;
    void addStatusLine(const std::string& line) override;
    void setSearchCaption(const std::string& caption) override;
    void setLabel(FinderLabel label, const std::string& text) override;
    void setResult(ResultEdit edit, const std::string& text) override;
    void setEnabled(FinderControl control, bool enabled) override;

    // DeviceView
    void appendStatusText(const std::string& text) override;
    void showRxEventCount(const std::string& text) override;
    void setBufferView(const std::string& text) override;
    void showMessage(const std::string& text) override;
    void setCommandsEnabled(bool enabled) override;
    void closeLostLine() override;

    void flushStatus();
    void takeChannelLoad(const ChannelLoad& load);
    ChannelGridSource channelGridSource();
    // Read unit is offered while the port is open and no command runs.
    void showReadUnitEnabled();
    // The bytes received since the last Dump or Write.
    std::span<const uint8_t> receivedSinceCommand() const;
    RadioGroup* radioGroup(OptionGroup group) const;
    template <typename Fn>
    void guard(Fn&& fn);

    std::unique_ptr<Clock> m_clock;
    std::unique_ptr<Trs232c> m_rs232c1;
    std::unique_ptr<SerialPortBinding> m_portBinding;
    std::unique_ptr<QtEventWaiter> m_waiter;
    std::unique_ptr<DeviceLink> m_link;
    RatioFinder m_finder;
    bool m_closeAfterCommand = false;
    ReadBackWatch m_readBack;  // the last whole Write, for "View Buffer" after a Dump
    // What the Channels page shows beside the table: the table as the last whole
    // Write sent it, and the unit's memory of the last Read unit whose memory came
    // (with the port and the local time it was read at).
    ChannelTable m_writtenTable;
    std::optional<ChannelImage> m_unitMemory;
    std::string m_unitPort;
    std::tm m_unitReadAt{};
    // Channels set or loaded and neither saved nor written since: replacing them
    // by a unit's asks first.
    bool m_channelsUnsaved = false;
    bool m_readingUnit = false;  // a Read unit collects the unit's reply
};

}  // namespace tv
