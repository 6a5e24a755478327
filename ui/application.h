#pragma once

// Runs Solvarin: the settings beside the program, its message boxes, its look, and the main window
// until it is closed. Returns the program's exit code.
int lanceSolvarin(int argc, char **argv);
