#include "app/vaskinterface.h"

int main(int argc, char* argv[]) {
    return vaskinterfaceMain(argc, argv);
}
