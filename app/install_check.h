#pragma once

class QTextStream;

namespace app {

// "versanto --check-install" tells, for every file and folder the build
// places beside the program and for Qt's Italian texts, where the program
// finds them, then ends: 0 when all are there, 1 when something is missing.
// It makes no window and needs no display, so packagers and the install
// tests can run it anywhere.
inline constexpr char kCheckInstallOption[] = "--check-install";

bool IsInstallCheck(int argc, char** argv);

// Runs the check with an application object of its own; output to stdout.
int CheckInstall(int& argc, char** argv);

// The check itself, for a process that already has an application object.
int CheckInstall(QTextStream& out);

}  // namespace app
