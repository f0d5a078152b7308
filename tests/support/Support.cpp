#define DOCTEST_CONFIG_IMPLEMENT
#include <doctest/doctest.h>

#include <cstdlib>

// tools/mutate sets KRV_FIRST_FAILURE_ENDS: a fault counts as caught at its first failure, and the rest of a
// suite need not wait out its bounds.
int main(int argc, char** argv)
{
    doctest::Context context(argc, argv);
    if (std::getenv("KRV_FIRST_FAILURE_ENDS") != nullptr)
        context.setOption("abort-after", 1);
    return context.run();
}
