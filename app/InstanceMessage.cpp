#include "app/InstanceMessage.h"

#include <algorithm>
#include <cctype>

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    return std::equal(suffix.begin(), suffix.end(), text.end() - suffix.size(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) ==
               std::tolower(static_cast<unsigned char>(b));
    });
}

}  // namespace

std::optional<TStatementKind> StatementKindOf(std::string_view path) {
    if (EndsWithNoCase(path, ".ofx") || EndsWithNoCase(path, ".qfx")) return TStatementKind::Ofx;
    if (EndsWithNoCase(path, ".qif")) return TStatementKind::Qif;
    return std::nullopt;
}

std::optional<std::string> MakeExecuteText(const TImportRequest& request) {
    if (request.path.empty() || request.path.find('"') != std::string::npos) return std::nullopt;
    std::string text = request.kind == TStatementKind::Qif ? "QIF" : "OFX";
    text += " \"" + request.path + "\"";
    if (text.size() > MaxExecuteText) return std::nullopt;
    return text;
}

std::optional<TImportRequest> ParseExecuteText(std::string_view text) {
    if (text.size() > MaxExecuteText) text = text.substr(0, MaxExecuteText);
    size_t open = text.find('"');
    if (open == std::string_view::npos) return std::nullopt;
    size_t close = text.find('"', open + 1);
    if (close == std::string_view::npos || close == open + 1) return std::nullopt;
    // The kind is looked for outside the path, whose folders may spell either word.
    std::string_view command = text.substr(0, open);
    TImportRequest request;
    if (command.find("QIF") != std::string_view::npos) {
        request.kind = TStatementKind::Qif;
    } else if (command.find("OFX") != std::string_view::npos) {
        request.kind = TStatementKind::Ofx;
    } else {
        return std::nullopt;
    }
    request.path = std::string(text.substr(open + 1, close - open - 1));
    return request;
}

std::string EncodeInstanceMessage(std::string_view text) {
    const auto length = static_cast<uint32_t>(std::min(text.size(), MaxExecuteText));
    std::string bytes(InstanceMagic);
    bytes += static_cast<char>(InstanceVersion);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>((length >> shift) & 0xFF);
    bytes.append(text.substr(0, length));
    return bytes;
}

std::string InstanceAcknowledgement() {
    return EncodeInstanceMessage("ACK");
}

TInstanceMessageReader::TState TInstanceMessageReader::Feed(std::string_view bytes) {
    if (state != TState::NeedMore) return state;
    if (header.size() < InstanceHeaderSize) {
        const size_t take = std::min(bytes.size(), InstanceHeaderSize - header.size());
        header.append(bytes.substr(0, take));
        bytes.remove_prefix(take);
        if (header.size() < InstanceHeaderSize) {
            // A wrong start is refused at once rather than after the rest of the header.
            const size_t known = std::min(header.size(), InstanceMagic.size());
            if (std::string_view(header).substr(0, known) != InstanceMagic.substr(0, known))
                state = TState::Rejected;
            return state;
        }
        if (std::string_view(header).substr(0, InstanceMagic.size()) != InstanceMagic ||
            static_cast<uint8_t>(header[4]) != InstanceVersion) {
            return state = TState::Rejected;
        }
        length = 0;
        for (size_t i = 5; i < InstanceHeaderSize; ++i)
            length = (length << 8) | static_cast<uint8_t>(header[i]);
        if (length > MaxExecuteText) return state = TState::Rejected;
        text.reserve(length);
    }
    const size_t take = std::min(bytes.size(), static_cast<size_t>(length) - text.size());
    text.append(bytes.substr(0, take));
    if (text.size() == length) state = TState::Complete;
    return state;
}

std::optional<std::string> DecodeInstanceMessage(std::string_view bytes) {
    TInstanceMessageReader reader;
    if (reader.Feed(bytes) != TInstanceMessageReader::TState::Complete) return std::nullopt;
    if (bytes.size() != InstanceHeaderSize + reader.Text().size()) return std::nullopt;
    return reader.Text();
}
