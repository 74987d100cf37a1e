// What the list-bound controls show and hand back, apart from any toolkit: the entry an id combo
// box, id list box or chooser selects for an id, and how a completing edit rewrites what is typed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class TIdObjectList;
class TTarnStringList;

// The 1-based entry of names (taken from list) that an id combo or list box selects for the id
// it is given, or for defaultId when the id is 0; the first entry when both are 0; 0 for none.
uint32_t IdControlPosition(const TIdObjectList& list, const TTarnStringList& names, uint32_t id,
                           uint32_t defaultId);
// The id a combo or list box hands back for the text it shows (read as the control reads it).
uint32_t IdControlId(const TIdObjectList& list, const std::string& text);

// The entry a chooser selects on opening: the current id's, or the first when the id is 0 or
// has no entry; 0 when the list is empty.
uint32_t ChooserPosition(const TIdObjectList& list, const TTarnStringList& names,
                         uint32_t currentId);

// What a completing edit shows after the user changed its text.
struct TCompletedText {
    std::string text;
    size_t caret = 0;
    friend bool operator==(const TCompletedText&, const TCompletedText&) = default;
};
// The text and caret after a change, caret being where the user left it: the entry that
// completes the text before the caret, or the default entry (position 0: none) when nothing
// does or when the caret is at the start. Nothing when there is no entry to show: the typed
// text stays.
std::optional<TCompletedText> CompleteTyped(const TTarnStringList& names, uint32_t defaultPosition,
                                            const std::string& text, size_t caret);
// The entry a string-list control shows for a text given to it: the text's own entry, else the
// default position; 0 for none.
uint32_t StringListPosition(const TTarnStringList& names, uint32_t defaultPosition,
                            const std::string& text);
