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

// Item data of a found port: its name and its USB serial number.
constexpr int kNameRole = Qt::UserRole;
constexpr int kSerialRole = Qt::UserRole + 1;

QString q(const std::string& text) { return QString::fromStdString(text); }

RememberedPort portOfItem(const QComboBox* box, int index) {
    return {box->itemData(index, kNameRole).toString().toStdString(),
            box->itemData(index, kSerialRole).toString().toStdString()};
}

void addPortItem(QComboBox* box, const std::string& text, const RememberedPort& port) {
    box->addItem(q(text));
    const int index = box->count() - 1;
    box->setItemData(index, q(port.name), kNameRole);
    box->setItemData(index, q(port.serialNumber), kSerialRole);
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
    if (!keep && current >= kFixedPorts) keep = portOfItem(box, current);
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

std::string ComPortPage::selectedPortName() const {
    const int i = ComboBox1->currentIndex();
    if (i < 0) return {};
    if (i >= kFixedPorts) return portOfItem(ComboBox1, i).name;
    return ComboBox1->itemText(i).toStdString();
}

std::optional<RememberedPort> ComPortPage::chosenFoundPort() const {
    const int i = ComboBox1->currentIndex();
    if (i < kFixedPorts) return std::nullopt;
    return portOfItem(ComboBox1, i);
}

}  // namespace tv
