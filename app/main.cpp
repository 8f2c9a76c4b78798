#include "app/Application.h"

int main(int argc, char** argv)
{
    return CApplication::Init(argc, argv);
}
