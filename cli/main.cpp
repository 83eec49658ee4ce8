#include "cli/quorvel.h"

int main(int argc, char* argv[]) {
    return quorvelMain(argc, argv);
}
