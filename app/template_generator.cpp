// Runs on the build machine: writes the tool's window template, from its
// description, as the body of a byte array that quillet.exe compiles into its
// read-only data.
#include <cstdio>

#include "app/template_description.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: template_generator OUTPUT.inc\n");
        return 2;
    }
    const std::vector<uint8_t> bytes = quillet::app::TemplateBytes();
    std::FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "// Written by template_generator from app/template_description.cpp: %zu bytes.\n",
                 bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        std::fprintf(out, "0x%02X,%s", bytes[i], (i + 1) % 16 == 0 || i + 1 == bytes.size() ? "\n" : " ");
    return std::fclose(out) == 0 ? 0 : 1;
}
