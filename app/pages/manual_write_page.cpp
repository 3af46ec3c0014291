#include "app/pages/manual_write_page.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/pages/form_controls.h"
#include "app/pages/room_for_text.h"
#include "app/radio_group.h"

namespace tv {

void ManualWritePage::buildManualWritePage(QWidget* sheet) {
    QWidget* p = sheet;
    GroupBox1 = place(new QGroupBox(QStringLiteral("Frequency"), p), 0, 8, 241, 129);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    Label1 = makeLabel(GroupBox1, "Label1", QStringLiteral("LocalOutput(MHz)"), 8, 24);
    Edit1 = makeEdit(GroupBox1, "Edit1", 114, 16, 111);
    Label2 = makeLabel(GroupBox1, "Label2", QStringLiteral("Multiplier(Order)"), 8, 48);
    Edit2 = makeEdit(GroupBox1, "Edit2", 114, 40, 111);
    Label3 = makeLabel(GroupBox1, "Label3", QStringLiteral("VCO(MHz)"), 8, 72);
    Label4 = makeLabel(GroupBox1, "Label4", QString(), 114, 72);
    Label5 = makeLabel(GroupBox1, "Label5", QStringLiteral("STD(MHz)"), 8, 96);
    Edit3 = makeEdit(GroupBox1, "Edit3", 114, 88, 111);

    RadioGroup3 = makeRadioGroup(p, OptionGroup::PDPol, 240, 8, 57, 129);
    RadioGroup4 = makeRadioGroup(p, OptionGroup::MUXOut, 296, 8, 141, 129);
    RadioGroup5 = makeRadioGroup(p, OptionGroup::current1, 436, 8, 109, 129);
    RadioGroup1 = makeRadioGroup(p, OptionGroup::LDP, 0, 136, 89, 81);
    RadioGroup7 = makeRadioGroup(p, OptionGroup::AntiBackLash, 96, 136, 89, 81);
    RadioGroup8 = makeRadioGroup(p, OptionGroup::TimerCountCTRL, 184, 136, 225, 81);
    RadioGroup9 = makeRadioGroup(p, OptionGroup::CPOut, 408, 136, 73, 81);
    RadioGroup10 = makeRadioGroup(p, OptionGroup::PSC, 480, 136, 65, 81);

    GroupBox2 = place(new QGroupBox(QStringLiteral("RatioFinder"), p), 0, 216, 193, 129);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    Label6 = makeLabel(GroupBox2, "Label6", QStringLiteral("N Counter"), 8, 18);
    Label9 = makeLabel(GroupBox2, "Label9", QString(), 72, 18);
    Label17 = makeLabel(GroupBox2, "Label17", QStringLiteral("A Counter"), 8, 34);
    Label18 = makeLabel(GroupBox2, "Label18", QString(), 72, 34);
    Label19 = makeLabel(GroupBox2, "Label19", QStringLiteral("B Counter"), 8, 50);
    Label20 = makeLabel(GroupBox2, "Label20", QString(), 72, 50);
    Label7 = makeLabel(GroupBox2, "Label7", QStringLiteral("R Counter"), 8, 66);
    Label10 = makeLabel(GroupBox2, "Label10", QString(), 72, 66);
    Label8 = makeLabel(GroupBox2, "Label8", QStringLiteral("PD(kHz)"), 8, 82);
    Label11 = makeLabel(GroupBox2, "Label11", QString(), 72, 82);
    Button3 = makeButton(GroupBox2, "Button3", QStringLiteral("prev"), 8, 96, 49, 25);
    Button4 = makeButton(GroupBox2, "Button4", QStringLiteral("serch"), 64, 96, 49, 25);
    Button5 = makeButton(GroupBox2, "Button5", QStringLiteral("reset"), 120, 96, 49, 25);

    // The finder shows up to 15 significant digits and a separator.
    const QString widestValue = QStringLiteral("8888.88888888888");
    reserveRoomFor(Label4, widestValue);
    reserveRoomFor(Label11, widestValue);

    GroupBox3 = place(new QGroupBox(QStringLiteral("Result"), p), 192, 216, 177, 129);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    Label14 = makeLabel(GroupBox3, "Label14", QStringLiteral("1.InitReg"), 8, 32);
    Edit6 = makeEdit(GroupBox3, "Edit6", 70, 24, 99);
    Label12 = makeLabel(GroupBox3, "Label12", QStringLiteral("2.RefReg"), 8, 56);
    Edit4 = makeEdit(GroupBox3, "Edit4", 70, 48, 99);
    Label13 = makeLabel(GroupBox3, "Label13", QStringLiteral("3.NReg"), 8, 80);
    Edit5 = makeEdit(GroupBox3, "Edit5", 70, 72, 99);
    Label21 = makeLabel(GroupBox3, "Label21", QStringLiteral("4.FuncReg"), 8, 104);
    Edit9 = makeEdit(GroupBox3, "Edit9", 70, 96, 99);

    RadioGroup2 = makeRadioGroup(p, OptionGroup::MemoryChannel, 368, 224, 97, 121);
    Button14 = makeButton(p, "Button14", QStringLiteral("set"), 472, 232);
    Button6 = makeButton(p, "Button6", QStringLiteral("Write"), 472, 272);
    Button15 = makeButton(p, "Button15", QStringLiteral("save"), 472, 312);
}

QLabel* ManualWritePage::finderLabel(FinderLabel label) const {
    switch (label) {
        case FinderLabel::VCO:
            return Label4;
        case FinderLabel::PD:
            return Label11;
        case FinderLabel::N:
            return Label9;
        case FinderLabel::R:
            return Label10;
        case FinderLabel::A:
            return Label18;
        case FinderLabel::B:
            return Label20;
    }
    return Label4;
}

QLineEdit* ManualWritePage::resultEdit(ResultEdit edit) const {
    switch (edit) {
        case ResultEdit::RefReg:
            return Edit4;
        case ResultEdit::NReg:
            return Edit5;
        case ResultEdit::InitReg:
            return Edit6;
        case ResultEdit::FuncReg:
            return Edit9;
    }
    return Edit4;
}

}  // namespace tv
