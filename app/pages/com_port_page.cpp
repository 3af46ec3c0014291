#include "app/pages/com_port_page.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>

#include "app/pages/form_controls.h"
#include "app/pages/port_combo_box.h"

namespace tv {

namespace {

// Item data of a found port: its name and its USB serial number, kept as the
// bytes they came as: a name read from the settings file that is not UTF-8 is
// opened and written back as it stands (only the item's text shows it mended).
constexpr int kNameRole = Qt::UserRole;
constexpr int kSerialRole = Qt::UserRole + 1;
// Set on a port typed by the operator: it stays plain, never "(not present)",
// since what opens it is the name itself, listed or not.
constexpr int kTypedRole = Qt::UserRole + 2;

QString q(const std::string& text) { return QString::fromStdString(text); }
QByteArray bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

RememberedPort portOfItem(const QComboBox* box, int index) {
    return {box->itemData(index, kNameRole).toByteArray().toStdString(),
            box->itemData(index, kSerialRole).toByteArray().toStdString()};
}

void addPortItem(QComboBox* box, const std::string& text, const RememberedPort& port) {
    box->addItem(q(text));
    const int index = box->count() - 1;
    box->setItemData(index, bytes(port.name), kNameRole);
    box->setItemData(index, bytes(port.serialNumber), kSerialRole);
}

// The port name an item stands for: com1 to com12 are their own text.
QString portNameOfItem(const QComboBox* box, int index) {
    if (index < kFixedPorts) return box->itemText(index);
    return QString::fromStdString(portOfItem(box, index).name);
}

// The item a typed name chooses: one whose whole text it is (the completer
// fills in whole item texts), else one whose port name it is. Plain names
// ("COM3") match without regard to case, as port names do; paths exactly.
int itemOfTypedName(const QComboBox* box, const QString& typed) {
    for (int i = 0; i < box->count(); ++i) {
        if (box->itemText(i) == typed) return i;
    }
    const bool path = typed.contains(QLatin1Char('/')) || typed.contains(QLatin1Char('\\'));
    const Qt::CaseSensitivity cs = path ? Qt::CaseSensitive : Qt::CaseInsensitive;
    for (int i = 0; i < box->count(); ++i) {
        if (portNameOfItem(box, i).compare(typed, cs) == 0) return i;
    }
    return -1;
}

// The whole text of the chosen item, which a narrow box may cut off.
void showChoiceAsToolTip(QComboBox* box) {
    const int i = box->currentIndex();
    box->setToolTip(i < 0 ? QString() : box->itemText(i));
}

// The drop-down list as wide as its longest item; the box keeps its width.
void fitListToItems(QComboBox* box) {
    int widest = 0;
    for (int i = 0; i < box->count(); ++i)
        widest = std::max(widest, box->fontMetrics().horizontalAdvance(box->itemText(i)));
    // Room for the item's margins and the list's scroll bar.
    box->view()->setMinimumWidth(std::max(box->width(), widest + 40));
}

}  // namespace

void ComPortPage::buildComPortPage(QWidget* sheet) {
    QStringList ports;
    for (int i = 1; i <= kFixedPorts; ++i) ports << QStringLiteral("com%1").arg(i);
    auto* portBox = new PortComboBox(sheet);
    portBox->aboutToPopUp = [this] { portListAboutToShow(); };
    ComboBox1 = setUpCombo(portBox, "ComboBox1", ports, 24, 48, 145);
    QObject::connect(ComboBox1, &QComboBox::currentIndexChanged, ComboBox1,
                     [box = ComboBox1] { showChoiceAsToolTip(box); });
    // Typing makes a name the choice only once it is confirmed: Enter or leaving
    // the box (editingFinished), or "Open" (Button1Click). Qt's own Enter may
    // have chosen a matching item already; confirming again only settles the text.
    QObject::connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, ComboBox1,
                     [this] { m_portTyped = true; });
    QObject::connect(ComboBox1->lineEdit(), &QLineEdit::editingFinished, ComboBox1,
                     [this] { confirmTypedPort(); });
    ComboBox2 = makeCombo(sheet, "ComboBox2", {QStringLiteral("9600")}, 176, 48, 145);
    Button1 = makeButton(sheet, "Button1", QStringLiteral("Open"), 376, 32);
    Button2 = makeButton(sheet, "Button2", QStringLiteral("Close"), 376, 72);
    Edit7 = makeEdit(sheet, "Edit7", 184, 88);
    Edit7->hide();
    Memo1 = makeMemo(sheet, "Memo1", 224, 128, 185, 89);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setPlainText(QStringLiteral("Memo1"));
    Memo1->hide();
}

void ComPortPage::showPortOpen(bool open) {
    Button1->setEnabled(!open);
    Button2->setEnabled(open);
}

void ComPortPage::showFoundPorts(const std::vector<FoundPort>& beyond,
                                 const std::optional<RememberedPort>& wanted) {
    QComboBox* box = ComboBox1;
    const int current = box->currentIndex();
    std::optional<RememberedPort> keep = wanted;
    bool typed = false;
    if (!keep && current >= kFixedPorts) {
        keep = portOfItem(box, current);
        typed = box->itemData(current, kTypedRole).toBool();
    }
    {
        // The list is rebuilt behind the choice: only a real change of the
        // choice is announced, below.
        const QSignalBlocker quiet(box);
        const QString editText = box->currentText();
        while (box->count() > kFixedPorts) box->removeItem(box->count() - 1);
        for (const FoundPort& port : beyond)
            addPortItem(box, portItemText(port), {port.name, port.serialNumber});
        if (keep) {
            int index;
            if (auto found = findRememberedPort(beyond, *keep)) {
                index = kFixedPorts + static_cast<int>(*found);
            } else if (typed || portDevicePresent(keep->name, processEnvironment())) {
                addPortItem(box, keep->name, *keep);  // typed, or a device the listing misses
                index = box->count() - 1;
                box->setItemData(index, typed, kTypedRole);
            } else {
                addPortItem(box, absentPortItemText(keep->name), *keep);
                index = box->count() - 1;
            }
            box->setCurrentIndex(index);
        } else if (current < 0) {
            box->setEditText(editText);  // no choice: its text stays as it was
        }
    }
    fitListToItems(box);
    showChoiceAsToolTip(box);
}

void ComPortPage::confirmTypedPort() {
    if (!m_portTyped) return;
    m_portTyped = false;
    QComboBox* box = ComboBox1;
    const QString typed = box->currentText().trimmed();
    int index = box->currentIndex();
    if (!typed.isEmpty()) {
        index = itemOfTypedName(box, typed);
        if (index < 0) {
            // A name of the operator's own, a path used as a path: after the found
            // ports, remembered at close as a found port is.
            const std::string name = typed.toStdString();
            addPortItem(box, name, {name, {}});
            index = box->count() - 1;
            box->setItemData(index, true, kTypedRole);
            fitListToItems(box);
        }
        box->setCurrentIndex(index);
    }
    // An emptied box, or "com3" typed as "COM3 ", shows the choice as listed.
    box->setEditText(index < 0 ? QString() : box->itemText(index));
}

std::string ComPortPage::selectedPortName() const {
    const int i = ComboBox1->currentIndex();
    if (i < 0) return {};
    return i >= kFixedPorts ? portOfItem(ComboBox1, i).name : ComboBox1->itemText(i).toStdString();
}

std::optional<RememberedPort> ComPortPage::chosenFoundPort() const {
    const int i = ComboBox1->currentIndex();
    if (i < kFixedPorts) return std::nullopt;
    return portOfItem(ComboBox1, i);
}

}  // namespace tv
