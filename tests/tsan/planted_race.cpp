// A race planted for ThreadSanitizer to find: two threads write one counter with nothing ordering
// them. Its test passes only when the sanitizer's report of it comes out, which shows the build's
// sanitizer is on and sees races in this project's code.
#include <thread>

namespace {

int counter = 0;

void CountUp() {
  for (int i = 0; i < 1000; ++i) ++counter;
}

}  // namespace

int main() {
  std::thread first(CountUp);
  std::thread second(CountUp);
  first.join();
  second.join();
  return 0;
}
