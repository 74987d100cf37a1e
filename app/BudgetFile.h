// Reading and writing a whole budget file: the stream header and one document.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TQuilletData;
class TPlatformPort;

// The whole content of a file; false with the reason when it cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error);

// The document from the bytes of a budget file; null with the reason in error when the bytes
// are not a readable budget (truncated, malformed, an unknown class, a newer version).
std::unique_ptr<TQuilletData> ReadBudget(const std::vector<uint8_t>& bytes, std::string& error);
std::unique_ptr<TQuilletData> LoadBudgetFile(const std::string& path, std::string& error);

// The bytes of the budget file for doc. Writing clears the document's modified mark.
std::vector<uint8_t> WriteBudget(TQuilletData& doc);
// Writes doc to path through the platform's atomic replacement, so a failure never leaves a
// half-written file behind. False, with the reason, when it could not be written.
bool SaveBudgetFile(TQuilletData& doc, const std::string& path, TPlatformPort& platform,
                    std::string& error);
