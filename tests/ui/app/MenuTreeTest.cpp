#include "AppTestDrive.h"
#include "app/MainWindow.h"

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace korvel;

namespace {

// One row of the expected tree: command name ("" for a separator), caption ("-" for a
// separator), and whether the item shows and is enabled right after start-up (the station
// screen is then the active child).
struct Row {
    const char* name;
    const char* caption;
    bool visible = true;
    bool enabled = true;
};

struct Menu {
    const char* name;
    const char* caption;
    bool visible;
    std::vector<Row> rows;
};

const Row sep{"", "-"};

const std::vector<Menu>& expectedMenus() {
    static const std::vector<Menu> menus = {
        {"İstasyonn",
         "İstasyon",
         true,
         {{"istasyonsecn", "İstasyon seç", false},
          {"yeniistasyonn", "Yeni istasyon oluştur"},
          {"kaydetn", "İstasyon bilgilerini kaydet"},
          sep,
          {"", "-", false},
          {"suvakaktar", "Suvak datalarının KORVEL2000'e aktarılması"},
          {"korvel96aktar", "Korvel96 datalarının KORVEL2000'e aktarılması"},
          sep,
          {"korvel2000dosyalarıyollaal", "Korvel2000 dosyalarını yolla/al"},
          {"dosyasilmen", "Dosya silme"},
          {"degisiklikgecmisin", "Değişiklik geçmişi"}}},
        {"iletisimn",
         "İletişim",
         true,
         {{"limnigrafadirekbaglantın", "Limnigrafa direk bağlantı"},
          {"modemilebaglantı", "Modem ile limnigrafa bağlantı"},
          {"bilgihamalı", "Bilgi hamalı"},
          sep,
          {"mulineilebaglantı", "Muline ile direk bağlantı"},
          sep,
          {"pluviometrefrm", "Pluviograf"}}},
        {"korsuvakn",
         "Korsuvak",
         true,
         {{"seviyegozlemcetvelin", "Seviye gözlem cetveli (Eşel)"},
          {"Aylıkn", "Seviye gözlem cetveli (Limnigraf)"},
          {"yıllıkn", "Yıllık akım tablosu "},
          sep,
          {"kitapn", "Kitap"},
          {"yillikkitapn", "Yıllık kitap (tüm istasyonlar)"},
          {"suteminitablon", "Su temini tablosu"},
          sep,
          {"hqanahtarn", "HQ anahtar degerleri"},
          {"olcukayıtkatn", "Ölçü kayıt kartı"},
          sep,
          {"suyılıaylıkdn", "Su yılının aylık akım ile oluşturulması"},
          {"korelasyonn", "İstasyonlar arası korelasyon"},
          sep,
          {"korvel96n", "Korvel96"}}},
        {"Tablolar",
         "Tablolar",
         true,
         {{"p", "Pluviograf Değerlendirme"},
          {"tablo1", "Tablolar (1)", true, false},
          {"tablo2", "Tablolar(2)", true, false},
          {"tablo3", "Tablolar(3)", true, false},
          {"tablo4", "Tablolar(4)", true, false}}},
        {"cokyillikn",
         "Çok yıllık",
         true,
         {{"yagissiddetn", "Yağış şiddet-süre-tekerrür (IDF)"},
          {"akimsureklilikn", "Akım süreklilik eğrisi"},
          {"uzundonemakimn", "Uzun dönem akım kaydı"}}},
        {"ayarlarn", "Ayarlar", true, {{"iletişimn", "İletişim"}, {"yazıcın", "Yazıcı ayarları"}}},
        {"yardımn", "Yardım", true, {{"hakkından", "Hakkında"}}},
        {"yıllıkakımtablsosuhesabları",
         "Yıllık akım tablosu hesabları",
         false,
         {{"yazdıryıllıkn", "Yıllık akım tablosunu Yazdır"},
          {"önizleyazdıryıllıkn", "Baskı önizleme"},
          {"pdfyazdıryıllıkn", "PDF olarak kaydet"},
          {"csvyazdıryıllıkn", "CSV olarak kaydet"},
          {"yıllıkakımgrafn", "Yıllık akım tablosunu grafiği"},
          {"yıllıkakımkapat", "Yıllık akım tablosunu kapat"}}},
        {"sev122",
         "Seviye gözlem çetveli",
         false,
         {{"yenisuyılekle", "Yeni su yılı ekle"},
          {"sevgozkaydet", "Seviye gözlem çetvelini kaydet"},
          {"sevgozyazdır", "Seviye gözlem çetvelini yazdir"},
          {"önizlesevgozyazdır", "Baskı önizleme"},
          {"pdfsevgozyazdır", "PDF olarak kaydet"},
          {"csvsevgozyazdır", "CSV olarak kaydet"},
          {"sevgozkapat", "Seviye gözlem çetvelini kapat"}}},
        {"aylıkakımtabhesabn",
         "Aylık akım tablosu ve hesabları",
         false,
         {{"aylıkkayden", "Aylık akım tablosundaki değişiklikleri kaydet"},
          {"yazdıraylık", "Aylık akım tablosunu yazdır"},
          {"önizleyazdıraylık", "Baskı önizleme"},
          {"pdfyazdıraylık", "PDF olarak kaydet"},
          {"csvyazdıraylık", "CSV olarak kaydet"},
          {"aylıkakımgraf", "Aylık akım tablosunun grafiği"},
          {"aylıkkapatn", "Aylık akım tablosunu  kapat"}}},
        {"hqanahtardegerlerin",
         "HQ anahtar değerleri",
         false,
         {{"hqyeni", "Yeni HQ tablosu oluştur"},
          {"hqtabloboluktam", "HQ tablosunun boşluklarini tamamla"},
          {"hqkaydetn", "HQ tablosundaki değişiklikleri kaydet"},
          {"hqanahtaregrisi", "Anahtar eğrisi"},
          {"hqkapatn", "HQ tablosunu kapat"}}},
        {"yıllıkgrafik",
         "Yıllık grafik",
         false,
         {{"yıllıkgryaz", "Yıllık grafiği yazdır"},
          {"önizleyıllıkgryaz", "Baskı önizleme"},
          {"pdfyıllıkgryaz", "PDF olarak kaydet"},
          {"yıllıkgrkapat", "Yıllık grafiği kapat"}}},
        {"kyazdırn", "Kitap sayfasını Yazdır", false, {}},
        {"aylıkgrafn",
         "Aylık grafik",
         false,
         {{"aylıkgrafyazn", "Aylık grafiği yazdır"},
          {"önizleaylıkgrafyazn", "Baskı önizleme"},
          {"pdfaylıkgrafyazn", "PDF olarak kaydet"},
          {"aylıkgrafkapat", "Aylık grafiği kapat"}}},
        {"olckartnn",
         "Ölçü kayıt kartı",
         false,
         {{"olcukkaydetn", "Ölçü kayıt kartını kaydet"},
          {"olcuanahtaregrisi", "Anahtar eğrisi"},
          {"olcukakapat", "Ölçü kayıt kartını kapat"}}},
        {"suteminitabln",
         "Su temini tablosu",
         false,
         {{"sutemintablosuyazn", "Su temini tablosunu yazdır"},
          {"önizlesutemintablosuyazn", "Baskı önizleme"},
          {"pdfsutemintablosuyazn", "PDF olarak kaydet"},
          {"csvsutemintablosuyazn", "CSV olarak kaydet"},
          {"suteminikapatn", "Su temini tablosunu kapat"}}},
        {"pludeg",
         "Plüviograf Değerlendirme",
         false,
         {{"Tabloayazd", "Tabloyu Yazdır"},
          {"önizleTabloayazd", "Baskı önizleme"},
          {"pdfTabloayazd", "PDF olarak kaydet"},
          {"csvTabloayazd", "CSV olarak kaydet"},
          {"yagışgraylık", "Yağış Grafiği "},
          {"yenisuyılıekleyagıs", "Yeni Su Yılı Ekle"},
          {"Tabloyukapat", "Tabloyu Kapat"}}},
    };
    return menus;
}

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// The menu-bar entry: a menu's object name, or the command's own name for a command menu.
QString entryName(const QAction* entry) {
    return entry->menu() != nullptr ? entry->menu()->objectName() : entry->objectName();
}

} // namespace

class MenuTreeTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        drive_ = std::make_unique<test::TestDrive>(false);
        window_ = std::make_unique<MainWindow>(drive_->context());
        window_->start();
    }
    void cleanup() {
        window_.reset();
        drive_.reset();
    }

    void windowIsCaptionedWithTheProgramVersion() {
        QCOMPARE(window_->windowTitle(), text("KORVEL2000 vdx.1.1"));
        // The program icon is drawn: some of its pixels are not transparent.
        const QImage icon = window_->windowIcon().pixmap(32, 32).toImage();
        QVERIFY(!icon.isNull());
        bool drawn = false;
        for (int y = 0; y < icon.height() && !drawn; ++y)
            for (int x = 0; x < icon.width() && !drawn; ++x)
                drawn = qAlpha(icon.pixel(x, y)) > 0;
        QVERIFY(drawn);
    }

    // Every menu of the bar in order, every item with caption, name and start-up state.
    void menuBarHoldsTheWholeTreeAtStartUp() {
        const QList<QAction*> entries = window_->menuBar()->actions();
        const std::vector<Menu>& expected = expectedMenus();
        QCOMPARE(entries.size(), qsizetype(expected.size()) + 12);
        for (std::size_t m = 0; m < expected.size(); ++m) {
            const Menu& menu = expected[m];
            const QAction* entry = entries[qsizetype(m)];
            QCOMPARE(entryName(entry), text(menu.name));
            QCOMPARE(entry->text(), text(menu.caption));
            QCOMPARE(entry->isVisible(), menu.visible);
            const QList<QAction*> items =
                entry->menu() != nullptr ? entry->menu()->actions() : QList<QAction*>{};
            QCOMPARE(items.size(), qsizetype(menu.rows.size()));
            for (std::size_t r = 0; r < menu.rows.size(); ++r) {
                const Row& row = menu.rows[r];
                const QAction* item = items[qsizetype(r)];
                const QString where = text(menu.name) + "/" + QString::number(r);
                if (text(row.name).isEmpty()) {
                    QVERIFY2(item->isSeparator(), qPrintable(where));
                } else {
                    QVERIFY2(!item->isSeparator(), qPrintable(where));
                    QCOMPARE(item->objectName(), text(row.name));
                    QCOMPARE(item->text(), text(row.caption));
                }
                QVERIFY2(item->isVisible() == row.visible, qPrintable(where));
                // A hidden action cannot be triggered, so it reads as disabled too.
                QVERIFY2(item->isEnabled() == (row.enabled && row.visible), qPrintable(where));
            }
        }
    }

    void twelveHiddenCopyMenusEachWithOneKesItem() {
        const QList<QAction*> entries = window_->menuBar()->actions();
        const qsizetype first = qsizetype(expectedMenus().size());
        for (int n = 1; n <= 12; ++n) {
            const QAction* entry = entries[first + n - 1];
            QVERIFY(entry->menu() != nullptr);
            QCOMPARE(entry->menu()->objectName(), QStringLiteral("kesmen%1").arg(n));
            QVERIFY(!entry->isVisible());
            const QList<QAction*> items = entry->menu()->actions();
            QCOMPARE(items.size(), 1);
            QCOMPARE(items[0]->objectName(), QStringLiteral("kes%1").arg(n));
            QCOMPARE(items[0]->text(), QStringLiteral("kes"));
        }
    }

    void commandsAreFoundByName() {
        QCOMPARE(window_->command("tablo3")->text(), text("Tablolar(3)"));
        QCOMPARE(window_->menu("pludeg")->title(), text("Plüviograf Değerlendirme"));
        QCOMPARE(window_->command("kyazdırn")->text(), text("Kitap sayfasını Yazdır"));
        QVERIFY(window_->command("nosuchcommand") == nullptr);
    }

private:
    std::unique_ptr<test::TestDrive> drive_;
    std::unique_ptr<MainWindow> window_;
};

QTEST_MAIN(MenuTreeTest)
#include "MenuTreeTest.moc"
