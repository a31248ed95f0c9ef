#pragma once
// Qt's file dialog leaves out the files whose names are not text in the
// system's encoding. In an open dialog a list below the folder's shows them;
// choosing one there (double click, or Enter) accepts the dialog with it.
#include <QString>

class QFileDialog;

namespace mireforge {

void ShowUnlistedNames(QFileDialog& dialog);
// The file chosen in that list, or empty.
QString UnlistedChoice(const QFileDialog& dialog);

}  // namespace mireforge
