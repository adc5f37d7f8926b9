#include <iostream>

#include "FolioApp.h"

int main(int argc, char** argv) { return FolioCli::RunFolio(argc, argv, std::cout, std::cerr); }
