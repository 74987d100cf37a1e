// The printed forms' field numbers and the geometry of each envelope summary size, shared by the
// reports that fill the forms and the form templates in resources/forms (logical units of 300 to
// the inch; a portrait US Letter sheet is 2550 x 3300, a landscape one 3300 x 2550).
#pragma once

#include <array>
#include <cstdint>

// Fields of form 100, and of form 161 which adds its right-hand table after them.
enum TFormField : int {
    FormBodyField = 1,    // the body table (231,247)-(2428,3079); on 161 the left table
    FormTitleField = 2,   // the title line (231,137)-(2428,225)
    FormFooterField = 3,  // the footer line (920,3144)-(2428,3194)
    FormMarkField1 = 4,   // two small marks at the foot, left of the footer
    FormMarkField2 = 5,
    FormRightBodyField = 6,  // 161 only: the right table (1345,247)-(2428,3079)
};

constexpr uint16_t FormStandard = 100;

// One size of the envelope summary ("Report  &Size", ids 1 to 6 in list order). Each column is a
// table field: a table of the standard page, a card or an organizer page. The report fills the
// columns in order, `rows` table rows each; with `header` the first row of every column is the
// header line, so a column holds rows - 1 envelopes. Fields of the form that are not listed in
// `fields` are frames the report leaves out (type 64), except the title and footer of the
// standard size.
struct TFormSize {
    int id;
    const char* name;
    uint16_t resource;
    int pageWidthMm;
    int pageHeightMm;
    int rows;
    int columns;
    bool header;
    std::array<uint8_t, 12> fields;  // the table field of each column, in filling order
};

inline constexpr std::array<TFormSize, 6> FormSizes{{
    // Two tables side by side under the title, 48 rows of 59 units.
    {1, "Standard", 161, 216, 279, 48, 2, true, {1, 6}},
    // Twelve 3.5 x 1.75 inch cards, two across and six down; a table inset 0.15 inch in each,
    // 8 rows of 54 units.
    {2, "Business Cards", 4, 216, 279, 8, 12, false, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
    // Ten pre-cut 3.5 x 2 inch cards (two across, five down, 0.5 inch top and 0.75 inch side
    // margins); each card is an outer box (odd fields, left out) and an inner table (even
    // fields) inset 0.15 inch, 9 rows of 56 units.
    {3,
     "Business Cards (Avery)",
     155,
     216,
     279,
     9,
     10,
     false,
     {2, 4, 6, 8, 10, 12, 14, 16, 18, 20}},
    // Two 3.75 x 6.75 inch pages side by side on a landscape sheet, 36 rows of 52 units each.
    {4, "Organizer 3.75 x 6.75", 152, 279, 216, 36, 2, true, {1, 2}},
    // One 4.25 x 6.75 inch page centred on the sheet, 36 rows of 52 units.
    {5, "Organizer 4.25 x 6.75", 154, 216, 279, 36, 1, true, {1}},
    // One 5.5 x 8.5 inch page centred on the sheet, 45 rows of 52 units.
    {6, "Organizer 5.50 x 8.50", 163, 216, 279, 45, 1, true, {1}},
}};

// The size with this id, or null.
constexpr const TFormSize* FindFormSize(int id) {
    for (const TFormSize& size : FormSizes) {
        if (size.id == id) return &size;
    }
    return nullptr;
}
