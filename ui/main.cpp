#include "application.h"

int main(int argc, char **argv)
{
    return lanceSolvarin(argc, argv);
}
