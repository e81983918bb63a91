#include "app/MenuTree.h"

#include <algorithm>

namespace korvel {

namespace {

MenuItemSpec item(const char* name, const char* caption) {
    return {QString::fromUtf8(name), QString::fromUtf8(caption)};
}

MenuItemSpec hiddenItem(const char* name, const char* caption) {
    MenuItemSpec spec = item(name, caption);
    spec.hidden = true;
    return spec;
}

MenuItemSpec disabledItem(const char* name, const char* caption) {
    MenuItemSpec spec = item(name, caption);
    spec.disabled = true;
    return spec;
}

MenuItemSpec separator() {
    return {QString(), QStringLiteral("-")};
}

MenuItemSpec hiddenSeparator() {
    MenuItemSpec spec = separator();
    spec.hidden = true;
    return spec;
}

MenuSpec menu(const char* name, const char* caption, std::vector<MenuItemSpec> items) {
    return {QString::fromUtf8(name), QString::fromUtf8(caption), std::move(items)};
}

MenuSpec contextMenu(const char* name, const char* caption, std::vector<MenuItemSpec> items) {
    MenuSpec spec = menu(name, caption, std::move(items));
    spec.hidden = true;
    return spec;
}

// The print commands of the context menus and whether their screen has grids to save as CSV.
const std::vector<std::pair<const char*, bool>>& exportedPrintCommands() {
    static const std::vector<std::pair<const char*, bool>> commands = {
        {"yazdıryıllıkn", true},  {"sevgozyazdır", true},       {"yazdıraylık", true}, {"yıllıkgryaz", false},
        {"aylıkgrafyazn", false}, {"sutemintablosuyazn", true}, {"Tabloayazd", true},
    };
    return commands;
}

// Puts the preview, PDF and CSV commands right after each print command of the menu.
void addExportItems(MenuSpec& spec) {
    for (const auto& [print, withCsv] : exportedPrintCommands()) {
        const QString printName = QString::fromUtf8(print);
        auto at = std::find_if(spec.items.begin(), spec.items.end(),
                               [&](const MenuItemSpec& entry) { return entry.name == printName; });
        if (at == spec.items.end())
            continue;
        std::vector<MenuItemSpec> added = {{previewCommand(printName), QStringLiteral("Baskı önizleme")},
                                           {pdfCommand(printName), QStringLiteral("PDF olarak kaydet")}};
        if (withCsv)
            added.push_back({csvCommand(printName), QStringLiteral("CSV olarak kaydet")});
        spec.items.insert(at + 1, added.begin(), added.end());
    }
}

} // namespace

QString previewCommand(const QString& printCommand) {
    return QStringLiteral("önizle") + printCommand;
}

QString pdfCommand(const QString& printCommand) {
    return QStringLiteral("pdf") + printCommand;
}

QString csvCommand(const QString& printCommand) {
    return QStringLiteral("csv") + printCommand;
}

const std::vector<MenuSpec>& fixedMenus() {
    static const std::vector<MenuSpec> menus = {
        menu("İstasyonn", "İstasyon",
             {hiddenItem("istasyonsecn", "İstasyon seç"), item("yeniistasyonn", "Yeni istasyon oluştur"),
              item("kaydetn", "İstasyon bilgilerini kaydet"), separator(), hiddenSeparator(),
              item("suvakaktar", "Suvak datalarının KORVEL2000'e aktarılması"),
              item("korvel96aktar", "Korvel96 datalarının KORVEL2000'e aktarılması"), separator(),
              item("korvel2000dosyalarıyollaal", "Korvel2000 dosyalarını yolla/al"),
              item("dosyasilmen", "Dosya silme"), item("degisiklikgecmisin", "Değişiklik geçmişi")}),
        menu("iletisimn", "İletişim",
             {item("limnigrafadirekbaglantın", "Limnigrafa direk bağlantı"),
              item("modemilebaglantı", "Modem ile limnigrafa bağlantı"), item("bilgihamalı", "Bilgi hamalı"),
              separator(), item("mulineilebaglantı", "Muline ile direk bağlantı"), separator(),
              item("pluviometrefrm", "Pluviograf")}),
        menu("korsuvakn", "Korsuvak",
             {item("seviyegozlemcetvelin", "Seviye gözlem cetveli (Eşel)"),
              item("Aylıkn", "Seviye gözlem cetveli (Limnigraf)"), item("yıllıkn", "Yıllık akım tablosu "),
              separator(), item("kitapn", "Kitap"), item("yillikkitapn", "Yıllık kitap (tüm istasyonlar)"),
              item("suteminitablon", "Su temini tablosu"), separator(),
              item("hqanahtarn", "HQ anahtar degerleri"), item("olcukayıtkatn", "Ölçü kayıt kartı"),
              separator(), item("suyılıaylıkdn", "Su yılının aylık akım ile oluşturulması"),
              item("korelasyonn", "İstasyonlar arası korelasyon"), separator(),
              item("korvel96n", "Korvel96")}),
        menu("Tablolar", "Tablolar",
             {item("p", "Pluviograf Değerlendirme"), disabledItem("tablo1", "Tablolar (1)"),
              disabledItem("tablo2", "Tablolar(2)"), disabledItem("tablo3", "Tablolar(3)"),
              disabledItem("tablo4", "Tablolar(4)")}),
        menu("cokyillikn", "Çok yıllık",
             {item("yagissiddetn", "Yağış şiddet-süre-tekerrür (IDF)"),
              item("akimsureklilikn", "Akım süreklilik eğrisi"),
              item("uzundonemakimn", "Uzun dönem akım kaydı")}),
        menu("ayarlarn", "Ayarlar", {item("iletişimn", "İletişim"), item("yazıcın", "Yazıcı ayarları")}),
        menu("yardımn", "Yardım", {item("hakkından", "Hakkında")}),
    };
    return menus;
}

const std::vector<MenuSpec>& contextMenus() {
    static const std::vector<MenuSpec> menus = [] {
        std::vector<MenuSpec> list = {
            contextMenu("yıllıkakımtablsosuhesabları", "Yıllık akım tablosu hesabları",
                        {item("yazdıryıllıkn", "Yıllık akım tablosunu Yazdır"),
                         item("yıllıkakımgrafn", "Yıllık akım tablosunu grafiği"),
                         item("yıllıkakımkapat", "Yıllık akım tablosunu kapat")}),
            contextMenu("sev122", "Seviye gözlem çetveli",
                        {item("yenisuyılekle", "Yeni su yılı ekle"),
                         item("sevgozkaydet", "Seviye gözlem çetvelini kaydet"),
                         item("sevgozyazdır", "Seviye gözlem çetvelini yazdir"),
                         item("sevgozkapat", "Seviye gözlem çetvelini kapat")}),
            contextMenu("aylıkakımtabhesabn", "Aylık akım tablosu ve hesabları",
                        {item("aylıkkayden", "Aylık akım tablosundaki değişiklikleri kaydet"),
                         item("yazdıraylık", "Aylık akım tablosunu yazdır"),
                         item("aylıkakımgraf", "Aylık akım tablosunun grafiği"),
                         item("aylıkkapatn", "Aylık akım tablosunu  kapat")}),
            contextMenu("hqanahtardegerlerin", "HQ anahtar değerleri",
                        {item("hqyeni", "Yeni HQ tablosu oluştur"),
                         item("hqtabloboluktam", "HQ tablosunun boşluklarini tamamla"),
                         item("hqkaydetn", "HQ tablosundaki değişiklikleri kaydet"),
                         item("hqanahtaregrisi", "Anahtar eğrisi"), item("hqkapatn", "HQ tablosunu kapat")}),
            contextMenu("yıllıkgrafik", "Yıllık grafik",
                        {item("yıllıkgryaz", "Yıllık grafiği yazdır"),
                         item("yıllıkgrkapat", "Yıllık grafiği kapat")}),
            contextMenu("kyazdırn", "Kitap sayfasını Yazdır", {}),
            contextMenu("aylıkgrafn", "Aylık grafik",
                        {item("aylıkgrafyazn", "Aylık grafiği yazdır"),
                         item("aylıkgrafkapat", "Aylık grafiği kapat")}),
            contextMenu("olckartnn", "Ölçü kayıt kartı",
                        {item("olcukkaydetn", "Ölçü kayıt kartını kaydet"),
                         item("olcuanahtaregrisi", "Anahtar eğrisi"),
                         item("olcukakapat", "Ölçü kayıt kartını kapat")}),
            contextMenu("suteminitabln", "Su temini tablosu",
                        {item("sutemintablosuyazn", "Su temini tablosunu yazdır"),
                         item("suteminikapatn", "Su temini tablosunu kapat")}),
            contextMenu("pludeg", "Plüviograf Değerlendirme",
                        {item("Tabloayazd", "Tabloyu Yazdır"), item("yagışgraylık", "Yağış Grafiği "),
                         item("yenisuyılıekleyagıs", "Yeni Su Yılı Ekle"),
                         item("Tabloyukapat", "Tabloyu Kapat")}),
        };
        for (MenuSpec& spec : list) {
            spec.isCommand = spec.items.empty();
            addExportItems(spec);
        }
        return list;
    }();
    return menus;
}

QString copyMenuName(int number) {
    return QStringLiteral("kesmen%1").arg(number);
}

QString copyItemName(int number) {
    return QStringLiteral("kes%1").arg(number);
}

const std::vector<MenuSpec>& copyMenus() {
    static const std::vector<MenuSpec> menus = [] {
        std::vector<MenuSpec> list;
        for (int n = 1; n <= kCopyMenuCount; ++n) {
            MenuSpec spec{copyMenuName(n), QStringLiteral("kes"), {{copyItemName(n), QStringLiteral("kes")}}};
            spec.hidden = true;
            list.push_back(std::move(spec));
        }
        return list;
    }();
    return menus;
}

} // namespace korvel
