#include "app/Unit1.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTextCursor>
#include <filesystem>

#include "app/dialogs.h"
#include "app/error_guard.h"
#include "app/qt_event_waiter.h"
#include "app/qt_text.h"
#include "app/radio_group.h"
#include "serial/rs232c.h"

namespace tv {

namespace {

// Places a control at left, top, width x height (96 dpi pixels) in its parent.
template <typename W>
W* place(W* w, int left, int top, int width, int height) {
    w->setGeometry(left, top, width, height);
    return w;
}

// A label sized to its caption, as an auto-sized label is.
QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int left, int top) {
    auto* l = new QLabel(caption, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->move(left, top);
    l->adjustSize();
    return l;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption, int left,
                        int top, int width = 75, int height = 25) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    return place(b, left, top, width, height);
}

QLineEdit* makeEdit(QWidget* parent, const char* name, int left, int top, int width = 121,
                    int height = 20) {
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

// An option group as the options table describes it, at its place on the form.
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
    auto* c = new QComboBox(parent);
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

QFont windowFont() {
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(12);
    return f;
}

QFont fixedPitchFont() {
    QFont f(QStringLiteral("IPAGothic"));
    f.setPixelSize(12);
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    return f;
}

}  // namespace

TForm1::TForm1(std::unique_ptr<SerialOs> serialOs, QWidget* parent)
    : QWidget(parent),
      m_clock(std::make_unique<SystemClock>()),
      m_finder(*this, CurrentR, latchSet) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Tarvex-D tpye1 Configurator  V1.0"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(windowFont());
    setFixedSize(562, 444);
    move(200, 98);
    buildControls();
    createPort(std::move(serialOs));
    connectHandlers();
    guard([this] { FormCreate(); });
}

TForm1::~TForm1() {
    // Destroying the component closes the port if it is still open; the link and
    // the waiter it calls into go after it.
    m_rs232c1.reset();
}

template <typename Fn>
void TForm1::guard(Fn&& fn) {
    guarded(this, std::forward<Fn>(fn));
}

void TForm1::buildControls() {
    PageControl1 = place(new QTabWidget(this), 0, 0, 561, 377);
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

    RadioGroup6 = makeRadioGroup(this, OptionGroup::Variant, 0, 384, 113, 49);
    Memo2 = makeMemo(this, "Memo2", 112, 384, 257, 49);
    Label16 = makeLabel(this, "Label16", QStringLiteral("Tarvex Configurator"), 376, 384);
    BitBtn1 = makeButton(this, "BitBtn1", QStringLiteral("Close(&C)"), 480, 408);
    BitBtn1->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));

    buildLowLevelPage();
    buildManualWritePage();
    buildComPortPage();
    PageControl1->setCurrentWidget(TabSheet2);
}

void TForm1::buildLowLevelPage() {
    QWidget* p = TabSheet1;
    Button7 = makeButton(p, "Button7", QStringLiteral("Erase A"), 24, 24);
    Button8 = makeButton(p, "Button8", QStringLiteral("Erase B"), 24, 64);
    Button9 = makeButton(p, "Button9", QStringLiteral("Erase AB"), 24, 104);
    Button10 = makeButton(p, "Button10", QStringLiteral("Initialize"), 24, 144);
    Button11 = makeButton(p, "Button11", QStringLiteral("Dump"), 24, 184);
    Memo3 = makeMemo(p, "Memo3", 144, 24, 401, 265);
    Memo3->setFont(fixedPitchFont());
    Memo3->setLineWrapMode(QPlainTextEdit::NoWrap);
    Button13 = makeButton(p, "Button13", QStringLiteral("View Buffer"), 376, 304);
    Edit8 = makeEdit(p, "Edit8", 16, 304);
    Edit8->hide();
    Button12 = makeButton(p, "Button12", QStringLiteral("send"), 152, 304);
    Button12->hide();
}

void TForm1::buildManualWritePage() {
    QWidget* p = TabSheet2;
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
    for (QLineEdit* e : {Edit4, Edit5, Edit6, Edit9}) e->setFont(fixedPitchFont());

    RadioGroup2 = makeRadioGroup(p, OptionGroup::MemoryChannel, 368, 224, 97, 121);
    Button14 = makeButton(p, "Button14", QStringLiteral("set"), 472, 232);
    Button6 = makeButton(p, "Button6", QStringLiteral("Write"), 472, 272);
    Button15 = makeButton(p, "Button15", QStringLiteral("save"), 472, 312);
}

void TForm1::buildComPortPage() {
    QWidget* p = TabSheet3;
    QStringList ports;
    for (int i = 1; i <= 12; ++i) ports << QStringLiteral("com%1").arg(i);
    ComboBox1 = makeCombo(p, "ComboBox1", ports, 24, 48, 145);
    ComboBox2 = makeCombo(p, "ComboBox2", {QStringLiteral("9600")}, 176, 48, 145);
    Button1 = makeButton(p, "Button1", QStringLiteral("Open"), 376, 32);
    Button2 = makeButton(p, "Button2", QStringLiteral("Close"), 376, 72);
    Edit7 = makeEdit(p, "Edit7", 184, 88);
    Edit7->hide();
    Memo1 = makeMemo(p, "Memo1", 224, 128, 185, 89);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setPlainText(QStringLiteral("Memo1"));
    Memo1->hide();
}

void TForm1::connectHandlers() {
    auto on = [this](QPushButton* b, void (TForm1::*handler)()) {
        connect(b, &QPushButton::clicked, this,
                [this, handler] { guard([&] { (this->*handler)(); }); });
    };
    on(Button1, &TForm1::Button1Click);
    on(Button2, &TForm1::Button2Click);
    on(Button3, &TForm1::Button3Click);
    on(Button4, &TForm1::Button4Click);
    on(Button5, &TForm1::Button5Click);
    on(Button6, &TForm1::Button6Click);
    on(Button10, &TForm1::Button10Click);
    on(Button11, &TForm1::Button11Click);
    on(Button12, &TForm1::Button12Click);
    on(Button13, &TForm1::Button13Click);
    on(Button14, &TForm1::Button14Click);
    on(Button15, &TForm1::Button15Click);
    // A button of the close kind closes the window it sits on.
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::close);
    for (QLineEdit* e : {Edit1, Edit2, Edit3, Edit8}) e->installEventFilter(this);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease &&
        (watched == Edit1 || watched == Edit2 || watched == Edit3)) {
        // Any key released in a frequency field resets the finder, whatever the key.
        guard([this] { CaptionInit(); });
    } else if (event->type() == QEvent::KeyPress && watched == Edit8) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (!typed.isEmpty()) guard([&] { Edit8KeyPress(typed); });
    }
    return QWidget::eventFilter(watched, event);
}

// ---- Start-up and shutdown -------------------------------------------------

void TForm1::FormCreate() {
    CurrentR = 0;
    CaptionInit();
    Memo3->clear();
    loadSettings();
    addStatusLine("Welcome to Tarvex Configurator.");
    openPort();  // the start-up open: nothing to close yet
}

bool TForm1::FormClose() {
    saveSettings();  // a failed write throws and leaves the port open
    rs232c1().close();
    return true;
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (m_link->busy()) {
        // A command is waiting for the unit: let it stop first, then close for real.
        m_closeAfterCommand = true;
        m_waiter->requestShutdown();
        event->ignore();
        return;
    }
    m_closeAfterCommand = false;
    bool closed = false;
    guard([&] { closed = FormClose(); });
    if (closed) {
        event->accept();
    } else {
        m_waiter->cancelShutdown();
        event->ignore();
    }
}

std::string TForm1::currentDirectory() const {
    std::error_code ec;
    const auto dir = std::filesystem::current_path(ec);
    return ec ? std::string(".") : dir.string();
}

// ---- Ratio finder ----------------------------------------------------------

void TForm1::CaptionInit() { m_finder.captionInit(); }
void TForm1::Button4Click() { m_finder.search(); }
void TForm1::Button3Click() { m_finder.prev(); }
void TForm1::Button5Click() { CaptionInit(); }

std::string TForm1::localOutputText() const { return s(Edit1->text()); }
std::string TForm1::multiplierText() const { return s(Edit2->text()); }
std::string TForm1::stdText() const { return s(Edit3->text()); }

RadioGroup* TForm1::radioGroup(OptionGroup group) const {
    return findChild<RadioGroup*>(qView(radioGroupRow(group).objectName));
}

SynthOptions TForm1::options() const {
    SynthOptions o;
    for (const RadioGroupRow& row : kRadioGroups) o[row.group] = radioGroup(row.group)->itemIndex();
    return o;
}

std::string TForm1::decimalSeparator() const { return s(QLocale::system().decimalPoint()); }

void TForm1::setSearchCaption(const std::string& caption) { Button4->setText(q(caption)); }

QLabel* TForm1::finderLabel(FinderLabel label) const {
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

void TForm1::setLabel(FinderLabel label, const std::string& text) {
    QLabel* l = finderLabel(label);
    l->setText(q(text));
    l->adjustSize();
}

QLineEdit* TForm1::resultEdit(ResultEdit edit) const {
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

void TForm1::setResult(ResultEdit edit, const std::string& text) {
    resultEdit(edit)->setText(q(text));
}

void TForm1::setEnabled(FinderControl control, bool enabled) {
    switch (control) {
        case FinderControl::Search:
            Button4->setEnabled(enabled);
            break;
        case FinderControl::Prev:
            Button3->setEnabled(enabled);
            break;
        case FinderControl::Reset:
            Button5->setEnabled(enabled);
            break;
        case FinderControl::MemoryChannel:
            RadioGroup2->setEnabled(enabled);
            break;
        case FinderControl::Variant:
            RadioGroup6->setEnabled(enabled);
            break;
    }
}

// ---- Channel table and header ---------------------------------------------

void TForm1::Button14Click() {
    setChannel(channelTable, RadioGroup2->itemIndex(), latchSet, s(Edit1->text()), s(Edit3->text()),
               s(Label11->text()), RadioGroup5->itemIndex());
}

void TForm1::Button15Click() { exportHeader(channelTable, currentDirectory(), *m_clock); }

// ---- Combo boxes -----------------------------------------------------------

void TForm1::setComboIndex(QComboBox* box, int index) {
    if (index == box->currentIndex()) return;
    if (index < 0 || index >= box->count()) index = -1;
    box->setCurrentIndex(index);
    if (index == -1) box->setEditText(QString());
}

QString TForm1::selectedText(const QComboBox* box) {
    const int i = box->currentIndex();
    return i < 0 ? QString() : box->itemText(i);
}

}  // namespace tv
