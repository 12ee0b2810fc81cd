#include "cpucheck_runner.h"

#include <iostream>

int main(int argc, char** argv)
{
    return vortastr::cpucheck::runCpuCheck(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
