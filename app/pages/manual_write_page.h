#pragma once
// The Manual Write page: the frequency fields, the option groups, the ratio
// finder's counters and buttons, the four result registers, the memory channel
// and the set, Write and save buttons.
#include "synth/finder_view.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tv {

class RadioGroup;

class ManualWritePage {
public:
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9,
        *Label10, *Label11, *Label12, *Label13, *Label14, *Label17, *Label18, *Label19, *Label20,
        *Label21;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit9;
    RadioGroup *RadioGroup1, *RadioGroup2, *RadioGroup3, *RadioGroup4, *RadioGroup5, *RadioGroup7,
        *RadioGroup8, *RadioGroup9, *RadioGroup10;
    QPushButton *Button3, *Button4, *Button5, *Button6, *Button14, *Button15;

protected:
    // Builds the page's controls on its sheet.
    void buildManualWritePage(QWidget* sheet);
    // The label that shows a finder figure, the edit that shows a register.
    QLabel* finderLabel(FinderLabel label) const;
    QLineEdit* resultEdit(ResultEdit edit) const;
};

}  // namespace tv
