// KORVANE: a player for car dash-camera video files with their route and G-sensor curves.
#include "app/entry_point.h"

int main(int argc, char** argv) {
  return korvane::RunApplication(argc, argv, [](korvane::ApplicationContext&) { return 0; });
}
