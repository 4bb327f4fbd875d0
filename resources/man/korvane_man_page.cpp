// korvane-man-page HELP_FILE VERSION OUTPUT: writes the korvane(1) page at build time from the
// program's --help text (in HELP_FILE) and its key table.
#include <fstream>
#include <iostream>
#include <sstream>

#include "man_page.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: korvane-man-page HELP_FILE VERSION OUTPUT\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  std::stringstream help;
  help << in.rdbuf();
  const std::string page = korvane::ManPage(help.str(), argv[2]);
  if (!in || page.empty()) {
    std::cerr << "korvane-man-page: no help text in " << argv[1]
              << ", or a key of the key table has no name in the page\n";
    return 1;
  }
  std::ofstream out(argv[3]);
  out << page;
  return out.flush() ? 0 : 1;
}
