#include "ui/Programmer.h"

int main(int argc, char** argv) {
    return rtw::ui::runProgrammer(argc, argv);
}
