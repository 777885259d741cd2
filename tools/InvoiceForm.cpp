#include "InvoiceForm.h"

#include "store/Range.h"
#include "store/Workbook.h"

namespace demo {

namespace {

using namespace invoice;

constexpr int kFirstColumn = 2;   // B: column A is the left margin
constexpr int kLastColumn = 15;   // O
constexpr int kLastLineRow = kFirstLineRow + kLineCount - 1;
constexpr int kHeaderRow = kFirstLineRow - 1;

// Column widths in characters, A to O.
constexpr int kColumnWidths[] = {1, 6, 6, 12, 3, 6, 5, 4, 8, 1, 1, 6, 7, 7, 10};

// The cell formats the form uses, added to its workbook.
struct FormFormats {
    quint16 title, label, labelRight, labelBold, field, fieldBold;
    quint16 header, lineNumber, lineName, lineCount, lineUnit, linePrice, money, mark, totalLabel, total;
};

store::Border thin()
{
    return store::Border{store::BorderLine::Thin, 64};
}

store::CellFormat textFormat(quint16 font, store::HAlign align)
{
    store::CellFormat format;
    format.font = font;
    format.hAlign = align;
    format.vAlign = store::VAlign::Center;
    format.usedAttributes = 0xFC;
    return format;
}

store::CellFormat boxed(store::CellFormat format)
{
    format.left = format.right = format.top = format.bottom = thin();
    return format;
}

store::CellFormat underlined(store::CellFormat format)
{
    format.bottom = thin();
    return format;
}

FormFormats addFormats(store::WorkbookStyles& styles)
{
    store::Font bold;
    bold.weight = 700;
    store::Font big = bold;
    big.height = 18 * 20;
    const quint16 normalFont = 0;
    const quint16 boldFont = styles.addFont(bold);
    const quint16 titleFont = styles.addFont(big);
    const quint16 money = styles.addNumberFormat(QStringLiteral("0.00"));
    // The program writes 0 into the count and price of every goods row it does not use: such
    // rows stay blank on screen and on paper.
    const quint16 countOrBlank = styles.addNumberFormat(QStringLiteral("0;-0;"));
    const quint16 moneyOrBlank = styles.addNumberFormat(QStringLiteral("0.00;-0.00;"));
    using store::HAlign;

    store::CellFormat header = boxed(textFormat(boldFont, HAlign::Center));
    header.wrap = true;
    header.fillPattern = 1;
    header.patternColor = 22;   // silver in the standard palette
    store::CellFormat moneyFormat = boxed(textFormat(normalFont, HAlign::Right));
    moneyFormat.numberFormat = money;
    store::CellFormat totalFormat = moneyFormat;
    totalFormat.font = boldFont;

    FormFormats f{};
    f.title = styles.addFormat(textFormat(titleFont, HAlign::Center));
    f.label = styles.addFormat(textFormat(normalFont, HAlign::Left));
    f.labelRight = styles.addFormat(textFormat(normalFont, HAlign::Right));
    f.labelBold = styles.addFormat(textFormat(boldFont, HAlign::Left));
    f.field = styles.addFormat(underlined(textFormat(normalFont, HAlign::Left)));
    f.fieldBold = styles.addFormat(underlined(textFormat(boldFont, HAlign::Left)));
    f.header = styles.addFormat(header);
    f.lineNumber = styles.addFormat(boxed(textFormat(normalFont, HAlign::Center)));
    f.lineName = styles.addFormat(boxed(textFormat(normalFont, HAlign::Left)));
    store::CellFormat countFormat = boxed(textFormat(normalFont, HAlign::Center));
    f.lineUnit = styles.addFormat(countFormat);
    countFormat.numberFormat = countOrBlank;
    f.lineCount = styles.addFormat(countFormat);
    store::CellFormat priceFormat = moneyFormat;
    priceFormat.numberFormat = moneyOrBlank;
    f.linePrice = styles.addFormat(priceFormat);
    f.money = styles.addFormat(moneyFormat);
    f.mark = styles.addFormat(boxed(textFormat(boldFont, HAlign::Center)));
    f.totalLabel = styles.addFormat(textFormat(boldFont, HAlign::Right));
    f.total = styles.addFormat(totalFormat);
    return f;
}

// The form's sheet with its formats at hand.
class FormSheet {
public:
    FormSheet(store::Worksheet& sheet, FormFormats formats) : sheet_(sheet), f_(formats) {}

    void layOut();

private:
    // Writes value into (row, col), merges the area up to lastCol when it is wider than one cell
    // and gives every cell of it the format, so borders go round the whole area.
    void put(int row, int col, int lastCol, const store::Value& value, quint16 format);
    void formula(int row, int col, const QString& a1, quint16 format);
    void setColumnWidths();
    void title();
    void recipient();
    void supplier();
    void lines();
    void payment();
    void totals();
    void signatures();

    store::Worksheet& sheet_;
    FormFormats f_;
};

void FormSheet::put(int row, int col, int lastCol, const store::Value& value, quint16 format)
{
    if (!value.isEmpty()) sheet_.cells(row, col) = value;
    for (int c = col; c <= lastCol; ++c) sheet_.setFormat(row, c, format);
    if (lastCol > col) sheet_.merged().push_back(store::CellArea{row, col, row, lastCol});
}

void FormSheet::formula(int row, int col, const QString& a1, quint16 format)
{
    sheet_.cells(row, col).setFormula(a1);
    sheet_.setFormat(row, col, format);
}

void FormSheet::setColumnWidths()
{
    int col = 1;
    for (int width : kColumnWidths) sheet_.columns()[col++].width = quint16(width * 256);
}

void FormSheet::title()
{
    put(1, 1, kLastColumn, store::Value(QStringLiteral("ФАКТУРА")), f_.title);
    sheet_.rowInfo()[1] = store::RowInfo{quint16(34 * 20), true, false};
    put(kNumber.row, kNumber.col - 1, kNumber.col - 1, store::Value(QStringLiteral("№")), f_.labelRight);
    put(kNumber.row, kNumber.col, kNumber.col + 1, store::Value(), f_.fieldBold);
    put(kDate.row, kDate.col - 2, kDate.col - 1, store::Value(QStringLiteral("Дата:")), f_.labelRight);
    put(kDate.row, kDate.col, kDate.col + 1, store::Value(), f_.fieldBold);
}

void FormSheet::recipient()
{
    put(3, kFirstColumn, kFirstColumn, store::Value(QStringLiteral("Получател")), f_.labelBold);
    put(kCompany.row, kCompany.col, kVatNumber.col + 5, store::Value(), f_.fieldBold);
    put(kCompanyId.row, kCompanyId.col, kVatNumber.col - 1, store::Value(kCompanyIdPrefix), f_.field);
    put(kVatNumber.row, kVatNumber.col, kVatNumber.col + 5, store::Value(kVatNumberPrefix), f_.field);
    put(kAddress.row, kAddress.col, kVatNumber.col + 5, store::Value(kAddressPrefix), f_.field);
}

// The shop's own details, which a shop keeper fills in once in the form: here the demo shop's.
void FormSheet::supplier()
{
    const int col = kCountColumn;
    put(3, col, col, store::Value(QStringLiteral("Доставчик")), f_.labelBold);
    put(4, col, kLastColumn, store::Value(QStringLiteral("Щастливо детство ЕООД")), f_.fieldBold);
    put(5, col, kLastColumn, store::Value(kCompanyIdPrefix + QStringLiteral("203456789")), f_.field);
    put(6, col, kLastColumn, store::Value(kAddressPrefix + QStringLiteral("Пловдив, ул. Шипка 8")), f_.field);
}

void FormSheet::lines()
{
    put(kHeaderRow, kFirstColumn, kFirstColumn, store::Value(QStringLiteral("№")), f_.header);
    put(kHeaderRow, kNameColumn, kCountColumn - 1, store::Value(QStringLiteral("Наименование на стоката")), f_.header);
    put(kHeaderRow, kCountColumn, kCountColumn, store::Value(QStringLiteral("К-во")), f_.header);
    put(kHeaderRow, kUnitColumn, kUnitColumn, store::Value(QStringLiteral("Мярка")), f_.header);
    put(kHeaderRow, kPriceColumn, kPriceColumn, store::Value(QStringLiteral("Ед. цена")), f_.header);
    put(kHeaderRow, kAmountColumn, kAmountColumn, store::Value(QStringLiteral("Стойност")), f_.header);
    sheet_.rowInfo()[kHeaderRow] = store::RowInfo{quint16(22 * 20), true, false};
    for (int line = 1; line <= kLineCount; ++line) {
        const int row = kFirstLineRow + line - 1;
        const QString name = store::columnName(kNameColumn) + QString::number(row);
        const QString count = store::columnName(kCountColumn) + QString::number(row);
        const QString price = store::columnName(kPriceColumn) + QString::number(row);
        put(row, kFirstColumn, kFirstColumn, store::Value(line), f_.lineNumber);
        put(row, kNameColumn, kCountColumn - 1, store::Value(), f_.lineName);
        put(row, kCountColumn, kCountColumn, store::Value(), f_.lineCount);
        put(row, kPriceColumn, kPriceColumn, store::Value(), f_.linePrice);
        // A line without goods shows nothing, whatever the program left in its count and price.
        formula(row, kUnitColumn, QStringLiteral("=IF(%1=\"\",\"\",\"бр.\")").arg(name), f_.lineUnit);
        formula(row, kAmountColumn, QStringLiteral("=IF(%1=\"\",\"\",ROUND(%2*%3,2))").arg(name, count, price), f_.money);
    }
}

void FormSheet::payment()
{
    const int labelCol = kPaymentColumn - 1;
    put(kCashRow, kFirstColumn, kFirstColumn, store::Value(QStringLiteral("Плащане:")), f_.labelBold);
    put(kCashRow, labelCol, labelCol, store::Value(QStringLiteral("в брой")), f_.labelRight);
    put(kTransferRow, labelCol, labelCol, store::Value(QStringLiteral("по банков път")), f_.labelRight);
    put(kSetOffRow, labelCol, labelCol, store::Value(QStringLiteral("прихващане")), f_.labelRight);
    for (int row : {kCashRow, kTransferRow, kSetOffRow}) put(row, kPaymentColumn, kPaymentColumn, store::Value(), f_.mark);
    put(kTerm.row, kTerm.col - 1, kTerm.col - 1, store::Value(QStringLiteral("срок:")), f_.labelRight);
    put(kTerm.row, kTerm.col, kTerm.col, store::Value(), f_.field);

    put(kCashRow, kDeliveryDate.col - 1, kDeliveryDate.col - 1, store::Value(QStringLiteral("Доставка")), f_.labelBold);
    put(kDeliveryDate.row, kDeliveryDate.col - 1, kDeliveryDate.col - 1, store::Value(QStringLiteral("дата:")), f_.labelRight);
    put(kDeliveryDate.row, kDeliveryDate.col, kDeliveryDate.col + 2, store::Value(), f_.field);
    put(kDeliveryPlace.row, kDeliveryPlace.col - 1, kDeliveryPlace.col - 1, store::Value(QStringLiteral("място:")), f_.labelRight);
    put(kDeliveryPlace.row, kDeliveryPlace.col, kDeliveryPlace.col + 2, store::Value(), f_.field);

    put(kZeroVatBasis.row, kFirstColumn, kZeroVatBasis.col - 1,
        store::Value(QStringLiteral("Основание за 0% ДДС:")), f_.labelRight);
    put(kZeroVatBasis.row, kZeroVatBasis.col, kZeroVatBasis.col + 5, store::Value(), f_.field);
}

void FormSheet::totals()
{
    const QString amounts = QStringLiteral("%1%2:%1%3").arg(store::columnName(kAmountColumn)).arg(kFirstLineRow).arg(kLastLineRow);
    const auto cellName = [](CellPos pos) { return store::columnName(pos.col) + QString::number(pos.row); };
    const int labelCol = kCountColumn;
    const int lastLabelCol = kAmountColumn - 1;
    put(kTaxBase.row, labelCol, lastLabelCol, store::Value(QStringLiteral("Данъчна основа:")), f_.labelRight);
    put(kVat.row, labelCol, lastLabelCol, store::Value(QStringLiteral("ДДС 20%:")), f_.labelRight);
    put(kTotal.row, labelCol, lastLabelCol, store::Value(QStringLiteral("Сума за плащане:")), f_.totalLabel);
    formula(kTotal.row, kTotal.col, QStringLiteral("=SUM(%1)").arg(amounts), f_.total);
    formula(kTaxBase.row, kTaxBase.col,
            QStringLiteral("=ROUND(%1/%2,2)").arg(cellName(kTotal)).arg(1 + kVatRate), f_.money);
    formula(kVat.row, kVat.col, QStringLiteral("=%1-%2").arg(cellName(kTotal), cellName(kTaxBase)), f_.money);
}

void FormSheet::signatures()
{
    const int row = kZeroVatBasis.row + 3;
    put(row, kFirstColumn, kPaymentColumn, store::Value(QStringLiteral("Получил: ....................")), f_.label);
    put(row, kCountColumn, kLastColumn, store::Value(QStringLiteral("Съставил: ....................")), f_.label);
}

void FormSheet::layOut()
{
    setColumnWidths();
    title();
    recipient();
    supplier();
    lines();
    payment();
    totals();
    signatures();
}

} // namespace

std::unique_ptr<store::Workbook> makeInvoiceForm()
{
    auto workbook = std::make_unique<store::Workbook>();
    store::Worksheet& sheet = workbook->sheets(1);
    sheet.setName(QStringLiteral("Фактура"));
    FormSheet(sheet, addFormats(workbook->styles())).layOut();
    return workbook;
}

} // namespace demo
