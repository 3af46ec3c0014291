#include "app/pages/form_controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "app/qt_text.h"
#include "app/radio_group.h"

namespace tv {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(left, top);
    l->adjustSize();
    return l;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width, int height) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return place(b, left, top, width, height);
}

QLineEdit* makeEdit(QWidget* parent, const char* name, int left, int top, int width, int height) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return place(e, left, top, width, height);
}

QPlainTextEdit* makeMemo(QWidget* parent, const char* name, int left, int top, int width,
                         int height) {
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(QString::fromLatin1(name));
    m->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    return place(m, left, top, width, height);
}

RadioGroup* makeRadioGroup(QWidget* parent, OptionGroup group, int left, int top, int width,
                           int height) {
    const RadioGroupRow& row = radioGroupRow(group);
    QStringList items;
    for (std::string_view item : row.items) items << qView(item);
    auto* g = new RadioGroup(qView(row.caption), items, row.columns, parent);
    g->setObjectName(qView(row.objectName));
    place(g, left, top, width, height);
    g->setItemIndex(row.initialIndex);
    return g;
}

QComboBox* makeCombo(QWidget* parent, const char* name, const QStringList& items, int left, int top,
                     int width) {
    return setUpCombo(new QComboBox(parent), name, items, left, top, width);
}

QComboBox* setUpCombo(QComboBox* c, const char* name, const QStringList& items, int left, int top,
                      int width) {
    c->setObjectName(QString::fromLatin1(name));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->addItems(items);
    c->setCurrentIndex(-1);
    c->setEditText(QString::fromLatin1(name));  // the designer's initial text
    c->move(left, top);
    c->resize(width, c->sizeHint().height());
    return c;
}

}  // namespace tv
