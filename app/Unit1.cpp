#include "app/Unit1.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTabWidget>
#include <cstdio>
#include <filesystem>

#include "app/close_request.h"
#include "app/dialogs.h"
#include "app/error_guard.h"
#include "app/header_drop.h"
#include "app/pages/reading_order.h"
#include "app/pages/room_for_text.h"
#include "app/qt_event_waiter.h"
#include "app/qt_text.h"
#include "app/radio_group.h"
#include "app/window_fonts.h"
#include "os/error_box.h"
#include "serial/rs232c.h"
#include "synth/counter_rules.h"

namespace tv {

namespace {

// Runs a click of the finder; after a match whose counters the chip cannot
// divide by, one line in the status memo says which rule they break and which
// other PSC item would do. The finder's own texts stay as they are. A match
// whose encoding then fails (a negative N) gets its line too, before the error
// box, which says only that the counter does not fit its field.
void clickFinder(RatioFinder& finder, FinderOutcome (RatioFinder::*click)(), FinderView& view) {
    const auto noteBrokenRules = [&] {
        const RatioMatch* m = finder.clickMatch();
        if (m == nullptr) return;
        const std::string line = counterRuleLine(view.options(), m->r, m->n, m->a, m->b);
        if (!line.empty()) view.addStatusLine(line);
    };
    try {
        (finder.*click)();
    } catch (...) {
        noteBrokenRules();
        throw;
    }
    noteBrokenRules();
}

QFont windowFont() {
    QFont f(windowFontFamilies().proportional);
    f.setPixelSize(12);
    return f;
}

QFont fixedPitchFont() {
    QFont f(windowFontFamilies().fixedPitch);
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
    move(200, 98);
    buildControls();
    createPort(std::move(serialOs));
    connectHandlers();
    new HeaderDrop(this, [this](const QStringList& paths) { loadDroppedHeaders(paths); });
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
    buildFrame(this);
    buildLowLevelCommandPage(TabSheet1);
    buildManualWritePage(TabSheet2);
    buildComPortPage(TabSheet3);
    buildChannelsPage(PageControl1, channelGridSource());
    for (QWidget* w : std::initializer_list<QWidget*>{Memo3, Edit4, Edit5, Edit6, Edit9})
        w->setFont(fixedPitchFont());
    PageControl1->setCurrentWidget(TabSheet2);
    // The client area of the form, grown where the fonts need more room.
    setFixedSize(QSize(562, 444) + growToTexts(this));
    orderTabsByReading(this);
    nameFieldsByLabels(this);
    // Ctrl+Tab changes page from any control, those outside the pages included.
    const auto turnPage = [this](int step) {
        const int n = PageControl1->count();
        PageControl1->setCurrentIndex((PageControl1->currentIndex() + step + n) % n);
    };
    connect(new QShortcut(QKeySequence::NextChild, this), &QShortcut::activated, this,
            [turnPage] { turnPage(1); });
    connect(new QShortcut(QKeySequence::PreviousChild, this), &QShortcut::activated, this,
            [turnPage] { turnPage(-1); });
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
    on(ReadUnitButton, &TForm1::ReadUnitButtonClick);
    on(TakeUnitButton, &TForm1::TakeUnitButtonClick);
    on(OpenHeaderButton, &TForm1::OpenHeaderButtonClick);
    on(SaveHeaderAsButton, &TForm1::SaveHeaderAsButtonClick);
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
    const std::string unreadable = loadSettings();
    showChannels();  // the grid's columns follow the variant the settings gave
    addStatusLine("Welcome to Tarvex Configurator.");
    if (!unreadable.empty()) addStatusLine(unreadable);
    openPort();  // the start-up open: nothing to close yet
}

bool TForm1::showAfterStartUp() {
    if (closeRequested()) {
        // Asked to end during the start-up (its "Error" box, say): end as a close
        // would, without ever showing the window.
        guard([this] { FormClose(); });
        return false;
    }
    show();
    return true;
}

bool TForm1::FormClose() {
    std::string failure;
    try {
        saveSettings();
    } catch (const std::exception& e) {
        failure = e.what();
    }
    // A failed save keeps the window open with the port open, unless the settings
    // are given up knowingly or the program was asked to end.
    if (!failure.empty() && !closeUnsaved(failure)) return false;
    rs232c1().close();
    return true;
}

bool TForm1::closeUnsaved(const std::string& error) {
    if (closeRequested()) {
        // A signal or the end of the session: no one may be there to answer a box,
        // and the program must end all the same. The terminal, if any, is told.
        std::fprintf(stderr, "tvconfig: %s The settings were not saved.\n",
                     errorBoxText(error).c_str());
        return true;
    }
    return dialogs().askCloseWithoutSaving(this, q(errorBoxText(error))) || closeRequested();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (m_link->busy() || m_readingUnit) {
        // A command is waiting for the unit: let it stop first, then close for real.
        // Asked to end from outside, save now: the end of a session does not wait
        // for the command to stop.
        if (closeRequested()) {
            try {
                saveSettings();
            } catch (const std::exception&) {
                // The close after the command tries again and says so.
            }
        }
        m_closeAfterCommand = true;
        m_waiter->requestShutdown();
        event->ignore();
        return;
    }
    m_closeAfterCommand = false;
    bool closed = false;
    guard([&] { closed = FormClose(); });
    if (closed || closeRequested()) {
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
void TForm1::Button4Click() { clickFinder(m_finder, &RatioFinder::search, *this); }
void TForm1::Button3Click() { clickFinder(m_finder, &RatioFinder::prev, *this); }
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

void TForm1::setLabel(FinderLabel label, const std::string& text) {
    QLabel* l = finderLabel(label);
    l->setText(q(text));
    l->adjustSize();
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
    if (setChannel(channelTable, RadioGroup2->itemIndex(), latchSet, s(Edit1->text()),
                   s(Edit3->text()), s(Label11->text()), RadioGroup5->itemIndex()))
        m_channelsUnsaved = true;
    showChannels();
}

void TForm1::Button15Click() {
    exportHeader(channelTable, currentDirectory(), *m_clock);
    m_channelsUnsaved = false;
}

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
