// The editor program; everything is built by the shell's composition root.
#include "shell/application.h"

int main(int argc, char** argv) {
    return fw::RunFormwright(argc, argv);
}
