// The Windows half of the conformance comparison: renders every scene through GDI, on a desktop
// set to the classic colours, and writes the pictures and the caption facts into a folder.
//   conformance_dump.exe FOLDER
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>

#include "conformance/Scenes.hpp"
#include "gdi/win32/windows.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: conformance_dump FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    std::array<INT, gdi::kSysColorCount> indices{};
    std::array<COLORREF, gdi::kSysColorCount> classic{};
    const gdi::SysColorTable table = gdi::ClassicSysColors();
    for (int i = 0; i < gdi::kSysColorCount; ++i) indices[i] = i;
    std::copy(table.begin(), table.end(), classic.begin());
    SetSysColors(gdi::kSysColorCount, indices.data(), classic.data());

    std::ofstream scenes(folder + "/scenes.bin", std::ios::binary);
    conformance::WriteScenes(scenes, conformance::PrimitiveScenes());
    conformance::WriteScenes(scenes, conformance::LookScenes());
    std::ofstream facts(folder + "/captions.txt");
    for (const std::string& fact : conformance::CaptionFacts()) facts << fact << '\n';
    scenes.close();
    facts.close();
    if (!scenes || !facts) {
        std::fprintf(stderr, "could not write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
