#include "cli/CliMain.h"
#include "platform/Platform.h"

int main(int argc, char** argv) {
    InstallLargeBlockMemory();
    return RunQuilletCli(argc, argv);
}
