// dosavo's own help text, shown in the help viewer by F1 and by the menu's
// Help item.
#pragma once

#include <QString>

class QWidget;

namespace trainee {

QString helptitle();
QString helphtml();
// Opens the help viewer with dosavo's help.
QWidget* showdosavohelp(QWidget* parent);
// Makes F1 open the help in a window.
void installdosavohelp(QWidget& window);

}  // namespace trainee
