#include "shell/startup.hpp"

int main(int argc, char** argv) {
    return ZeltranMain(argc, argv);
}
