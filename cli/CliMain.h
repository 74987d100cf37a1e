// The console program's entry: runs one command line (argv[0] is the program's name) and answers
// its exit status. The reliability suite runs it in forked processes, without a new program
// start for each case.
#pragma once

int RunQuilletCli(int argc, char** argv);
