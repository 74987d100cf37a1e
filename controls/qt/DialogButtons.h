// The OK and Cancel row under a dialog's fields, named for automation and screen readers.
#pragma once

class QBoxLayout;
class QDialog;
class QDialogButtonBox;

// OK is the default button and calls the dialog's accept (which may refuse), Cancel its reject.
QDialogButtonBox* AddOkCancel(QDialog& dialog, QBoxLayout& layout);
