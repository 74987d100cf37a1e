// Loading a statement file for the readers.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "import/ImportItem.h"

enum class TStatementFileStatus {
    Read,        // the file was read (it may still hold no transactions)
    Missing,     // no file at that path
    Unreadable,  // not a regular file or an input error
    TooLarge,    // larger than a statement can be (MaxStatementBytes)
};

// A statement larger than this is not one a bank sends (50,000 transactions take some 10 MB);
// refusing it keeps a wrong choice of file from taking the memory of the machine.
constexpr size_t MaxStatementBytes = size_t{64} << 20;

// The whole file as bytes.
TStatementFileStatus LoadStatementBytes(const std::string& path, std::string& bytes,
                                        size_t limit = MaxStatementBytes);

// Load and read; items is left empty unless the status is Read.
// cutShort, when given, tells whether the statement ends in the middle of a transaction.
TStatementFileStatus ReadOfxFile(const std::string& path, std::vector<TImportItem>& items,
                                 bool* cutShort = nullptr);
TStatementFileStatus ReadQifFile(const std::string& path, std::vector<TImportItem>& items,
                                 bool* cutShort = nullptr);
