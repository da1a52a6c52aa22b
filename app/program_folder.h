#pragma once

#include <QString>

namespace app {

// The folder of the program file.
QString ProgramFolder();

// A file that belongs beside the program (help file, donation page,
// "Photos"): the program's folder, or in an installed layout
// <prefix>/share/versanto/ next to it; the first that holds it. When neither
// does, the path in the program's folder.
QString BesideProgram(const QString& name);

}  // namespace app
