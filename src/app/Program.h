#pragma once
// The program block: splash, application title, the long-lived windows, the message loop.

// Registers every form and control class the descriptions name (and the embedded images); the
// program and the tools call it before any form is made.
void RegisterAppClasses();
// Brings the application up and runs it until the main window closes; the exit code.
int RunProgram(int argc, char** argv);
