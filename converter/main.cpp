#include "Trakor.h"

#include <iostream>
#include <unistd.h>

int main()
{
    trakor::CRunOptions options;
    options.m_Progress = isatty(STDERR_FILENO) != 0;
    return trakor::RunTrakor(std::cin, std::cout, std::cerr, options);
}
