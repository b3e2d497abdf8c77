#include "application.h"

int main(int argc, char* argv[])
{
    return zarn::qt::runZarn(argc, argv);
}
