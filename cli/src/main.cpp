// tarvex: encrypts and decrypts files as the window programs do, and repairs
// what an interrupted run left, from a command line.
#include "Options.h"
#include "RepairCommand.h"
#include "TransformCommand.h"

#include "manual/Manuals.h"

#include "services/VariantTable.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    // The arguments stay the bytes the shell passed: a file name need not be
    // valid text.
    const std::vector<std::string> arguments(argv + std::min(argc, 1), argv + argc);
    const cli::ParsedOptions parsed = cli::parseOptions(arguments);
    if (!parsed.options) {
        std::cerr << "tarvex: " << parsed.problem << "\nTry 'tarvex --help'.\n";
        return 2;
    }
    const cli::Options& options = *parsed.options;
    switch (options.action) {
    case cli::Action::Help: std::cout << manual::usageText(manual::Program::Tarvex); return 0;
    case cli::Action::Version:
        std::cout << "tarvex " << services::variantTexts(services::BuildVariant::Encrypt).fileVersion << '\n';
        return 0;
    case cli::Action::Repair: return cli::runRepair(options);
    case cli::Action::Encrypt:
    case cli::Action::Decrypt: break;
    }
    return cli::runTransform(options);
}
