// One source, two programs: the build chooses which one this is.
#include "app/ProcessEntry.h"

int main(int argc, char** argv) { return runWindowProgram(argc, argv, services::BuildVariant::TARVEX_BUILD_VARIANT); }
