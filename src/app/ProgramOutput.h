#pragma once

#include <QByteArray>

// What the program itself says on its terminal, kept apart from what libraries print: the
// standard output and error the program started with, on descriptors of their own. A library
// whose lines are routed elsewhere for a while (libmtp's, into the diagnostics log) then never
// takes the program's own lines with it.
namespace ProgramOutput {

// Keeps the standard output and error as they are now; first thing in main, before any thread.
void keep();
// Writes aText whole to the kept standard output or error (the plain ones before keep()).
void out(const QByteArray& aText);
void err(const QByteArray& aText);
// The kept descriptors (1 and 2 before keep()).
int outFd();
int errFd();

} // namespace ProgramOutput
