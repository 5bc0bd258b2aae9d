#pragma once

// Runs, in place of this process, the program of this name that lies beside the running one's
// real file (links followed), with these arguments; `arguments[0]` is replaced by its path.
// Returns only when it could not: then it has said why on standard error.
void runProgramBeside(const char* name, char** arguments);
