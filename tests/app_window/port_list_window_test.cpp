// The port list on the ComPort page as a user with a USB adapter meets it:
// com1 to com12 first, the machine's other ports after them, read again when
// the list drops down and before every open, and remembered across a restart.
#include <QAbstractItemView>
#include <filesystem>

#include "app/port_listing.h"
#include "ports/port_choices.h"
#include "serial/rs232c.h"
#include "tests/support/window_fixture.h"

namespace tv::testing {
namespace {

// The machine's ports as the test sets them.
class FedPortLister : public PortLister {
public:
    explicit FedPortLister(std::shared_ptr<std::vector<FoundPort>> ports)
        : m_ports(std::move(ports)) {}
    std::vector<FoundPort> list() override { return *m_ports; }

private:
    std::shared_ptr<std::vector<FoundPort>> m_ports;
};

class PortListWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        installPortLister(std::make_unique<FedPortLister>(m_ports));
    }
    void TearDown() override {
        WindowTest::TearDown();
        installPortLister(nullptr);
    }
    // An adapter whose name leads nowhere, so an open of it fails plainly.
    FoundPort adapter(const std::string& leaf, const std::string& serial) const {
        return {(m_dir / leaf).string(),
                "/dev/ttyUSB7",
                "FT232R USB UART",
                "FTDI",
                0x0403,
                0x6001,
                serial};
    }
    QComboBox* ports() const { return control<QComboBox>("ComboBox1"); }
    void dropDown() {
        ports()->showPopup();
        ports()->hidePopup();
    }
    std::string itemText(int i) const { return ports()->itemText(i).toStdString(); }
    std::string rs232c1Name() const { return m_form->rs232c1().portname; }
    std::string lastStatusLine() const {
        return memoLines(control<QPlainTextEdit>("Memo2")).back();
    }

    std::shared_ptr<std::vector<FoundPort>> m_ports = std::make_shared<std::vector<FoundPort>>();
};

TEST_F(PortListWindowTest, AnAdapterAppearsIsChosenRememberedAndGoesAway) {
    start();
    ASSERT_EQ(ports()->count(), 12);
    EXPECT_EQ(itemText(11), "com12");

    // Plugged in after the start: there once the list drops down, told apart
    // from another adapter by its maker and serial number.
    const FoundPort first = adapter("usb-FTDI_A600XYZ", "A600XYZ");
    *m_ports = {first, adapter("usb-FTDI_B7", "B7")};
    dropDown();
    ASSERT_EQ(ports()->count(), 14);
    EXPECT_EQ(itemText(12), first.name + "  (FT232R USB UART, FTDI, S/N A600XYZ)");
    const int textWidth = ports()->fontMetrics().horizontalAdvance(ports()->itemText(12));
    EXPECT_GE(ports()->view()->minimumWidth(), textWidth);
    EXPECT_EQ(ports()->width(), 145);

    // Chosen and opened: the component gets the port name, not the description.
    ports()->setCurrentIndex(12);
    EXPECT_EQ(ports()->toolTip(), ports()->itemText(12));
    m_boxes->messages.clear();
    click(control<QPushButton>("Button1"));
    EXPECT_EQ(rs232c1Name(), first.name);
    EXPECT_EQ(m_boxes->messages, std::vector<std::string>{"Error"});
    EXPECT_NE(lastStatusLine().find(first.name), std::string::npos) << lastStatusLine();

    // Remembered by name and serial number beside portname.
    ASSERT_TRUE(closeWindow());
    EXPECT_NE(readFile("TVCONFIG.INI").find("portname=12\ndevice=" + first.name + ";A600XYZ\n"),
              std::string::npos)
        << readFile("TVCONFIG.INI");

    // After a restart the same adapter under another name (Windows gave it
    // another number), behind a new one: found by its serial number.
    const FoundPort moved = adapter("usb-FTDI_A600XYZ-renamed", "A600XYZ");
    *m_ports = {adapter("usb-other", "C9"), moved};
    start();
    EXPECT_EQ(ports()->currentIndex(), 13);
    EXPECT_EQ(itemText(13).rfind(moved.name, 0), 0u);

    // Pulled out: it stays while it is the choice, marked, and its open fails.
    *m_ports = {adapter("usb-other", "C9")};
    m_boxes->messages.clear();
    click(control<QPushButton>("Button1"));
    EXPECT_EQ(ports()->currentIndex(), 13);
    EXPECT_EQ(itemText(13), moved.name + "  (not present)");
    EXPECT_EQ(rs232c1Name(), moved.name);
    EXPECT_EQ(m_boxes->messages, std::vector<std::string>{"Error"});

    // Once another port is chosen it leaves the list.
    ports()->setCurrentIndex(2);
    dropDown();
    EXPECT_EQ(ports()->count(), 13);
    EXPECT_EQ(ports()->currentText().toStdString(), "com3");
}

TEST_F(PortListWindowTest, ARememberedNameThatIsNotUtf8IsKeptByteForByte) {
    const std::string entry = "portname=12\ndevice=tty\xff\xfe;SN\xe9\n";
    writeFile("TVCONFIG.INI", "[rs232c1]\n" + entry);
    start();
    EXPECT_EQ(rs232c1Name(), "tty\xff\xfe");
    ASSERT_TRUE(closeWindow());
    EXPECT_NE(readFile("TVCONFIG.INI").find(entry), std::string::npos);
}

#ifndef _WIN32  // device paths and links as Linux names them
TEST_F(PortListWindowTest, OlderFilesAndTheTwelveMeanWhatTheyMeant) {
    // A port the twelve already name is not offered twice; portname=12 without
    // a device entry still leaves no port chosen, whatever the list holds.
    // com2 is the adapter's node; the list names it by a link to that node.
    writeFile("ttyUSB0", "");
    std::filesystem::create_symlink(m_dir / "ttyUSB0", m_dir / "by-id-link");
    qputenv("TVCONFIG_COM2", (m_dir / "ttyUSB0").string().c_str());
    *m_ports = {{(m_dir / "by-id-link").string(), "/dev/ttyUSB0", "", "", {}, {}, ""},
                {"/dev/ttyS4", "/dev/ttyS4", "", "", {}, {}, ""},
                adapter("usb-new", "N1")};
    writeFile("TVCONFIG.INI", "[rs232c1]\r\nportname=12\r\n");
    start();
    qunsetenv("TVCONFIG_COM2");
    EXPECT_EQ(ports()->count(), 13);
    EXPECT_EQ(itemText(12).rfind(adapter("usb-new", "N1").name, 0), 0u);
    EXPECT_EQ(ports()->currentIndex(), -1);
    EXPECT_EQ(rs232c1Name(), "");
}

// tvprog's log names the adapter behind a port by the serial number the listing
// knows: found by its listed name, its device, a link to it, or comN mapped to it.
TEST(FoundPortOpenedBy, FindsTheAdapterByAnyOfItsNames) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "tv_port_names";
    std::filesystem::create_directories(dir);
    std::filesystem::remove(dir / "by-id");
    std::filesystem::create_symlink("/dev/null", dir / "by-id");
    const std::vector<FoundPort> found = {
        {"/dev/ttyS9", "/dev/ttyS9", "", "", {}, {}, ""},
        {(dir / "by-id").string(), "/dev/null", "FT232R", "FTDI", 0x0403, 0x6001, "A600XYZ"},
    };
    const EnvLookup env = [](const std::string& name) -> std::optional<std::string> {
        if (name == "TVCONFIG_COM3") return std::string("/dev/null");
        return std::nullopt;
    };
    const struct {
        const char* port;
        const char* serial;  // nullptr: no port found
    } rows[] = {
        {"/dev/null", "A600XYZ"},  // the device itself
        {"com3", "A600XYZ"},       // comN mapped to it
        {"com10", ""},             // /dev/ttyS9: listed, no number
        {"/dev/ttyUSB5", nullptr},
        {"com4", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.port);
        const auto port = foundPortOpenedBy(row.port, found, env);
        ASSERT_EQ(port.has_value(), row.serial != nullptr);
        if (port) {
            EXPECT_EQ(port->serialNumber, row.serial);
        }
    }
    EXPECT_EQ(foundPortOpenedBy((dir / "by-id").string(), found, env)->serialNumber, "A600XYZ");
    std::filesystem::remove_all(dir);
}
#endif

}  // namespace
}  // namespace tv::testing
