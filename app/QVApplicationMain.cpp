#include <cstdio>

// Starts the tray application. (The application shell replaces this.)
int runApplication(int, char**)
{
    std::fprintf(stderr, "voltara: the tray application is not built yet; try 'voltara status'\n");
    return 2;
}
