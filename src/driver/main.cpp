#include "driver/run.h"

int main(int argc, char** argv) {
    return penwright_main(argc, argv);
}
