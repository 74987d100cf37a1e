// quillet-cli: the headless face of Quillet. RunQuilletCli only dispatches; each command lives
// in its own file and is listed once in the table below.
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/Registration.h"
#include "app/UpdateCheck.h"
#include "app/Version.h"
#include "cli/CliMain.h"
#include "cli/Commands.h"
#include "cli/ConsoleUI.h"
#include "core/ObjectStream.h"

namespace {

struct TCommand {
    const char* name;
    int (*run)(const TCommandArgs& args);
    const char* arguments;
    const char* summary;
};

constexpr TCommand Commands[] = {
    {"config", RunConfigCommand, "", "print the configuration as JSON, creating it when missing"},
    {"dump", RunDumpCommand, "FILE.qlt", "print the whole budget as JSON"},
    {"convert", RunConvertCommand, "IN.qlt OUT.qlt", "write a budget in the current layout"},
    {"check", RunCheckCommand, "FILE.qlt", "check that the budget is sound"},
    {"new", RunNewCommand, "FILE.qlt (--income A[,B..] | --plan PLANFILE) --account ...",
     "make a new budget; --account \"NAME;KIND;CLOSING-BALANCE;M/D/Y\", repeatable"},
    {"plan", RunPlanCommand, "FILE.qlt [--period NAME]", "print the allocation plan as text"},
    {"demo", RunDemoCommand, "FILE.qlt [--month MM/YYYY]", "write a demo household budget"},
    {"add", RunAddCommand, "FILE.qlt --amount EXPR (--account A --envelope E | ...)",
     "enter one transaction; \"add --help\" lists the forms"},
    {"import", RunImportCommand, "FILE.qlt STATEMENT --account NAME",
     "import a bank statement into an account"},
    {"report", RunReportCommand, "KIND FILE.qlt [OPTIONS]",
     "write a report as its export file; \"report --help\" lists the kinds"},
};

void PrintUsage(std::ostream& os) {
    os << "usage: quillet-cli COMMAND [ARGUMENTS]\n"
          "       quillet-cli --version\n"
          "       quillet-cli --help\n\n"
          "commands:\n";
    for (const TCommand& c : Commands) {
        std::string head = std::string(c.name) + (*c.arguments ? " " : "") + c.arguments;
        os << "  " << head << std::string(head.size() < 24 ? 24 - head.size() : 1, ' ') << c.summary
           << "\n";
    }
}

}  // namespace

int RunQuilletCli(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintUsage(std::cerr);
        return 2;
    }
    const std::string& name = args.front();
    if (name == "--version") {
        std::cout << "quillet-cli " << QuilletVersionText() << " build " << QuilletBuildNumber()
                  << "\n";
        return 0;
    }
    if (name == "--help" || name == "-h" || name == "help") {
        PrintUsage(std::cout);
        return 0;
    }

    TConsoleUI ui(std::cerr);
    UI.Set(&ui);
    RegisterQuilletClasses();
    for (const TCommand& c : Commands) {
        if (name != c.name) continue;
        try {
            return c.run(TCommandArgs(args.begin() + 1, args.end()));
        } catch (const std::exception& e) {
            // Unreadable files and programming errors arrive here as exceptions.
            std::cerr << "quillet-cli " << c.name << ": " << e.what() << "\n";
            return 1;
        }
    }
    std::cerr << "quillet-cli: unknown command '" << name << "'\n\n";
    PrintUsage(std::cerr);
    return 2;
}
