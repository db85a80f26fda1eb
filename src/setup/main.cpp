// zeltran-setup: makes and checks installations of the player.
//
//   zeltran-setup create DIR
//   zeltran-setup check DIR
#include <cstring>

#include "common/console.hpp"
#include "platform/console_text.hpp"
#include "setup/check.hpp"
#include "setup/create.hpp"

int main(int argc, char** argv) {
    PrepareConsoleText();
    if (argc == 3 && std::strcmp(argv[1], "create") == 0) return CreateInstallation(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "check") == 0) return CheckInstallation(argv[2]);
    PrintError(
        "usage: zeltran-setup create DIR   make an installation (DIR/work, DIR/S001, launcher)\n"
        "       zeltran-setup check DIR    report what the player would find there\n");
    return 2;
}
