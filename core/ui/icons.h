// The two programs' icons, drawn in code: the window icon of every window of
// a program, and the pictures its desktop entry shows.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace ui {

enum class Program { dosavo, quizwright };

// The program's icon at every size a desktop asks for (16 to 256 pixels).
QIcon programicon(Program program);
// The icon drawn at one size, in pixels.
QPixmap programpicture(Program program, int size);
// The name of the program's icon and desktop entry: "dosavo", "quizwright".
const char* programname(Program program);

}  // namespace ui
