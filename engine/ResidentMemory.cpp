#include "engine/ResidentMemory.h"

#include <unistd.h>

#include <cstdio>

double ResidentMegabytes() {
    long pages = 0;
    if (FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%*d %ld", &pages) != 1) pages = 0;
        std::fclose(f);
    }
    return static_cast<double>(pages) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}
