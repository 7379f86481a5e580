// The Vornik program, leaving as soon as its window has been painted once.
#include "FirstPaintClock.hpp"
#include "app/Startup.hpp"

int main(int argc, char** argv) {
    vornik::StartOptions options;
    options.quitAfterFirstPaint = true;
    options.painted = vornik::bench::PrintFirstPaintTime;
    return vornik::RunVornik(argc, argv, std::move(options));
}
