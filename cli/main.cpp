#include "cli/console.h"
#include "cli/quorvel.h"

int main(int argc, char* argv[]) {
    KeepStandardStreamsClosed();
    return quorvelMain(argc, argv);
}
