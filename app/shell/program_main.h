// The program's entry and its main function: toolkit start, the "TestTool"
// module, the definition files and callback tables, the application object,
// the main window's modal run, and the clean-up after it.
#pragma once

#include <string>
#include <vector>

class dstring;
class GwCore;
struct GwFuncDesc;

// The definition files, in the order they are read.
const std::vector<std::string>& DefinitionFiles();

// The file named on the command line, opened at the end of start-up; empty
// when none was named.
dstring& StartFileText();

// Puts other tables in the place of the program's own for main to register
// (null: the program's own again); for tests of a refused table.
void ReplaceCallbackTables(const std::vector<const GwFuncDesc*>* tables);

// The main window while it exists, else null.
GwCore* MainWindowObject();

// The program's entry over the argument vector the system hands over:
// element 0 becomes the module path, the rest is kept as given (at most the
// vector's room). Returns the exit code.
int WinMain(int argc, char** argv);

// The "TestTool" module: when the definition database names one, it is
// loaded and its "init_test_func" called; a result of 0 unloads it again.
void LoadTestToolModule();

namespace shell {

// Runs the program over the argument vector: 0 after a normal run, 1 when
// start-up failed or an exception ended the run.
int main(int argc, char** argv);

}  // namespace shell
