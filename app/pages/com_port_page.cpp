#include "app/pages/com_port_page.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/pages/form_controls.h"

namespace tv {

void ComPortPage::buildComPortPage(QWidget* sheet) {
    QStringList ports;
    for (int i = 1; i <= 12; ++i) ports << QStringLiteral("com%1").arg(i);
    ComboBox1 = makeCombo(sheet, "ComboBox1", ports, 24, 48, 145);
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

}  // namespace tv
