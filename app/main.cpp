// The program starts its one window and ends when the window is closed.
#include "app/Startup.hpp"

int main(int argc, char** argv) {
    return vornik::RunVornik(argc, argv);
}
