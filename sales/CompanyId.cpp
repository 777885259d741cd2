#include "sales/CompanyId.h"

#include "sales/SaleError.h"

#include <QDate>
#include <array>
#include <span>

namespace sales {

namespace {

const QString kBulgarianVatPrefix = QStringLiteral("BG");

bool allDigits(const QString& text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
    return !text.isEmpty();
}

int digit(const QString& text, int i)
{
    return text.at(i).unicode() - '0';
}

// The weighted sum of the digits from `first` on, modulo 11.
int weightedSum(const QString& text, int first, std::span<const int> weights)
{
    int sum = 0;
    for (size_t i = 0; i < weights.size(); ++i) sum += digit(text, first + int(i)) * weights[i];
    return sum % 11;
}

// A check digit computed with the first weights, or when that gives 10 with the second ones,
// and 0 when that gives 10 again.
int checkDigit(const QString& text, int first, std::span<const int> weights, std::span<const int> second)
{
    const int sum = weightedSum(text, first, weights);
    if (sum < 10) return sum;
    const int again = weightedSum(text, first, second);
    return again < 10 ? again : 0;
}

bool validNineDigits(const QString& id)
{
    static constexpr std::array kFirst{1, 2, 3, 4, 5, 6, 7, 8};
    static constexpr std::array kSecond{3, 4, 5, 6, 7, 8, 9, 10};
    return checkDigit(id, 0, kFirst, kSecond) == digit(id, 8);
}

bool validThirteenDigits(const QString& id)
{
    static constexpr std::array kFirst{2, 7, 3, 5};
    static constexpr std::array kSecond{4, 9, 5, 7};
    return validNineDigits(id) && checkDigit(id, 8, kFirst, kSecond) == digit(id, 12);
}

bool realBirthDate(const QString& id)
{
    const int year = digit(id, 0) * 10 + digit(id, 1);
    const int month = digit(id, 2) * 10 + digit(id, 3);
    const int day = digit(id, 4) * 10 + digit(id, 5);
    if (month > 40) return QDate::isValid(2000 + year, month - 40, day);
    if (month > 20) return QDate::isValid(1800 + year, month - 20, day);
    return QDate::isValid(1900 + year, month, day);
}

} // namespace

bool validCompanyId(const QString& id)
{
    if (!allDigits(id)) return false;
    if (id.size() == 9) return validNineDigits(id);
    return id.size() == 13 && validThirteenDigits(id);
}

bool validPersonalId(const QString& id)
{
    static constexpr std::array kWeights{2, 4, 8, 5, 10, 9, 7, 3, 6};
    if (id.size() != 10 || !allDigits(id) || !realBirthDate(id)) return false;
    const int sum = weightedSum(id, 0, kWeights);
    return (sum == 10 ? 0 : sum) == digit(id, 9);
}

bool validBulgarianVatNumber(const QString& number)
{
    if (!number.startsWith(kBulgarianVatPrefix)) return false;
    const QString id = number.mid(kBulgarianVatPrefix.size());
    return validCompanyId(id) || validPersonalId(id);
}

QString recipientIdProblem(const QString& companyId, const QString& vatNumber)
{
    const QString id = companyId.trimmed();
    // A person buying on an invoice is named by the ЕГН in the same field.
    if (!id.isEmpty() && !validCompanyId(id) && !validPersonalId(id)) {
        const bool lengthRight = allDigits(id) && (id.size() == 9 || id.size() == 10 || id.size() == 13);
        return errorMessage(lengthRight ? SaleError::CompanyIdCheckDigit : SaleError::CompanyIdLength, {id});
    }
    const QString vat = vatNumber.trimmed().toUpper();
    if (vat.startsWith(kBulgarianVatPrefix) && !validBulgarianVatNumber(vat))
        return errorMessage(SaleError::VatNumberInvalid, {vatNumber.trimmed()});
    return {};
}

} // namespace sales
