// The picture of each command of the menus and the control bar, from the embedded artwork.
#pragma once

#include <QIcon>
#include <QString>

// ":/icons/<name>.svg" for a command that has a picture; empty for any other id.
QString CommandIconFile(int commandId);
// The picture as an icon; a null icon for a command without one.
QIcon CommandIcon(int commandId);
