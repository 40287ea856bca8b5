// tvclam FILE [OPTIONS...] /REPORT REPORTFILE: ClamAV behind the scanner
// contract (tvclam.h).

#include <string>
#include <vector>

#include "tools/tvclam/tvclam.h"

int main(int argc, char** argv) {
  return tv::clam::Run(std::vector<std::string>(argv + 1, argv + argc));
}
