// tavrin-cli: the scriptable tool over the core. JSON on stdout; a failure
// prints the system's message on stderr and exits 1; a usage error exits 2.
#include <iostream>

#include "cli/commands.h"

int main(int argc, char** argv) { return tavrin::cli::run(argc, argv, std::cin, std::cout, std::cerr); }
