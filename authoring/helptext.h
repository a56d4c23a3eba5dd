// quizwright's own help text, shown in the help viewer by F1 in every
// window of the tool.
#pragma once

#include <QString>

class QWidget;

namespace authoring {

QString helptitle();
QString helphtml();
// Opens the help viewer with quizwright's help.
QWidget* showquizwrighthelp(QWidget* parent);
// Makes F1 open the help in a window.
void installquizwrighthelp(QWidget& window);

}  // namespace authoring
