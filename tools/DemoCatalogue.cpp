#include "DemoCatalogue.h"

#include "catalogue/core/Barcode.h"

#include <algorithm>

namespace demo {

namespace {

using D = Drawing;

Goods goods(const char* name, const char* maker, const char* description, double purchasePrice,
            double markup, int bought, int sold, bool promotion, Picture picture)
{
    // A quarter of the first delivery is kept in stock at least.
    return Goods{QString::fromUtf8(name), QString::fromUtf8(maker), QString::fromUtf8(description),
                 purchasePrice, markup, bought, sold, promotion, std::move(picture), std::max(1, bought / 4)};
}

Picture picture(Drawing drawing, QColor colour, const char* fileName)
{
    return Picture{drawing, colour, QString::fromLatin1(fileName)};
}

Article toys()
{
    return {QStringLiteral("Играчки"), {
        goods("Гумена топка", "Веселка ООД",
              "Мека гумена топка с диаметър 20 см за игра на двора и вкъщи.",
              2.30, 40, 20, 12, false, picture(D::Ball, QColor(220, 50, 47), "topka.jpg")),
        goods("Плюшено мече", "Плюшко АД",
              "Плюшено мече с панделка, високо 35 см. Пере се на 30 градуса.",
              6.15, 35, 10, 7, true, picture(D::Teddy, QColor(160, 105, 60), "meche.jpg")),
        goods("Състезателна кола", "Автомания ЕООД",
              "Състезателна кола с дистанционно управление. Батериите не са включени.",
              12.80, 30, 6, 6, false, picture(D::Car, QColor(38, 110, 200), "kola.jpg")),
        goods("Дървени кубчета", "Дърводелец ООД",
              "Комплект от 24 цветни дървени кубчета с букви и цифри.",
              4.10, 50, 15, 5, true, picture(D::Blocks, QColor(250, 180, 40), "kubcheta.jpg")),
        goods("Гумено патенце", "Веселка ООД",
              "Жълто патенце за баня, което плава и свири, когато го стиснете.",
              0.90, 60, 30, 14, false, picture(D::Duck, QColor(255, 215, 0), "patence.jpg")),
        goods("Пирамида с рингове", "Мъниче ООД",
              "Пирамида от осем цветни пластмасови ринга за най-малките.",
              3.15, 45, 12, 4, false, picture(D::Pyramid, QColor(120, 190, 70), "piramida.jpg")),
        goods("Пумпал", "Дърводелец ООД",
              "Метален пумпал с дръжка, който се върти и свири.",
              3.85, 40, 8, 8, true, picture(D::Top, QColor(200, 60, 150), "pumpal.jpg")),
        goods("Дървено влакче", "Дърводелец ООД",
              "Локомотив и три вагончета, които се свързват с магнитчета.",
              7.15, 35, 7, 3, false, picture(D::Train, QColor(40, 150, 90), "vlakche.jpg")),
        goods("Кукла Мария", "Куклен свят ООД",
              "Кукла с руса коса и розова рокля, висока 40 см.",
              9.20, 30, 9, 5, true, Picture{}),   // no picture: column J stays empty
    }};
}

Article clothes()
{
    return {QStringLiteral("Дрехи"), {
        goods("Детска рокля", "Шарено ООД",
              "Лятна памучна рокля на цветя, размер 104.",
              7.15, 50, 8, 5, true, picture(D::Dress, QColor(235, 110, 160), "roklia.jpg")),
        goods("Тениска с котенце", "Шарено ООД",
              "Памучна тениска с къс ръкав и щампа котенце, размер 110.",
              3.05, 60, 15, 9, false, picture(D::TShirt, QColor(90, 170, 230), "teniska.jpg")),
        goods("Зимна шапка", "Топлинка ЕООД",
              "Плетена шапка с помпон от мека вълна.",
              2.80, 60, 12, 12, false, picture(D::Hat, QColor(200, 40, 60), "shapka.jpg")),
        goods("Чорапи, 3 чифта", "Топлинка ЕООД",
              "Три чифта памучни чорапи, размер 23-26.",
              1.65, 50, 25, 11, true, picture(D::Socks, QColor(110, 90, 200), "chorapi.jpg")),
    }};
}

Article books()
{
    return {QStringLiteral("Книжки"), {
        goods("Приказки за лека нощ", "Издателство Звездица",
              "Двадесет кратки приказки с цветни илюстрации, твърди корици.",
              4.60, 25, 10, 6, false, picture(D::Book, QColor(40, 60, 140), "prikazki.jpg")),
        goods("Книжка за оцветяване", "Издателство Звездица",
              "48 страници с животни и превозни средства за оцветяване.",
              1.30, 40, 20, 9, true, picture(D::Book, QColor(60, 160, 80), "ocvetiavane.jpg")),
        goods("Буквар с картинки", "Издателство Буквичка",
              "Първите букви с картинки и стихчета, за деца от 4 години.",
              3.50, 25, 8, 3, false, picture(D::Book, QColor(230, 120, 30), "bukvar.jpg")),
        goods("Гатанки и броилки", "Издателство Буквичка",
              "Весели гатанки и броилки за игра с приятели.",
              2.05, 30, 6, 0, false, picture(D::Book, QColor(180, 40, 40), "gatanki.jpg")),
    }};
}

Article prams()
{
    return {QStringLiteral("Колички"), {
        goods("Бебешка количка", "Малки стъпки ООД",
              "Дълбока количка със сгъваема рама, сенник и кошница за покупки.",
              112.50, 20, 3, 1, false, picture(D::Pram, QColor(70, 80, 110), "kolichka.jpg")),
        goods("Лятна количка", "Малки стъпки ООД",
              "Лека сгъваема количка с петточкови колани, тежи 6 кг.",
              48.55, 25, 4, 2, true, picture(D::Stroller, QColor(230, 90, 40), "liatna.jpg")),
        goods("Триколка", "Велочо ЕООД",
              "Триколка с дръжка за родителя и кошничка отзад.",
              24.55, 30, 2, 2, false, picture(D::Tricycle, QColor(210, 30, 30), "trikolka.jpg")),
    }};
}

// Every goods an EAN-13 of a Bulgarian maker (380), numbered by article and goods.
std::vector<Article> withBarcodes(std::vector<Article> articles)
{
    for (size_t a = 0; a < articles.size(); ++a)
        for (size_t g = 0; g < articles[a].goods.size(); ++g) {
            const QString digits = QStringLiteral("380%1%2").arg(a + 1, 4, 10, QLatin1Char('0')).arg(g + 1, 5, 10, QLatin1Char('0'));
            articles[a].goods[g].barcode = digits + QString::number(catalogue::checkDigit(digits));
        }
    return articles;
}

} // namespace

const std::vector<Article>& demoCatalogue()
{
    // "Обувки" has no goods yet: the showcase shows its empty look.
    static const std::vector<Article> catalogue =
        withBarcodes({toys(), clothes(), books(), prams(), Article{QStringLiteral("Обувки"), {}}});
    return catalogue;
}

} // namespace demo
