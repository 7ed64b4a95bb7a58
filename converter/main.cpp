#include "Trakor.h"

#include <iostream>
#include <unistd.h>

int main()
{
    trakor::CRunOptions options;
    options.progress = isatty(STDERR_FILENO) != 0;
    return trakor::runTrakor(std::cin, std::cout, std::cerr, options);
}
