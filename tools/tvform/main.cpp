#include <iostream>

#include "tools/tvform/tvform.h"

int main(int argc, char** argv) {
  return tv::tvform::Run(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
