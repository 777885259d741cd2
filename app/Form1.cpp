#include "app/Form1.h"

#include "app/Form13.h"
#include "app/Form14.h"
#include "app/ScannerKeys.h"
#include "catalogue/core/Barcode.h"
#include "catalogue/Katalog.h"
#include "common/Controls.h"
#include "common/Desktop.h"
#include "common/Messages.h"
#include "common/ProgramFolder.h"
#include "common/ScaledArea.h"
#include "common/Shop.h"
#include "common/Twips.h"
#include "currency/CurrencyError.h"
#include "currency/EuroChangeover.h"
#include "reports/Reports.h"
#include "sales/Faktura.h"
#include "sales/Form16.h"
#include "sales/Form15.h"
#include "sales/KoshnicaView.h"
#include "sales/SalePanel.h"
#include "search/Sortirane.h"
#include "search/Tyrsene.h"
#include "showcase/Vitrina.h"
#include "showcase/core/ArticleGoods.h"
#include "showcase/core/ArticleList.h"
#include "store/ProgramFiles.h"
#include "store/StoreError.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>

namespace app {

namespace {

// The day Bulgaria's money became the euro.
const QDate kEuroDay(2026, 1, 1);

void tellProblem(const QString& problem)
{
    if (!problem.isEmpty()) warning(problem);
}

} // namespace

Form1::Form1(Shop& shop, QWidget* parent) : QMainWindow(parent), shop_(shop)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Тервин за детски стоки"));
    // Drawn for 800 × 540 pixels; a larger window shows it all larger.
    auto* area = new ScaledArea(QSize(px(12000), px(8100)), this);
    area->setObjectName(QStringLiteral("area"));
    setCentralWidget(area);
    buildCommandRow(area);
    buildShowcase(area);
    buildBanner(area);
    buildDetailsPanel(area);
    buildSalePanel(area);
    buildBasketPanel(area);
    buildProcedureButtons(area);
    buildMenus();
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    buildMenuKeys();
    orderTabStops();
    shop_.places.followMain(this);
    makeVitrina();
    makeSearch();
    makeSalePanel();
    makeKatalog();
    makeScanner();
    connectControls();
    connectMenus();
    // Another program's version of Danni.xls, chosen at a save, replaces the data in memory.
    shop_.onReloadWanted(this, [this] { guarded([this] { reloadDanni(); }); });
}

Form1::~Form1() = default;

void Form1::makeVitrina()
{
    showcase::ShowcaseControls c{};
    c.List1 = List1;
    c.slotControls = {{{Image1[0], Label4, Label3, Label2, Label18, Label12},
                       {Image1[1], Label6, Label7, Label8, Label19, Label13},
                       {Image1[2], Label9, Label10, Label11, Label20, Label14}}};
    c.Image3 = Image3;
    c.Image6 = Image6;
    c.Text1 = Text1;
    c.Text2 = Text2;
    c.Image4 = Image4;
    c.Label21 = Label21;
    c.Image5 = Image5;
    c.Text3 = Text3;
    c.Image2 = Image2;
    c.List2 = List2;
    c.List3 = List3;
    c.Combo1 = Combo1;
    c.Command3 = Command3;
    c.Command6 = Command6;
    articles_ = new showcase::ArticleList(this);
    goods_ = new showcase::ArticleGoods([this] { return shop_.danniIfOpen(); }, this);
    vitrina_ = new showcase::Vitrina(shop_, *this, *articles_, *goods_, c, this);
}

void Form1::makeSearch()
{
    tyrsene_ = new search::Tyrsene(shop_, *this, *articles_, this, this);
    sortirane_ = new search::Sortirane(shop_, *this, *articles_, this, this);
    connect(sortirane_, &search::Sortirane::showcaseOutOfDate, vitrina_, &showcase::Vitrina::chooseArticle);
    connect(vitrina_, &showcase::Vitrina::articleListed, tyrsene_, &search::Tyrsene::articleListed);
    connect(Command4, &QPushButton::clicked, this, [this] { guarded([this] { tyrsene_->open(); }); });
    connect(Command2, &QPushButton::clicked, this, [this] { guarded([this] { sortirane_->open(); }); });
    const auto searchIn = [this](QAction* entry, search::Tyrsene::Mode mode) {
        connect(entry, &QAction::triggered, this, [this, mode] { guarded([this, mode] { tyrsene_->openInMode(mode); }); });
    };
    searchIn(poime, search::Tyrsene::ByName);
    searchIn(pocena, search::Tyrsene::Price);
    searchIn(napromocia, search::Tyrsene::Promotions);
    searchIn(nastoka, search::Tyrsene::Missing);
    const auto sortBy = [this](QAction* entry, search::Sortirane::Criterion criterion) {
        connect(entry, &QAction::triggered, this,
                [this, criterion] { guarded([this, criterion] { sortirane_->openWith(criterion); }); });
    };
    sortBy(poimesort, search::Sortirane::ByName);
    sortBy(pocenasort, search::Sortirane::ByPrice);
}

void Form1::makeSalePanel()
{
    sales::SaleControls c{};
    c.articles = articles_;
    c.List2 = List2;
    c.goods = goods_;
    c.Combo1 = Combo1;
    c.Image8 = Image8;
    c.Image9 = Image9;
    c.Text4 = Text4;
    c.Command1 = Command1;
    c.Command9 = Command9;
    c.Option1 = Option1;
    c.koshnica = koshnica;
    sales_ = new sales::SalePanel(shop_, *this, c, this);
    connect(sales_, &sales::SalePanel::showcaseOutOfDate, vitrina_, &showcase::Vitrina::chooseArticle);
    connect(sales_, &sales::SalePanel::status, this, &Form1::showStatus);
    connect(sales_, &sales::SalePanel::stockOutOfDate, this, [this] { guarded([this] { vitrina_->Nalichni(); }); });
    // Before an archive copy replaces the data, the basket's goods go back to stock.
    connect(this, &Form1::dataReplacing, sales_, &sales::SalePanel::programEnds);
}

void Form1::makeKatalog()
{
    katalog_ = new catalogue::Katalog(shop_, *this, *articles_, this);
    connect(Command5, &QPushButton::clicked, this, [this] { guarded([this] { katalog_->openGoodsEditor(); }); });
    connect(Command7, &QPushButton::clicked, this, [this] { katalog_->showArticleWindow(); });
    connect(Command8, &QPushButton::clicked, this, [this] { guarded([this] { katalog_->deleteArticle(); }); });
    connect(katalog_, &catalogue::Katalog::showcaseOutOfDate, vitrina_, &showcase::Vitrina::chooseArticle);
}

void Form1::makeScanner()
{
    scanner_ = new ScannerKeys(this);
    connect(scanner_, &ScannerKeys::scanned, this,
            [this](const QString& code) { guarded([this, code] { sellScanned(code); }); });
}

void Form1::sellScanned(const QString& code)
{
    const auto hit = catalogue::findBarcode(shop_.data(), code);
    if (!hit) {
        QApplication::beep();
        warning(catalogue::unknownBarcodeText(code));
        return;
    }
    const int row = store::layout::article::recordRow(hit->record);
    vitrina_->showGoods(hit->article, row);
    sales_->addScannedPiece(hit->article, row);
}

void Form1::connectControls()
{
    connect(vitrina_, &showcase::Vitrina::pokajiProdajba, this, &Form1::PokajiProdajba);
    connect(Command3, &QPushButton::clicked, this, &Form1::home);
    connect(Command11, &QPushButton::clicked, this, [] { tellProblem(openCalculator()); });
    connect(Image7, &ClickLabel::clicked, this, [this] { PokajiProdajba(false); });
    connect(Command10, &QPushButton::clicked, this, [this] { reports::SpravkaProdajbi(shop_); });
}

void Form1::connectMenus()
{
    connect(Nachalo, &QAction::triggered, this, [this] {
        PokajiProdajba(false);
        home();
    });
    connect(artikuldob, &QAction::triggered, Command7, &QPushButton::click);
    connect(stokadob, &QAction::triggered, Command5, &QPushButton::click);
    connect(prodadenistoki, &QAction::triggered, Command10, &QPushButton::click);
    connect(zakupenistoki, &QAction::triggered, this, [this] {
        if (Command8->isEnabled()) reports::openPurchasedGoods(shop_);
    });
    connect(Pechalba, &QAction::triggered, this, [this] { reports::openProfit(shop_); });
    connect(zaporachka, &QAction::triggered, this, [this] { reports::openOrderList(shop_); });
    connect(vrashtane, &QAction::triggered, this, [this] { guarded([this] { showReturns(); }); });
    connect(fakturi, &QAction::triggered, this, [this] { sales::openIssuedDocuments(shop_); });
    connect(artikul, &QAction::triggered, Command8, &QPushButton::click);
    connect(stoka, &QAction::triggered, this, [this] { guarded([this] { stokaForDeletion(); }); });
    connect(obshto, &QAction::triggered, this, &Form1::showAbout);
    connect(poveche, &QAction::triggered, this, [this] { tellProblem(openDocument(shop_.file(store::kHelpFile))); });
    connect(arhiv, &QAction::triggered, this, [this] { guarded([this] { showArchive(); }); });
    connect(evro, &QAction::triggered, this, [this] { guarded([this] { goOverToEuro(); }); });
    connect(izhod, &QAction::triggered, this, &QWidget::close);
}

void Form1::load()
{
    Label22->setText(store::formatShopDate(QDate::currentDate()));
    guarded([this] { vitrina_->ZarediArtikuli(); });
    Image2->move(twipsRect(10928, 1328, 0, 0).topLeft());
    vitrina_->closeDetails();
    show();
    Command3->setFocus();
    PokajiProdajba(false);
    Flag7 = false;
    Text4->setText(QStringLiteral("0"));
    openFaktura();
    Option2->setChecked(true);
    Option1->setChecked(false);
    showCurrency();
}

void Form1::openFaktura()
{
    shop_.FakturaEksel = shop_.newApplication();
    formCurrency_ = shop_.currency();
    const QString path = shop_.file(store::kInvoiceFile);
    const QString problem = QStringLiteral("Формата на фактурата „%1“ не може да бъде отворена: %2\n\n"
                                           "Програмата работи и без нея, но фактури няма да могат да се показват.");
    if (!ImaFail(path)) {
        failure(problem.arg(QDir::toNativeSeparators(path), QStringLiteral("файлът липсва.")));
        return;
    }
    try {
        sales::openInvoiceForm(*shop_.FakturaEksel, path, shop_.currency());
    } catch (const store::Error& e) {
        failure(problem.arg(QDir::toNativeSeparators(path), e.message()));
    }
}

void Form1::PokajiProdajba(bool show)
{
    for (QWidget* w : std::initializer_list<QWidget*>{Label15, List2, Image7, Combo1, Command1, Command9, List3,
                                                      Image8, Text4, Image9, Option2, Option1, Label16})
        w->setVisible(show);
    koshnica->setVisible(show);
}

void Form1::showStatus(const QString& text)
{
    constexpr int kMinute = 60 * 1000;
    statusBar()->showMessage(text, kMinute);
}

void Form1::home()
{
    vitrina_->closeDetails();
    PokajiProdajba(false);
    vitrina_->setBannerVisible(true);
    shop_.windows.closeFor(Closer::Home);
}

void Form1::stokaForDeletion()
{
    Command5->click();
    if (!shop_.hasArticles()) return;
    // The goods editor, once open, gets its delete button ready.
    if (QWidget* editor = shop_.windows.window(4))
        if (auto* remove = editor->findChild<QPushButton*>(QStringLiteral("Command2"))) remove->setFocus();
}

void Form1::showAbout()
{
    QWidget* about = shop_.windows.window(13);
    if (!about) about = new Form13(shop_);
    about->show();
    about->raise();
}

void Form1::showReturns()
{
    auto* window = qobject_cast<sales::Form15*>(shop_.windows.window(15));
    if (!window) {
        window = new sales::Form15(shop_);
        connect(window, &sales::Form15::status, this, &Form1::showStatus);
        // The goods and stock lists are read again only while the sale panel shows them.
        connect(window, &sales::Form15::stockOutOfDate, this, [this] {
            if (!List2->isHidden()) guarded([this] { vitrina_->Nalichni(); });
        });
    }
    window->show();
    window->raise();
}

void Form1::showArchive()
{
    QWidget* window = shop_.windows.window(14);
    if (!window) window = new Form14(shop_, [this](const archive::Copy& copy) { putBackCopy(copy); });
    window->show();
    window->raise();
}

void Form1::putBackCopy(const archive::Copy& copy)
{
    emit dataReplacing();
    shop_.arhiv.putBack(copy);
    shop_.openDanni();
    afterDataReplaced();
}

void Form1::reloadDanni()
{
    emit dataReplacing();
    shop_.openDanni();
    afterDataReplaced();
}

// The window as the login leaves it, on the data put back.
void Form1::afterDataReplaced()
{
    shop_.windows.closeFor(Closer::Archive);
    ImeNaList.clear();
    BroiStoki = 0;
    vitrina_->closeDetails();
    PokajiProdajba(false);
    vitrina_->setBannerVisible(true);
    vitrina_->ZarediArtikuli();
    Flag7 = false;
    Text4->setText(QStringLiteral("0"));
    Option2->setChecked(true);
    Option1->setChecked(false);
    Command3->setFocus();
    // The invoice form follows a change of currency: opened again, a filled invoice on screen
    // goes with it.
    if (formCurrency_ != shop_.currency()) {
        quitWithoutAsking(shop_.FakturaEksel);
        openFaktura();
    }
    showCurrency();
}

void Form1::showCurrency()
{
    const bool leva = shop_.currency() == store::Currency::Leva;
    evro->setVisible(leva);
    evroNotice->setText(QStringLiteral("От 1 януари 2026 г. парите в България са евро, а цените на магазина са още в лева. "
                                       "Преминаването е в менюто „За програмата“ → „Преминаване към евро“."));
    evroNotice->setVisible(leva && QDate::currentDate() >= kEuroDay);
}

void Form1::goOverToEuro()
{
    if (shop_.currency() == store::Currency::Euro) {
        warning(currency::errorMessage(currency::CurrencyError::AlreadyEuro, {}));
        return;
    }
    if (!sales_->basket().isEmpty()) {
        warning(QStringLiteral("Кошницата не е празна"));
        return;
    }
    if (!askYesNo(currency::changeoverQuestion(currency::planChangeover(shop_.data())))) return;
    const currency::ChangeoverDone done =
        currency::changeShopToEuro(shop_.danni(), shop_.arhiv, shop_.file(store::kInvoiceFile));
    afterDataReplaced();
    QString report = QStringLiteral("Магазинът премина към евро: превърнати са %1 цени.\n\n"
                                    "Данните в лева са запазени като архивно копие от %2; "
                                    "ако го възстановите от „Архивни копия“, магазинът се връща към лева.")
                         .arg(done.prices)
                         .arg(archive::whenTaken(done.archiveCopy));
    if (!done.formProblem.isEmpty())
        report += QStringLiteral("\n\nФайлът на фактурата не можа да бъде записан в евро (%1); програмата го "
                                 "показва в евро и без това.").arg(done.formProblem);
    inform(report);
}

void Form1::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
    emit unloaded();
}

void Form1::Form_Unload()
{
    // Goods still in the basket go back to stock before the data workbook goes.
    sales_->programEnds();
    quitWithoutAsking(shop_.ObektEksel);
    // The invoice on screen goes with its application now; otherwise ZatvoriEksel takes it.
    if (shop_.FakturaEksel && shop_.FakturaEksel->Visible()) quitWithoutAsking(shop_.FakturaEksel);
    ZatvoriEksel(shop_);
    shop_.windows.closeFor(Closer::Exit);
}

} // namespace app
