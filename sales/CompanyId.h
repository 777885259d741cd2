#pragma once

#include <QString>

// The numbers that name an invoice's recipient, checked by their check digits as the registers
// give them.
namespace sales {

// A company's ЕИК (BULSTAT): 9 digits, or 13 for a branch (the first 9 a valid ЕИК themselves).
bool validCompanyId(const QString& id);
// A person's ЕГН: 10 digits whose first six are a real date of birth (month + 20 for the 1800s,
// + 40 for the 2000s).
bool validPersonalId(const QString& id);
// A Bulgarian VAT number: "BG" and a valid ЕИК or ЕГН.
bool validBulgarianVatNumber(const QString& number);

// What is wrong with the recipient's numbers as typed in "Данни за Фактура", as the shop keeper
// is told it; empty when both are right. The ЕИК field may hold a person's ЕГН. Blank fields are allowed; a VAT number of another
// country (not beginning with "BG") is taken as it is.
QString recipientIdProblem(const QString& companyId, const QString& vatNumber);

} // namespace sales
