#include <benchmark/benchmark.h>

#include <QCoreApplication>

// The main() of every benchmark program that needs nothing more than an event loop; a program
// with its own main() does not pull this one in.
int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
