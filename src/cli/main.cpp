#include "cli/Korvel.h"

#ifdef KORVEL_WITH_PDF
#include "platform/SheetDocument.h"
#endif

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    korvel::SheetPdfWriter pdfWriter;
#ifdef KORVEL_WITH_PDF
    pdfWriter = korvel::writeSheetsPdfHeadless;
#endif
    return korvel::runKorvel(args, std::cout, std::cerr, pdfWriter);
}
