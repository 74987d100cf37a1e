#include "app/FileLock.h"

#include <cctype>

std::string LockName(const std::string& fullPath) {
    std::string name = fullPath;
    for (char& c : name) {
        if (c == ' ')
            c = '_';
        else if (c == '\\')
            c = '/';
        else
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return name;
}

std::string LockRefusedMessage(const std::string& path) {
    return "File \"" + path +
           "\" is already open in another instance of Quillet. You must first close the file "
           "before opening it again.";
}
