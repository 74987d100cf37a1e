// What a second start of the program hands to the one already running: a statement to import.
// The request travels as one framed message (magic, version, length, execute text) so that the
// running program can refuse anything it does not understand before reading it whole.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The same kinds, in the same order, as the importer's; both headers meet in the program.
enum class TStatementKind { Ofx, Qif };

struct TImportRequest {
    TStatementKind kind = TStatementKind::Ofx;
    std::string path;

    friend bool operator==(const TImportRequest&, const TImportRequest&) = default;
};

// The local-socket name the running program listens on.
inline constexpr const char* InstanceServerName = "Quillet";

// Frame: "QLIM", a version byte, the text length as 32 bits big-endian, the text.
inline constexpr std::string_view InstanceMagic = "QLIM";
inline constexpr uint8_t InstanceVersion = 1;
inline constexpr size_t InstanceHeaderSize = 9;
// Longest execute text taken: a path as long as the system allows, its quotes and the kind.
inline constexpr size_t MaxExecuteText = 4096 + 32;

// The statement kind a command-line path names by its extension (.ofx, .qfx, .qif in any case);
// none for every other path.
std::optional<TStatementKind> StatementKindOf(std::string_view path);

// "OFX \"path\"" or "QIF \"path\"". None when the path cannot be carried (it holds a double
// quote, or is empty or too long).
std::optional<std::string> MakeExecuteText(const TImportRequest& request);
// The kind named before the quoted path and the text between the first two double quotes; none
// when either is missing.
std::optional<TImportRequest> ParseExecuteText(std::string_view text);

// A whole framed message; the text must not exceed MaxExecuteText.
std::string EncodeInstanceMessage(std::string_view text);
// The acknowledgement the running program answers with once it has read a request.
std::string InstanceAcknowledgement();

// Collects one framed message from bytes as they arrive. A wrong magic or version, or a length
// above MaxExecuteText, rejects the message as soon as the header is in, before anything of its
// size is kept. Bytes after a complete message are ignored.
class TInstanceMessageReader {
public:
    enum class TState { NeedMore, Complete, Rejected };

    TState Feed(std::string_view bytes);
    TState State() const { return state; }
    // The execute text once Complete.
    const std::string& Text() const { return text; }

private:
    TState state = TState::NeedMore;
    std::string header;
    uint32_t length = 0;
    std::string text;
};

// One message that arrived whole; none when it is malformed, oversized, short or followed by
// anything.
std::optional<std::string> DecodeInstanceMessage(std::string_view bytes);
