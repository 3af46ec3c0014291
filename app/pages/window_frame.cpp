#include "app/pages/window_frame.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>

#include "app/pages/form_controls.h"
#include "app/radio_group.h"

namespace tv {

void WindowFrame::buildFrame(QWidget* form) {
    PageControl1 = place(new QTabWidget(form), 0, 0, 561, 377);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet1, QStringLiteral("LowLevelCommand"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Manual Write"));
    PageControl1->addTab(TabSheet3, QStringLiteral("ComPort"));

    RadioGroup6 = makeRadioGroup(form, OptionGroup::Variant, 0, 384, 113, 49);
    Memo2 = makeMemo(form, "Memo2", 112, 384, 257, 49);
    status = std::make_unique<StatusMemo>(Memo2);
    Label16 = makeLabel(form, "Label16", QStringLiteral("Tarvex Configurator"), 376, 384);
    BitBtn1 = makeButton(form, "BitBtn1", QStringLiteral("Close(&C)"), 480, 408);
    BitBtn1->setIcon(form->style()->standardIcon(QStyle::SP_DialogCloseButton));
}

}  // namespace tv
