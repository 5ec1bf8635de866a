#include "cli/cli.h"

int main(int argc, char** argv) {
  return zorvane::cli::RunCliMain(argc, argv);
}
