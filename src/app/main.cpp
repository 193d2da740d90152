// tessaroc: the table client. The hall starts it with its command line as the
// first argument (a hall that splits the line into several arguments is
// joined again with one blank between them); it ends with the exit code of
// its ending (core/ExitCodes.h, listed in the README).

#include "app/RunClient.h"

int main(int argc, char **argv)
{
    return tessaroc::app::RunClient(argc, argv, {});
}
