#include "app/pages/low_level_command_page.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/pages/form_controls.h"
#include "app/qt_text.h"

namespace tv {

void LowLevelCommandPage::buildLowLevelCommandPage(QWidget* sheet) {
    Button7 = makeButton(sheet, "Button7", QStringLiteral("Erase A"), 24, 24);
    Button8 = makeButton(sheet, "Button8", QStringLiteral("Erase B"), 24, 64);
    Button9 = makeButton(sheet, "Button9", QStringLiteral("Erase AB"), 24, 104);
    Button10 = makeButton(sheet, "Button10", QStringLiteral("Initialize"), 24, 144);
    Button11 = makeButton(sheet, "Button11", QStringLiteral("Dump"), 24, 184);
    Memo3 = makeMemo(sheet, "Memo3", 144, 24, 401, 265);
    Memo3->setLineWrapMode(QPlainTextEdit::NoWrap);
    Button13 = makeButton(sheet, "Button13", QStringLiteral("View Buffer"), 376, 304);
    Edit8 = makeEdit(sheet, "Edit8", 16, 304);
    Edit8->hide();
    Button12 = makeButton(sheet, "Button12", QStringLiteral("send"), 152, 304);
    Button12->hide();
}

void LowLevelCommandPage::showBuffer(const std::string& text) {
    // The memo keeps one line break per row.
    QString shown = q(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Memo3->setPlainText(shown);
}

}  // namespace tv
