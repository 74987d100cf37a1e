// The spine's file choosers on QFileDialog.
#pragma once

#include <QString>
#include <string>

#include "app/ShellPorts.h"

class QWidget;

// "Caption|*.a|All Files|*.*|" as QFileDialog filters: "Caption (*.a)" and "All Files (*)".
QString FileDialogFilters(const std::string& filter);
// The folder a chooser starts in: the given one when it exists, else ~/Documents/Quillet when
// that exists, else empty (the toolkit's choice).
QString FileDialogStartFolder(const std::string& startFolder);

class TQtFileDialogs : public TFileDialogPort {
public:
    explicit TQtFileDialogs(QWidget* parent = nullptr) : parent(parent) {}

    bool ChooseOpenFile(const std::string& title, const std::string& filter,
                        const std::string& startFolder, std::string& path) override;
    bool ChooseSaveFile(const std::string& title, const std::string& filter,
                        const std::string& defaultExtension, const std::string& proposed,
                        std::string& path) override;

private:
    QWidget* parent;
};
