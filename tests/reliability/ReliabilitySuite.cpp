// Damaged input through every console command, kills in the middle of a save and two writers at
// once. Each command runs in a process of its own, forked from the suite (the console program's
// commands are linked in, so a case costs no program start), with a time and memory limit; a run
// fails the suite when it is killed by a signal, overruns its limits, answers with an unknown
// status, changes its input when it fails, or leaves a file behind.
//
// usage: quillet_reliability [CASES-PER-LOOP]
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/FileLock.h"
#include "cli/CliMain.h"
#include "platform/FileLock.h"

namespace fs = std::filesystem;
using Bytes = std::string;

namespace {

constexpr auto TimeLimit = std::chrono::seconds(10);
constexpr rlim_t MemoryLimit = rlim_t{1} << 30;  // address space, generous for a sanitiser-free run

fs::path root;
int failures = 0;
std::mt19937 random{20261206};

Bytes ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const fs::path& p, const Bytes& b) {
    std::ofstream(p, std::ios::binary | std::ios::trunc).write(b.data(), b.size());
}

struct TRun {
    int status = -1;  // exit status, or -1 when killed by a signal
    int signal = 0;
    bool overran = false;
};

pid_t Start(const std::vector<std::string>& args) {
    // Whatever the suite has buffered would otherwise be written again by the child.
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid != 0) return pid;
    rlimit memory{MemoryLimit, MemoryLimit};
    setrlimit(RLIMIT_AS, &memory);
    rlimit core{0, 0};
    setrlimit(RLIMIT_CORE, &core);
    int null = open("/dev/null", O_WRONLY);
    dup2(null, 1);
    dup2(null, 2);
    setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
    setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (root / "run").c_str(), 1);
    std::string name = "quillet-cli";
    std::vector<char*> argv{name.data()};
    std::vector<std::string> copy = args;
    for (std::string& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    int status = RunQuilletCli(static_cast<int>(argv.size() - 1), argv.data());
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    _exit(status);  // the suite's own exit handlers belong to the suite
}

TRun Wait(pid_t pid) {
    TRun run;
    auto deadline = std::chrono::steady_clock::now() + TimeLimit;
    int wstatus = 0;
    while (waitpid(pid, &wstatus, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            run.overran = true;
            kill(pid, SIGKILL);
            waitpid(pid, &wstatus, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    if (WIFEXITED(wstatus)) run.status = WEXITSTATUS(wstatus);
    if (WIFSIGNALED(wstatus)) run.signal = WTERMSIG(wstatus);
    return run;
}

TRun Run(const std::vector<std::string>& args) {
    return Wait(Start(args));
}

void Fail(const std::string& what, const std::vector<std::string>& args, const fs::path& keep) {
    if (++failures <= 20) {
        std::cerr << "FAIL: " << what << ":";
        for (const std::string& a : args)
            std::cerr << " " << a;
        std::cerr << "\n";
        if (!keep.empty()) {
            fs::path saved = fs::path("reliability-failures") / std::to_string(failures);
            std::error_code ec;
            fs::create_directories(saved, ec);
            fs::copy(keep, saved / keep.filename(), ec);
            std::cerr << "      input kept as " << (saved / keep.filename()).string() << "\n";
        }
    }
}

std::set<std::string> Listing(const fs::path& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& e : fs::directory_iterator(folder))
        names.insert(e.path().filename().string());
    return names;
}

// Runs one command over a damaged input and judges it. writes: the input is the file written.
void Case(const std::vector<std::string>& args, const fs::path& input, bool writes,
          const std::set<int>& statuses = {0, 1, 2}) {
    Bytes before = ReadFile(input);
    std::set<std::string> listed = Listing(input.parent_path());
    TRun run = Run(args);
    if (run.overran)
        Fail("hang", args, input);
    else if (run.signal)
        Fail("signal " + std::to_string(run.signal), args, input);
    else if (!statuses.count(run.status))
        Fail("status " + std::to_string(run.status), args, input);
    else if (writes && run.status != 0 && ReadFile(input) != before)
        Fail("failed but changed its input", args, input);
    std::set<std::string> after = Listing(input.parent_path());
    for (const std::string& name : after)
        if (!listed.count(name) && name != "out.qlt") Fail("stray file " + name, args, input);
}

// One damage of the given bytes: truncation, a random byte, a word set to a telling value.
Bytes Damage(const Bytes& good, int kind) {
    Bytes b = good;
    if (b.size() < 8) return b;
    std::uniform_int_distribution<size_t> at(0, b.size() - 4);
    size_t where = at(random);
    switch (kind % 4) {
        case 0:
            b.resize(where);
            break;
        case 1:
            b[where] = static_cast<char>(random());
            break;
        case 2: {
            static const uint32_t words[] = {0, 0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x00FFFFFFu};
            uint32_t w = words[random() % 5];
            for (int k = 0; k < 4; ++k)
                b[where + k] = static_cast<char>(w >> (8 * k));
            break;
        }
        default:
            for (int k = 0; k < 3; ++k)
                b[at(random)] ^= static_cast<char>(1u << (random() % 8));
    }
    return b;
}

void BudgetLoop(const Bytes& demo, int cases) {
    fs::path dir = root / "budget";
    fs::create_directories(dir);
    fs::path budget = dir / "damaged.qlt", statement = root / "statement.qif";
    for (int n = 0; n < cases; ++n) {
        Bytes damaged = Damage(demo, n);
        const char* commands[] = {"check", "dump", "convert", "import", "report"};
        const char* command = commands[n % 5];
        WriteFile(budget, damaged);
        std::vector<std::string> args{command, budget.string()};
        bool writes = false;
        if (std::string(command) == "convert") {
            args.push_back((dir / "out.qlt").string());
        } else if (std::string(command) == "import") {
            args.insert(args.end(), {statement.string(), "--account", "Checking"});
            writes = true;
        } else if (std::string(command) == "report") {
            args = {"report", "envelope-summary", budget.string()};
        }
        Case(args, budget, writes);
        fs::remove(dir / "out.qlt");
    }
}

void StatementLoop(const Bytes& demo, const Bytes& statement, int cases) {
    fs::path dir = root / "statement";
    fs::create_directories(dir);
    fs::path budget = dir / "budget.qlt";
    for (int n = 0; n < cases; ++n) {
        bool qif = n % 2 == 0;
        fs::path file = dir / (qif ? "s.qif" : "s.ofx");
        Bytes text = qif ? statement
                         : "<OFX><STMTTRN><DTPOSTED>20260301<TRNAMT>-12.50<NAME>Shop</STMTTRN>"
                           "<STMTTRN><DTPOSTED>20260302<TRNAMT>21474836.47<NAME>Big</STMTTRN>"
                           "</OFX>";
        WriteFile(file, Damage(text, n / 2));
        WriteFile(budget, demo);
        Case({"import", budget.string(), file.string(), "--account", "Checking"}, budget, true);
        fs::remove(file);
    }
}

void ConfigLoop(int cases) {
    fs::path config = root / "config" / "Quillet" / "Quillet.cfg";
    fs::remove(config);
    Run({"config"});
    Bytes good = ReadFile(config);
    if (good.empty()) return Fail("no configuration written", {"config"}, {});
    for (int n = 0; n < cases; ++n) {
        WriteFile(config, Damage(good, n));
        fs::remove(config.string() + ".bad");
        TRun run = Run({"config"});
        if (run.overran || run.signal || run.status != 0) Fail("config", {"config"}, config);
    }
}

// Kills an import at random moments; the budget must stay whole and nothing may be left behind
// but, when the kill falls between naming the finished copy and renaming it over the budget, that
// copy: whole as well, and removed by a later save once it is stale (here, at once, so that each
// case starts alone).
void KillLoop(const Bytes& demo, int cases) {
    fs::path dir = root / "kill";
    fs::create_directories(dir);
    fs::path budget = dir / "budget.qlt", statement = root / "large.qif";
    Bytes qif = "!Type:Bank\n";
    for (int i = 0; i < 3000; ++i)
        qif += "D3/" + std::to_string(i % 28 + 1) + "/2026\nT-" + std::to_string(i % 997 + 1) +
               ".25\nPPayee " + std::to_string(i) + "\n^\n";
    WriteFile(statement, qif);
    WriteFile(budget, demo);
    auto start = std::chrono::steady_clock::now();
    Run({"import", budget.string(), statement.string(), "--account", "Checking", "--all"});
    auto whole = std::chrono::steady_clock::now() - start;
    for (int n = 0; n < cases; ++n) {
        WriteFile(budget, demo);
        std::uniform_int_distribution<long> when(
            0, std::chrono::duration_cast<std::chrono::microseconds>(whole).count());
        pid_t pid = Start(
            {"import", budget.string(), statement.string(), "--account", "Checking", "--all"});
        std::this_thread::sleep_for(std::chrono::microseconds(when(random)));
        kill(pid, SIGKILL);
        Wait(pid);
        std::vector<std::string> check{"check", budget.string()};
        TRun after = Run(check);
        if (after.status != 0) Fail("budget not whole after a kill", check, budget);
        std::set<std::string> left = Listing(dir);
        left.erase(budget.filename().string());
        const std::string copy = "." + budget.filename().string() + ".";
        for (const std::string& name : left) {
            std::vector<std::string> checkCopy{"check", (dir / name).string()};
            bool named = name.size() == copy.size() + 6 && name.compare(0, copy.size(), copy) == 0;
            if (!named || Run(checkCopy).status != 0)
                Fail("stray file after a kill: " + name, checkCopy, {});
            fs::remove(dir / name);
        }
    }
}

// Whether some process holds a lock on the file, read from the kernel's table so that looking
// never takes the lock itself.
bool Held(const fs::path& lockFile) {
    struct stat st {};
    if (stat(lockFile.c_str(), &st) != 0) return false;
    std::ifstream locks("/proc/locks");
    std::string needle = ":" + std::to_string(st.st_ino) + " ";
    for (std::string line; std::getline(locks, line);)
        if (line.find("FLOCK") != std::string::npos && line.find(needle) != std::string::npos)
            return true;
    return false;
}

// A second writer while the first holds the budget is refused, and the first one's work stays.
void TwoWriters(const Bytes& demo, int cases) {
    fs::path dir = root / "writers";
    fs::create_directories(dir);
    fs::path budget = dir / "budget.qlt";
    TLinuxFileLocks locks((root / "run" / "quillet").string());
    fs::path lockFile = locks.LockFilePath(LockName(locks.FullPath(budget.string())));
    int overlapped = 0;
    for (int n = 0; n < cases; ++n) {
        WriteFile(budget, demo);
        std::vector<std::string> args{"import",    budget.string(), (root / "large.qif").string(),
                                      "--account", "Checking",      "--all"};
        pid_t first = Start(args);
        auto deadline = std::chrono::steady_clock::now() + TimeLimit;
        while (!Held(lockFile) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        std::vector<std::string> second{"convert", (root / "budget" / "demo.qlt").string(),
                                        budget.string()};
        TRun b = Run(second);
        bool stillRunning = waitpid(first, nullptr, WNOHANG) == 0;
        TRun a = Wait(first);
        if (a.status != 0) Fail("first writer: status " + std::to_string(a.status), args, {});
        if (!stillRunning) continue;  // they did not overlap: both may win
        ++overlapped;
        if (b.status != 1) Fail("second writer not refused", second, {});
        if (ReadFile(budget).size() <= demo.size()) Fail("first writer's work lost", args, {});
    }
    if (overlapped == 0) Fail("two writers never overlapped", {}, {});
}

}  // namespace

int main(int argc, char** argv) {
    int cases = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (cases <= 0) {
        std::cerr << "usage: quillet_reliability [CASES-PER-LOOP]\n";
        return 2;
    }
    // Every case saves with a flush to the disk; in memory (when the machine has /dev/shm) the
    // thousands of cases take seconds instead of minutes, and the saving code is the same.
    std::error_code shm;
    fs::path base = fs::is_directory("/dev/shm", shm) && access("/dev/shm", W_OK) == 0
                        ? fs::path("/dev/shm")
                        : fs::temp_directory_path();
    root = base / ("quillet-reliability-" + std::to_string(getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "budget");
    fs::create_directories(root / "run");

    fs::path demoPath = root / "budget" / "demo.qlt";
    if (Run({"demo", demoPath.string()}).status != 0) {
        std::cerr << "FAIL: the demo budget could not be written\n";
        return 1;
    }
    Bytes demo = ReadFile(demoPath);
    Bytes statement =
        "!Type:Bank\nD3/20/2026\nT-42.10\nPGreenleaf Market\n^\nD3/21/2026\nT1,200.00\nPPayroll\n"
        "^\nD3/22/2026\nT-7.5\nN1003\nPCorner Shop\n^\n";
    WriteFile(root / "statement.qif", statement);

    auto timed = [](const char* name, auto loop) {
        auto start = std::chrono::steady_clock::now();
        loop();
        auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                      std::chrono::steady_clock::now() - start)
                      .count();
        std::cout << name << ": " << ms << " ms\n";
    };
    timed("damaged budgets", [&] { BudgetLoop(demo, cases * 2); });
    timed("damaged statements", [&] { StatementLoop(demo, statement, cases); });
    timed("damaged configurations", [&] { ConfigLoop(cases / 2); });
    timed("kills during import", [&] { KillLoop(demo, std::max(cases / 20, 5)); });
    timed("two writers", [&] { TwoWriters(demo, std::max(cases / 40, 3)); });

    fs::remove_all(root);
    std::cout << (failures ? "FAILED: " + std::to_string(failures) + " case(s)\n" : "all sound\n");
    return failures ? 1 : 0;
}
