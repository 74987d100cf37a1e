// The program's version, shown in the main window's title and by quillet-cli --version, and its
// build number, taken from the change tag the version control stamps into this file.
#pragma once

#include <string>
#include <string_view>

constexpr int QuilletVersionMajor = 3;
constexpr int QuilletVersionMinor = 1;
constexpr std::string_view QuilletChangeTag = "$Change: 1004 $";

inline std::string QuilletVersionText() {
    return std::to_string(QuilletVersionMajor) + "." + std::to_string(QuilletVersionMinor);
}

// The second word of the change tag (words are separated by blanks and '$'), read as a decimal
// number; 0 when the tag holds no such number.
constexpr int QuilletBuild(std::string_view tag = QuilletChangeTag) {
    int word = 0;
    size_t i = 0;
    while (i < tag.size()) {
        while (i < tag.size() && (tag[i] == ' ' || tag[i] == '$'))
            ++i;
        if (i == tag.size()) break;
        if (++word == 2) {
            int n = 0;
            for (; i < tag.size() && tag[i] >= '0' && tag[i] <= '9' && n < 100000000; ++i)
                n = n * 10 + (tag[i] - '0');
            return n;
        }
        while (i < tag.size() && tag[i] != ' ' && tag[i] != '$')
            ++i;
    }
    return 0;
}
