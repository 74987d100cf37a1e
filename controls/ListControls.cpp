#include "controls/ListControls.h"

#include <algorithm>

#include "core/IdObjectList.h"
#include "core/TarnStringList.h"

namespace {

// The controls read their text through a buffer of this size.
constexpr size_t TextReadLimit = 1023;

}  // namespace

uint32_t IdControlPosition(const TIdObjectList& list, const TTarnStringList& names, uint32_t id,
                           uint32_t defaultId) {
    const uint32_t shown = id != 0 ? id : defaultId;
    if (shown != 0) return names.Find(list.GetName(shown));
    return names.Count() != 0 ? 1 : 0;
}

uint32_t IdControlId(const TIdObjectList& list, const std::string& text) {
    return list.FindId(text.substr(0, TextReadLimit));
}

uint32_t ChooserPosition(const TIdObjectList& list, const TTarnStringList& names,
                         uint32_t currentId) {
    if (names.Count() == 0) return 0;
    const uint32_t position = currentId != 0 ? names.Find(list.GetName(currentId)) : 0;
    return position != 0 ? position : 1;
}

std::optional<TCompletedText> CompleteTyped(const TTarnStringList& names, uint32_t defaultPosition,
                                            const std::string& text, size_t caret) {
    if (caret > text.size()) caret = text.size();
    TCompletion found;
    if (caret != 0 || defaultPosition == 0) found = names.Complete(text.substr(0, caret));
    const uint32_t position = found.position != 0 ? found.position : defaultPosition;
    if (position == 0 || position > names.Count()) return std::nullopt;
    const std::string& entry = names.GetAt(position);
    return TCompletedText{entry, found.position != 0 ? std::min(found.length, entry.size()) : 0};
}

uint32_t StringListPosition(const TTarnStringList& names, uint32_t defaultPosition,
                            const std::string& text) {
    const uint32_t position = names.Find(text);
    return position != 0 ? position : defaultPosition;
}
