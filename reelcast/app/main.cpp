#include <iostream>

#include "app/cli.h"

int main(int argc, char** argv) { return reelcast::runCli(argc, argv, std::cout, std::cerr); }
