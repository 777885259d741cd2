#include "catalogue/Form4.h"

#include "catalogue/GoodsNamesModel.h"
#include "catalogue/Katalog.h"
#include "catalogue/core/NumberCheck.h"
#include "common/Controls.h"
#include "common/MainState.h"
#include "common/Messages.h"
#include "common/Shop.h"
#include "common/Twips.h"
#include "common/WindowKeys.h"
#include "showcase/core/ShowcaseData.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <algorithm>

namespace catalogue {

namespace {

const QString kBadRecordNumber = QStringLiteral("Трябва да въведете цяло положително число");

QString openPictureDialog(QWidget* parent)
{
    return QFileDialog::getOpenFileName(parent, QStringLiteral("Зареди картина"), {},
                                        QStringLiteral("Картини (*.jpg *.jpeg *.png *.bmp *.gif)"));
}

Form4::PictureChooser& pictureChooser()
{
    static Form4::PictureChooser chooser = openPictureDialog;
    return chooser;
}

std::size_t fieldIndex(Field which)
{
    return std::size_t(&fieldInfo(which) - kGoodsFields.data());
}

// The top of the row of the goods field at this place in kGoodsFields, in twips.
int rowTop(std::size_t place)
{
    return 240 + 480 * int(place);
}

int fieldTop(Field which)
{
    return rowTop(fieldIndex(which));
}

// Below the fields: the record number, then the buttons, each row 840 twips below the last.
const int kRecordTop = rowTop(kGoodsFields.size()) + 120;
const int kButtonTop = kRecordTop + 840;

QLabel* caption(QWidget* parent, const QString& name, const QString& text, QRect rect)
{
    QLabel* label = app::placed(new QLabel(text, parent), name, rect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QLineEdit* field(QWidget* parent, const QString& name, QRect rect)
{
    return app::placed(new QLineEdit(parent), name, rect);
}

app::ClickLabel* arrow(QWidget* parent, const QString& name, QRect rect, QStyle::StandardPixmap icon)
{
    auto* label = app::placed(new app::ClickLabel({}, parent), name, rect);
    label->setPixmap(parent->style()->standardIcon(icon).pixmap(rect.size()));
    label->setAlignment(Qt::AlignCenter);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

// The window's own pointer over a shown picture: a red cross that says a click takes it away.
QCursor withdrawPointer()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(170, 20, 20), 2));
    p.drawEllipse(QRectF(3, 3, 26, 26));
    p.setPen(QPen(QColor(200, 20, 20), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 11), QPointF(21, 21));
    p.drawLine(QPointF(21, 11), QPointF(11, 21));
    p.end();
    return QCursor(pixmap, 16, 16);
}

} // namespace

void Form4::setPictureChooser(PictureChooser chooser)
{
    pictureChooser() = chooser ? std::move(chooser) : openPictureDialog;
}

Form4::Form4(Katalog& katalog, QWidget* parent) : QWidget(parent), katalog_(katalog)
{
    setObjectName(QStringLiteral("Form4"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(app::px(9600), app::px(kButtonTop + 840));
    buildFields();
    buildRecordControls();
    connectControls();
    watchFocus();
    app::useDialogKeys(this);
    // Form_Load
    Flag2 = false;
    katalog_.shop().windows.declare(4, this);
    katalog_.shop().windows.closeFor(app::Closer::GoodsEditor);
}

Form4::~Form4() = default;

// One row per goods field, 480 twips apart: its caption, then a text box (wide for texts) or a
// check box; the price and the increase have their units after them.
void Form4::buildFields()
{
    using app::twipsRect;
    for (std::size_t i = 0; i < kGoodsFields.size(); ++i) {
        const FieldInfo& info = kGoodsFields[i];
        const int top = fieldTop(info.field);
        caption(this, info.label, info.caption, twipsRect(240, top, 2400, 345));
        if (info.kind == FieldKind::Flag)
            controls_[i] = app::placed(new QCheckBox(this), info.control, twipsRect(2700, top + 30, 285, 285));
        else
            controls_[i] = field(this, info.control, twipsRect(2700, top, isNumeric(info.kind) ? 1200 : 2880, 345));
    }
    Text1 = textControl(Field::Name);
    Text2 = textControl(Field::Price);
    Text3 = textControl(Field::Count);
    Text4 = textControl(Field::Markup);
    Check1 = static_cast<QCheckBox*>(control(Field::Promotion));
    Text6 = textControl(Field::Maker);
    Text7 = textControl(Field::Description);
    Text9 = textControl(Field::MinimumStock);
    Text10 = textControl(Field::Barcode);
    Label8 = caption(this, QStringLiteral("Label8"), store::currencySign(katalog_.shop().currency()), twipsRect(3960, fieldTop(Field::Price), 480, 345));
    Label9 = caption(this, QStringLiteral("Label9"), QStringLiteral("%"), twipsRect(3960, fieldTop(Field::Markup), 480, 345));
}

QWidget* Form4::control(Field which) const
{
    return controls_[fieldIndex(which)];
}

QLineEdit* Form4::textControl(Field which) const
{
    return static_cast<QLineEdit*>(control(which));
}

void Form4::buildRecordControls()
{
    using app::twipsRect;
    Image1 = arrow(this, QStringLiteral("Image1"), twipsRect(240, kRecordTop, 420, 420), QStyle::SP_ArrowLeft);
    Text8 = field(this, QStringLiteral("Text8"), twipsRect(720, kRecordTop + 37, 900, 345));
    Text8->setAlignment(Qt::AlignCenter);
    Image2 = arrow(this, QStringLiteral("Image2"), twipsRect(1680, kRecordTop, 420, 420), QStyle::SP_ArrowRight);
    Label11 = caption(this, QStringLiteral("Label11"), {}, twipsRect(2400, kRecordTop + 37, 720, 345));
    Label11->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label10 = caption(this, QStringLiteral("Label10"), QStringLiteral("записа"), twipsRect(3180, kRecordTop + 37, 900, 345));
    Command3 = app::placed(new QPushButton(QStringLiteral("&Добави"), this), QStringLiteral("Command3"),
                           twipsRect(240, kButtonTop, 2160, 495));
    Command2 = app::placed(new QPushButton(QStringLiteral("&Изтриване"), this), QStringLiteral("Command2"),
                           twipsRect(2520, kButtonTop, 2160, 495));
    Image3 = app::placed(new app::ImageBox(this), QStringLiteral("Image3"), twipsRect(5760, 240, 3600, 2520));
    Image3->setFrameShape(QFrame::Box);
    Command4 = app::placed(new QPushButton(QStringLiteral("&Зареди картина"), this), QStringLiteral("Command4"),
                           twipsRect(5760, 2880, 3600, 420));
    List1 = app::placed(new QListView(this), QStringLiteral("List1"), twipsRect(5760, 3420, 3600, kButtonTop + 495 - 3420));
    names_ = new GoodsNamesModel(katalog_.shop(), this);
    List1->setModel(names_);
    List1->setUniformItemSizes(true);
    List1->setEditTriggers(QAbstractItemView::NoEditTriggers);
}

void Form4::connectControls()
{
    const auto guarded = [this](void (Form4::*handler)()) {
        return [this, handler] { app::guarded([this, handler] { (this->*handler)(); }); };
    };
    connect(Text8, &QLineEdit::textChanged, this,
            [this](const QString& text) { app::guarded([this, text] { recordNumberChanged(text); }); });
    connect(Image1, &app::ClickLabel::clicked, this, guarded(&Form4::previousRecord));
    connect(Image2, &app::ClickLabel::clicked, this, guarded(&Form4::nextRecord));
    connect(Image3, &app::ClickLabel::clicked, this, &Form4::withdrawPicture);
    connect(Command4, &QPushButton::clicked, this, &Form4::chooseZarediKartina);
    connect(Command3, &QPushButton::clicked, this, guarded(&Form4::Dobavi));
    connect(Command2, &QPushButton::clicked, this, guarded(&Form4::Iztrivane));
    // A goods chosen in the list, by click, keys or activation, is shown in the fields. The list
    // merely getting the focus chooses nothing.
    const auto showChosen = [this](const QModelIndex& index) { app::guarded([this, index] { showListed(index); }); };
    connect(List1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [showChosen](const QItemSelection& chosen) {
        if (!chosen.isEmpty()) showChosen(chosen.indexes().first());
    });
    connect(List1, &QListView::activated, this, showChosen);
}

void Form4::watchFocus()
{
    for (QWidget* w : controls_) w->installEventFilter(this);
    Text8->installEventFilter(this);
}

void Form4::openFor(const QString& listEntry)
{
    article_ = showcase::articleName(listEntry);
    setWindowTitle(QStringLiteral("Добави ") + listEntry);
    count_ = katalog_.goodsStore(article_).count();
    katalog_.state().BroiStoki = qint16(count_);
    setRecordNumber(count_ + 1);
    showCount();
    names_->showArticle(article_, count_);
}

void Form4::showCount()
{
    Label11->setText(QString::number(count_));
    Label10->setText(count_ == 1 ? QStringLiteral("запис") : QStringLiteral("записа"));
}

void Form4::showListed(const QModelIndex& index)
{
    if (!index.isValid() || shownRecord() == index.row() + 1) return;
    setRecordNumber(index.row() + 1);
}

// The list marks the record the fields show, and nothing while they show none.
void Form4::markInList(int record)
{
    const QModelIndex listed = names_->index(record - 1);
    if (!listed.isValid()) {
        List1->selectionModel()->clear();
        // Chosen nothing, the list still walks from its top: End goes to the last goods.
        if (names_->rowCount() > 0)
            List1->selectionModel()->setCurrentIndex(names_->index(0), QItemSelectionModel::NoUpdate);
        return;
    }
    List1->setCurrentIndex(listed);
    List1->scrollTo(List1->currentIndex());
}

// --- The record number ---------------------------------------------------------------------

void Form4::recordNumberChanged(const QString& text)
{
    recordNumberOk_ = ProverkaChislo(text, false, false, false);
    if (text.isEmpty() || text == QLatin1String("0")) {
        clearRecord();
        return;
    }
    if (!recordNumberOk_) {
        app::warning(kBadRecordNumber);
        Text8->clear();
        return;
    }
    const auto number = shownRecordNumber();
    if (!number || *number > count_) {
        // Past the end: the new record's number, whose own change clears once more and stops.
        clearRecord();
        Text8->setText(QString::number(count_ + 1));
        return;
    }
    ProchetiOtEksel(*number);
}

std::optional<int> Form4::shownRecord() const
{
    const auto number = shownRecordNumber();
    if (!recordNumberOk_ || !number || *number < 1 || *number > count_) return std::nullopt;
    return number;
}

std::optional<int> Form4::shownRecordNumber() const
{
    bool ok = false;
    const qlonglong number = Text8->text().toLongLong(&ok);
    if (!ok || number > count_ + 1) return std::nullopt;
    return int(number);
}

// Puts the number into Text8; the record is shown again even when the number stays the same.
void Form4::setRecordNumber(int number)
{
    const QString text = QString::number(number);
    if (Text8->text() == text)
        recordNumberChanged(text);
    else
        Text8->setText(text);
}

void Form4::clearRecord()
{
    for (const FieldInfo& info : kGoodsFields) {
        if (info.kind == FieldKind::Flag)
            static_cast<QCheckBox*>(control(info.field))->setChecked(false);
        else
            textControl(info.field)->clear();
    }
    working = {};
    withdrawPicture();
    markInList(0);
}

void Form4::ProchetiOtEksel(int record)
{
    const GoodsStore::Record r = katalog_.goodsStore(article_).ProchetiOtEksel(record);
    for (const FieldInfo& info : kGoodsFields) {
        if (info.kind == FieldKind::Flag) {
            static_cast<QCheckBox*>(control(info.field))->setChecked(r.fields.*info.flag == 1);
            continue;
        }
        QLineEdit* text = textControl(info.field);
        text->setText(r.fields.*info.text);
        // A long text shows its beginning.
        if (info.kind == FieldKind::Text) text->setCursorPosition(0);
    }
    working = r.fields;
    withdrawPicture();
    showPicture(r.picture);
    markInList(record);
}

void Form4::previousRecord()
{
    const auto number = shownRecordNumber();
    if (Text8->text().isEmpty() || !recordNumberOk_ || !number || *number <= 1) return;
    setRecordNumber(*number - 1);
}

void Form4::nextRecord()
{
    const auto number = shownRecordNumber();
    if (Text8->text().isEmpty() || !recordNumberOk_ || !number || *number > count_) return;
    setRecordNumber(*number + 1);
}

// --- Fields and the working copy -------------------------------------------------------------

void Form4::DobaviStoka(Field Promenliva1)
{
    const FieldInfo& info = fieldInfo(Promenliva1);
    if (info.kind == FieldKind::Flag)
        working.*info.flag = static_cast<QCheckBox*>(control(Promenliva1))->isChecked() ? 1 : 0;
    else
        working.*info.text = textControl(Promenliva1)->text();
}

void Form4::handOverAll()
{
    for (const FieldInfo& info : kGoodsFields) DobaviStoka(info.field);
}

bool Form4::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut && !validating_) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving for another control of this window validates; a message box or another window
        // taking the focus does not.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
            fieldLeft(watched);
    }
    return QWidget::eventFilter(watched, event);
}

void Form4::fieldLeft(QObject* f)
{
    validating_ = true;
    if (f == Text8 && !recordNumberOk_) app::warning(kBadRecordNumber);
    for (const FieldInfo& info : kGoodsFields) {
        if (control(info.field) != f) continue;
        if (isNumeric(info.kind))
            numberFieldLeft(textControl(info.field), info);
        else
            DobaviStoka(info.field);
    }
    validating_ = false;
}

// A numeric field hands its text over only when the check passes. Refused, it keeps nothing in
// the working copy: the price field is emptied, the count and increase fields get the focus back.
void Form4::numberFieldLeft(QLineEdit* f, const FieldInfo& info)
{
    if (typedCharactersFit(info.kind, f->text())) {
        DobaviStoka(info.field);
        return;
    }
    app::warning(notANumber(info.kind));
    (working.*info.text).clear();
    if (info.field == Field::Price)
        f->clear();
    else
        QTimer::singleShot(0, f, [f] { f->setFocus(Qt::OtherFocusReason); });
}

// --- The picture -------------------------------------------------------------------------

void Form4::chooseZarediKartina()
{
    const QString path = pictureChooser()(this);
    if (path.isEmpty()) return;   // cancelled: the choice stays as it was
    showChosenPicture(path);
}

void Form4::showChosenPicture(const QString& path)
{
    const app::PictureRead read = app::readPicture(path, Image3->size());
    if (read.picture.isNull()) {
        app::warning(read.problem);
        return;
    }
    Image3->setPicture(read.picture, path);
    Image3->setCursor(withdrawPointer());
    PatDoKartina = path;
    ImeNaFaila = QFileInfo(path).fileName();
    FlagZaKartina = true;
}

void Form4::withdrawPicture()
{
    showNoPicture();
    ImeNaFaila.clear();
    PatDoKartina.clear();
    FlagZaKartina = false;
}

void Form4::showPicture(const QString& path)
{
    if (path.isEmpty() || !Image3->setPicture(path)) {
        showNoPicture();
        return;
    }
    Image3->setCursor(withdrawPointer());
}

void Form4::showNoPicture()
{
    Image3->setPicture(QPixmap());
    Image3->setCursor(Qt::ArrowCursor);
}

// --- Save and delete ---------------------------------------------------------------------

void Form4::Dobavi()
{
    Flag2 = false;
    const QString number = Text8->text();
    if (number.isEmpty()) return;
    handOverAll();
    bool ok = false;
    const qlonglong record = number.toLongLong(&ok);
    if (!ok) return;
    if (record == count_ + 1)
        appendRecord();
    else
        rewriteRecord(int(std::clamp<qlonglong>(record, 0, count_ + 1)));
}

void Form4::refuse(const Refusal& refusal)
{
    Flag2 = true;
    app::warning(refusal.message);
    if (refusal.focus) control(*refusal.focus)->setFocus(Qt::OtherFocusReason);
}

void Form4::appendRecord()
{
    GoodsStore store = katalog_.goodsStore(article_);
    const GoodsStore::Saved saved =
        store.DobaviStokaVEksel(working, FlagZaKartina ? PatDoKartina : QString(), QDate::currentDate());
    if (saved.refusal) {
        refuse(*saved.refusal);
        return;
    }
    if (!saved.pictureProblem.isEmpty()) app::warning(saved.pictureProblem);
    count_ = saved.record;
    names_->DobaviVListForma4();
    showCount();
    setRecordNumber(count_ + 1);   // the fields, the working copy and the picture are cleared
    storeChanged();
    if (saved.rollOver) app::inform(ledgers::rollOverText(*saved.rollOver));
}

void Form4::rewriteRecord(int record)
{
    RedPromeniStoka = qint16(record);
    GoodsStore store = katalog_.goodsStore(article_);
    const GoodsStore::Saved saved = store.RedaktiraiStoka(record, working, FlagZaKartina ? PatDoKartina : QString());
    if (saved.refusal) {
        refuse(*saved.refusal);
        return;
    }
    if (!saved.pictureProblem.isEmpty()) app::warning(saved.pictureProblem);
    names_->RedaktiraiVListForma4(record);
    FlagZaKartina = false;
    storeChanged();
}

// The record the fields show is the one deleted, named in the question. Afterwards the fields
// show the new record, so that nothing stands ready for a second deletion.
void Form4::Iztrivane()
{
    const std::optional<int> record = shownRecord();
    if (!record) {
        app::warning(QStringLiteral("Моля изберете съответната стока"));
        return;
    }
    GoodsStore store = katalog_.goodsStore(article_);
    if (!app::confirm(QStringLiteral("Да изтрия ли „%1“?").arg(store.goodsName(*record)))) return;
    const QString refusal = store.IztriiStoka(*record);
    if (!refusal.isEmpty()) {
        app::warning(refusal);
        return;
    }
    names_->removeRecord(*record);
    count_ = store.count();
    showCount();
    setRecordNumber(count_ + 1);
    storeChanged();
}

// After an append, rewrite or delete: the showcase drawn again and the workbook saved.
void Form4::storeChanged()
{
    katalog_.redrawShowcase();
    katalog_.Sahrani();
}

} // namespace catalogue
