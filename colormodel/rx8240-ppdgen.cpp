// rx8240-ppdgen DEVICE_PART OUTPUT LANGUAGE=CATALOGUE.ts...
// Writes the rx8240 PPD made from the colour model (PpdGenerator.h): the
// device part, then the colour options translated into each LANGUAGE from
// its catalogue. Exits 1 with a message when a catalogue cannot be read or
// lacks a text, or the PPD cannot be written.
#include "colormodel/PpdGenerator.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::cerr << "usage: rx8240-ppdgen DEVICE_PART OUTPUT LANGUAGE=CATALOGUE.ts...\n";
        return 1;
    }
    std::ifstream deviceFile(argv[1], std::ios::binary);
    std::stringstream device;
    device << deviceFile.rdbuf();
    if (!deviceFile) {
        std::cerr << "rx8240-ppdgen: cannot read " << argv[1] << "\n";
        return 1;
    }
    std::vector<colormodel::PpdLanguage> languages;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        const std::size_t eq = arg.find('=');
        std::string error;
        colormodel::PpdLanguage language;
        if (eq == std::string::npos || eq == 0) {
            std::cerr << "rx8240-ppdgen: expected LANGUAGE=CATALOGUE, got " << arg << "\n";
            return 1;
        }
        language.code = arg.substr(0, eq);
        if (!colormodel::readCatalogue(arg.substr(eq + 1), &language.texts, &error)) {
            std::cerr << "rx8240-ppdgen: " << error << "\n";
            return 1;
        }
        languages.push_back(std::move(language));
    }
    std::string ppd, error;
    if (!colormodel::generatePpd(device.str(), languages, &ppd, &error)) {
        std::cerr << "rx8240-ppdgen: " << error << "\n";
        return 1;
    }
    const std::string temporary = std::string(argv[2]) + ".tmp";
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << ppd;
    out.close();
    if (!out || std::rename(temporary.c_str(), argv[2]) != 0) {
        std::cerr << "rx8240-ppdgen: cannot write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
