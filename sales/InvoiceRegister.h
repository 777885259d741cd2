#pragma once

#include "store/Money.h"

#include <QDate>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace store {
class Workbook;
}

namespace sales {

// Whom an invoice is made out to, as typed in "Данни за Фактура".
struct Recipient {
    QString companyId;   // "ЕИК"
    QString vatNumber;   // "ИН по ЗДДС"
    QString company;     // "ФИРМА"
    QString address;     // "АДРЕС"
    bool operator==(const Recipient&) const = default;
};

enum class DocumentKind { Invoice, CreditNote };

// A document issued: an invoice, or a credit note to one.
struct IssuedDocument {
    DocumentKind kind = DocumentKind::Invoice;
    QString number;            // ten digits, as the sales ledger holds it
    QDate date;                // of the sale or the return: its year names the folder
    double sum = 0;            // the document's total, as it shows it
    store::Currency currency = store::Currency::Leva;
    Recipient recipient;
    QString forInvoice;        // a credit note: the invoice's number
    QDate forInvoiceDate;      // and date
    bool operator==(const IssuedDocument&) const = default;
};

// "фактура", "кредитно известие".
QString kindName(DocumentKind kind);

// The documents issued in the program folder, kept in Fakturi beside the data: each as
// Fakturi/YYYY/NNNNNNNNNN.pdf and, for its duplicates, as the filled form NNNNNNNNNN.xls beside it,
// and entered in Fakturi/Registar.xls, which also remembers each recipient (one per ЕИК, or per
// firm when the ЕИК is blank; retyped details replace the old ones).
class InvoiceRegister {
public:
    explicit InvoiceRegister(const QString& programFolder);

    // Where the document's PDF and its filled form lie.
    QString pdfPath(const IssuedDocument& document) const;
    QString formPath(const IssuedDocument& document) const;

    // The documents in the order they were issued; none before the first. Throws store::Error
    // when the register cannot be read.
    std::vector<IssuedDocument> documents() const;
    // The recipients remembered, in the order first typed.
    std::vector<Recipient> recipients() const;
    // The recipient of the document with that number as registered; nothing when it is not.
    std::optional<Recipient> recipientOf(const QString& number) const;

    // The document as the form shows it, in the document's year folder: its document sheet as a
    // PDF and the filled form itself for duplicates. Throws store::Error.
    void keepFiles(const store::Workbook& form, const IssuedDocument& document) const;
    // Enters the document and remembers its recipient, saving the register: a failed save leaves
    // its file as it was. Throws store::Error.
    void enter(const IssuedDocument& document) const;

private:
    QString file() const;
    // The register as it stands; null before the first document.
    std::unique_ptr<store::Workbook> read() const;

    QString folder_;
};

} // namespace sales
