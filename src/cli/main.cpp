#include "cli/Korvel.h"

#include <iostream>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return korvel::runKorvel(args, std::cout, std::cerr);
}
