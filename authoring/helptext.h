// quizwright's own help text, shown in the help viewer by F1 in every
// window of the tool, at the section about that window.
#pragma once

#include <QString>

class QWidget;

namespace authoring {

QString helptitle();
QString helphtml();
// Makes F1 open the help in a window, at the window's own section ("start",
// "editor", "creating", "files", "description", "drugs", "questions",
// "settings"; none: the beginning).
void installquizwrighthelp(QWidget& window, const QString& section = {});

}  // namespace authoring
