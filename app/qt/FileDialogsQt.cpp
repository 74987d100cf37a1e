#include "app/qt/FileDialogsQt.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QStandardPaths>

#include "app/qt/QtUIPort.h"

QString FileDialogFilters(const std::string& filter) {
    const QStringList parts = FromWindows1252(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty()) continue;
        // "*.*" means every file, which on this system includes names without a dot.
        QString patterns = parts[i + 1];
        patterns.replace(';', ' ');
        if (patterns == "*.*") patterns = "*";
        filters << QString("%1 (%2)").arg(parts[i], patterns);
    }
    return filters.join(";;");
}

QString FileDialogStartFolder(const std::string& startFolder) {
    const QString given = QFile::decodeName(startFolder.c_str());
    if (!given.isEmpty() && QDir(given).exists()) return given;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString ours = QDir(documents).filePath("Quillet");
    return !documents.isEmpty() && QDir(ours).exists() ? ours : QString();
}

bool TQtFileDialogs::ChooseOpenFile(const std::string& title, const std::string& filter,
                                    const std::string& startFolder, std::string& path) {
    QFileDialog dialog(parent, FromWindows1252(title), FileDialogStartFolder(startFolder),
                       FileDialogFilters(filter));
    dialog.setObjectName("openFileDialog");
    dialog.setAccessibleName(dialog.windowTitle());
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
    return true;
}

bool TQtFileDialogs::ChooseSaveFile(const std::string& title, const std::string& filter,
                                    const std::string& defaultExtension,
                                    const std::string& proposed, std::string& path) {
    QFileDialog dialog(parent, FromWindows1252(title), QString(), FileDialogFilters(filter));
    dialog.setObjectName("saveFileDialog");
    dialog.setAccessibleName(dialog.windowTitle());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    if (!proposed.empty()) dialog.selectFile(QFile::decodeName(proposed.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
    return true;
}
