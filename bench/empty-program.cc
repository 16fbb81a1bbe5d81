// The baseline of the whole-process timings: a C++ program that does
// nothing, built twice, once as the shipped programs are and once with the
// default (shared) C++ runtime.
#include <string>

int main(int argc, char **) {
  std::string keep(argc > 5 ? "many" : "few");
  return keep.empty() ? 1 : 0;
}
