#include "cli/Korvel.h"

#ifdef KORVEL_WITH_PDF
#include "platform/NetworkBookDocument.h"
#include "platform/SheetDocument.h"
#endif

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    korvel::SheetPdfWriter pdfWriter;
    korvel::NetworkBookPdfWriter bookWriter;
#ifdef KORVEL_WITH_PDF
    pdfWriter = korvel::writeSheetsPdfHeadless;
    bookWriter = [](const korvel::NetworkBookPlan& plan, const std::filesystem::path& file,
                    const korvel::Locale& locale) {
        korvel::NetworkBookSummary summary;
        korvel::withGuiApplication([&] { summary = korvel::writeNetworkBookPdf(plan, file, locale); });
        return summary;
    };
#endif
    return korvel::runKorvel(args, std::cout, std::cerr, pdfWriter, bookWriter);
}
